#include "platform/core/Resources.h"
#include "platform/core/System.h"
#include "res/resource.h"
#include "tests/common/Files.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace ce;

namespace {

class ResourcesTest : public ::testing::Test {
protected:
    void TearDown() override { AfxSetResourceHandle(AfxGetInstanceHandle()); }
};

TEST_F(ResourcesTest, ProgramCarriesItsStringsAndMenu)
{
    const char16_t* labels[] = {u"Nombre:", u"Direccion:", u"Telefono:", u"Movil:", u"Fax:", u"E-Mail:",
                                u"Cumpleanios:", u"Compania:", u"Puesto:", u"Departamento:", u"Direccion oficina:",
                                u"Telefono oficina:", u"Fax oficina:", u"E-Mail2:", u"E-Mail3:", u"Pagina web:"};
    for (UINT i = 0; i < 16; ++i)
        EXPECT_EQ(LoadStringW(IDS_FIELD_FIRST + i), labels[i]);
    EXPECT_EQ(LoadStringW(IDR_MAINFRAME), u"Contactos");
    EXPECT_EQ(LoadStringW(IDS_DELETE_QUESTION), u"Borrar definitivamente el contacto?");
    EXPECT_EQ(LoadStringW(999), u"");

    const MenuTemplate* menu = FindMenu(128);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 1u);
    const MenuItem& popup = menu->items[0];
    EXPECT_EQ(popup.text, u"&Archivo");
    const std::pair<const char16_t*, UINT> expected[] = {{u"A&brir", ID_CONTACT_OPEN}, {u"&Nuevo", ID_CONTACT_NEW},
                                                         {u"E&ditar", ID_CONTACT_EDIT}, {u"&Borrar", ID_CONTACT_DELETE},
                                                         {u"Sin&cronizar", ID_FILE_SYNC}, {u"&Salir", 57665}};
    ASSERT_EQ(popup.items.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(popup.items[i].text, expected[i].first);
        EXPECT_EQ(popup.items[i].id, expected[i].second);
    }
}

TEST_F(ResourcesTest, DialogTemplates)
{
    for (auto [id, cx, cy] : {std::tuple{IDD_SHOW_DIALOG, 165, 83}, std::tuple{IDD_EDIT_DIALOG, 168, 106}}) {
        const DialogTemplate* dlg = FindDialogTemplate(UINT(id));
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->style & 0xC0C80000u, 0x80C80000u) << "pop-up with caption and system menu";
        EXPECT_EQ(dlg->fontName, u"System");
        EXPECT_EQ(dlg->fontSize, 10);
        EXPECT_EQ(dlg->cx, cx);
        EXPECT_EQ(dlg->cy, cy);
    }

    const DialogTemplate* show = FindDialogTemplate(IDD_SHOW_FORM);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->style & 0xC0000000u, 0x40000000u) << "child";
    ASSERT_EQ(show->controls.size(), 62u);
    for (const DialogControl& c : show->controls) // only the name and its line show at first
        EXPECT_EQ((c.style & 0x10000000u) != 0, c.id == IDC_NAME_LINE || c.id == IDC_LINE_FIRST) << c.id;

    const DialogTemplate* edit = FindDialogTemplate(IDD_EDIT_FORM);
    ASSERT_NE(edit, nullptr);
    ASSERT_EQ(edit->controls.size(), 48u);
    std::vector<UINT> tabStops;
    for (const DialogControl& c : edit->controls) {
        EXPECT_NE(c.style & 0x10000000u, 0u) << c.id << " visible";
        if (c.style & 0x00010000u)
            tabStops.push_back(c.id);
        if (c.id >= 1002 && c.id <= 1017) {
            EXPECT_EQ(c.style & 0xF, 2u) << "right-aligned label";
        } else if (c.id == IDC_BIRTHDAY_PICKER) {
            EXPECT_EQ(c.className, u"SysDateTimePick32");
            EXPECT_EQ(c.style & 0x6u, 0x6u) << "DTS_SHOWNONE | DTS_LONGDATEFORMAT";
        } else if (c.id >= 1040 && c.id <= 1055) {
            EXPECT_EQ(c.className, u"edit");
            EXPECT_EQ(c.style & 0x84u, 0x80u) << "single line, ES_AUTOHSCROLL";
        } else {
            ASSERT_TRUE(c.id >= 1080 && c.id <= 1095) << c.id;
            EXPECT_EQ(c.imageId, UINT(IDB_FIELD_LINE));
        }
    }
    EXPECT_EQ(tabStops, (std::vector<UINT>{1040, 1041, 1042, 1043, 1044, 1045, 1047, 1048, 1049, 1050, 1051, 1052,
                                           1053, 1054, 1055, 1046}));
}

TEST_F(ResourcesTest, SatelliteReplacesEveryLookupUntilFreed)
{
    HMODULE english = LoadResourceModule(CONTACTS_SATELLITE_DIR "/Contacts.exe.0409.mui");
    ASSERT_NE(english, nullptr);
    AfxSetResourceHandle(english);
    EXPECT_EQ(LoadStringW(1), u"Name:");
    EXPECT_EQ(LoadStringW(IDS_DELETE_QUESTION), u"Delete the contact permanently?");
    const MenuTemplate* menu = FindMenu(IDR_MAINFRAME);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items[0].items.size(), 6u);
    EXPECT_EQ(menu->items[0].items[4].text, u"S&ync");
    EXPECT_EQ(menu->items[0].items[5].text, u"E&xit");

    // Freeing the current module falls back to the program's own.
    EXPECT_EQ(FreeLibrary(english), TRUE);
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_EQ(LoadStringW(1), u"Nombre:");
    EXPECT_EQ(FreeLibrary(english), FALSE);
}

TEST_F(ResourcesTest, LibrariesComeFromTheProgramAndDataFoldersNeverFromTheCurrentOne)
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
    auto script = ResourceScript::Parse(R"(#include "res/resource.h"
/* block
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
