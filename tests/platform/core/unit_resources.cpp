// Where language libraries are looked for, and the resource script's syntax.
// That lookups go through the current satellite and back to the program's
// own resources once it is freed, the contact dialogs' and main frame's
// tests see in Spanish and Chinese.
#include "platform/core/Resources.h"
#include "platform/core/System.h"
#include "tests/common/Files.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace ce;

namespace {

TEST(Resources, LibrariesComeFromTheProgramAndDataFoldersNeverFromTheCurrentOne)
{
    TempDir cwd;
    const std::string name = "Contacts.exe.7ffe.mui";
    ASSERT_TRUE(WriteHostFile(cwd.File(name), "STRINGTABLE BEGIN 1 \"from cwd\" END\n"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    EXPECT_EQ(LoadLibraryW(u"Contacts.exe.7ffe.mui"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    std::filesystem::current_path(before);

    const std::string beside = std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
    ASSERT_TRUE(WriteHostFile(beside, "STRINGTABLE BEGIN 1 \"beside the program\" END\n"));
    HMODULE module = LoadLibraryW(u"Contacts.exe.7ffe.mui");
    std::filesystem::remove(beside);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(*ModuleResources(module).FindString(1), u"beside the program");
    EXPECT_EQ(FreeLibrary(module), TRUE);

    // The data folder of an installation lies beside the program's folder,
    // whatever the prefix: <prefix>/bin/contacts, <prefix>/share/contacts.
    const std::filesystem::path data =
        std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "share/contacts";
    std::filesystem::create_directories(data);
    ASSERT_TRUE(WriteHostFile(data / name, "STRINGTABLE BEGIN 1 \"installed\" END\n"));
    module = LoadLibraryW(u"Contacts.exe.7ffe.mui");
    std::filesystem::remove_all(data.parent_path());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(*ModuleResources(module).FindString(1), u"installed");
    EXPECT_EQ(FreeLibrary(module), TRUE);
}

TEST(ResourceScriptSyntax, AcceptsTheClassicFormsAndNamesTheLineOfAnError)
{
    std::string error;
    auto script = ResourceScript::Parse(R"(/* block
   comment */
STRINGTABLE DISCARDABLE
{
    0x10, "say ""hi""\t\x4E2D"   // hex id, quote, escapes
}
9 DIALOG -1, 2, 30, 40
STYLE WS_CHILD | WS_VISIBLE | NOT WS_VISIBLE | 0x4
BEGIN
    CONTROL "t", -1, "button", BS_OWNERDRAW | WS_TABSTOP, 1, 2, 3, 4, WS_EX_STATICEDGE
END
5 BITMAP MOVEABLE PURE BEGIN '42 4d' '0A' END
)", &error);
    ASSERT_TRUE(script) << error;
    EXPECT_EQ(*script->FindString(16), u"say \"hi\"\t\u4E2D");
    const DialogTemplate* dlg = script->FindDialog(9);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->style, 0x40000004u);
    ASSERT_EQ(dlg->controls.size(), 1u);
    EXPECT_EQ(dlg->controls[0].id, 0xFFFFu);
    EXPECT_EQ(dlg->controls[0].style, 0x1000Bu);
    EXPECT_EQ(dlg->controls[0].exStyle, 0x20000u);
    EXPECT_EQ(*script->FindBitmap(5), (std::vector<BYTE>{0x42, 0x4d, 0x0a}));

    EXPECT_EQ(ResourceScript::Parse("STRINGTABLE BEGIN\n 1 \"open\nEND", &error), nullptr);
    EXPECT_EQ(error, "line 2: unterminated string");
    for (const char* broken : {"9 DIALOG 0,0,1,1 STYLE WS_NOPE BEGIN END", "1 WHATEVER", "99999 MENU BEGIN END",
                               "9 DIALOG 0,0,1,1 BEGIN CONTROL \"\", 1, \"edit\" END", "@"})
        EXPECT_EQ(ResourceScript::Parse(broken, &error), nullptr) << broken;
}

} // namespace
