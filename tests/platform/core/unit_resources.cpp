#include "platform/core/Resources.h"
#include "platform/core/System.h"
#include "res/resource.h"
#include "tests/platform/core/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace ce;

namespace {

const std::string kSatellite = std::string(CONTACTS_SOURCE_DIR) + "/res/Contacts.exe.0409.mui";

// Width, height, bits per pixel and the colour (0xRRGGBB) of a pixel of a
// palette BMP, read from the file bytes.
struct Bmp {
    explicit Bmp(const std::vector<BYTE>& b) : bytes(b) {}
    std::uint32_t U32(std::size_t at) const
    {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t(bytes[at + 3]) << 24;
    }
    int Width() const { return int(U32(18)); }
    int Height() const { return int(U32(22)); }
    int Bits() const { return bytes[28]; }
    std::uint32_t Pixel(int x, int y) const
    {
        const int stride = (Width() * Bits() + 31) / 32 * 4;
        const std::size_t row = U32(10) + std::size_t((Height() - 1 - y) * stride);
        const int index = Bits() == 4 ? (bytes[row + x / 2] >> (x % 2 ? 0 : 4)) & 15 : bytes[row + x];
        const std::size_t entry = 14 + U32(14) + std::size_t(index) * 4;
        return std::uint32_t(bytes[entry + 2]) << 16 | bytes[entry + 1] << 8 | bytes[entry];
    }
    const std::vector<BYTE>& bytes;
};

std::unique_ptr<ResourceScript> ParseOk(std::string_view text)
{
    std::string error;
    auto script = ResourceScript::Parse(text, &error);
    EXPECT_TRUE(script) << error;
    return script;
}

std::string ParseError(std::string_view text)
{
    std::string error;
    EXPECT_EQ(ResourceScript::Parse(text, &error), nullptr) << text;
    return error;
}

class ResourcesTest : public ::testing::Test {
protected:
    void TearDown() override { AfxSetResourceHandle(AfxGetInstanceHandle()); }
};

TEST_F(ResourcesTest, ProgramCarriesEveryStringItLooksUp)
{
    const char16_t* labels[] = {u"Nombre:", u"Direccion:", u"Telefono:", u"Movil:", u"Fax:", u"E-Mail:",
                                u"Cumpleanios:", u"Compania:", u"Puesto:", u"Departamento:", u"Direccion oficina:",
                                u"Telefono oficina:", u"Fax oficina:", u"E-Mail2:", u"E-Mail3:", u"Pagina web:"};
    for (UINT i = 0; i < 16; ++i)
        EXPECT_EQ(LoadStringW(IDS_FIELD_FIRST + i), labels[i]);
    EXPECT_EQ(LoadStringW(IDR_MAINFRAME), u"Contactos");
    EXPECT_EQ(LoadStringW(IDS_COLUMN_NAME), u"Nombre");
    EXPECT_EQ(LoadStringW(IDS_COLUMN_TELEPHONE), u"Telefono");
    EXPECT_EQ(LoadStringW(IDS_COLUMN_MOBILE), u"Movil");
    EXPECT_EQ(LoadStringW(IDS_CONTACTS), u"Contactos");
    EXPECT_EQ(LoadStringW(IDS_NEW_CONTACT), u"Nuevo");
    EXPECT_EQ(LoadStringW(IDS_DELETE_QUESTION), u"Borrar definitivamente el contacto?");
    EXPECT_EQ(LoadStringW(999), u"");
}

TEST_F(ResourcesTest, MenuHoldsTheFiveCommandsInOrder)
{
    const MenuTemplate* menu = FindMenu(IDR_MAINFRAME);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 1u);
    const MenuItem& popup = menu->items[0];
    EXPECT_TRUE(popup.IsPopup());
    EXPECT_EQ(popup.text, u"&Archivo");
    const std::pair<const char16_t*, UINT> expected[] = {{u"A&brir", ID_CONTACT_OPEN}, {u"&Nuevo", ID_CONTACT_NEW},
                                                         {u"E&ditar", ID_CONTACT_EDIT}, {u"&Borrar", ID_CONTACT_DELETE},
                                                         {u"&Salir", 57665}};
    ASSERT_EQ(popup.items.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(popup.items[i].text, expected[i].first);
        EXPECT_EQ(popup.items[i].id, expected[i].second);
        EXPECT_FALSE(popup.items[i].IsPopup());
    }
}

TEST_F(ResourcesTest, DialogFramesAndDetailForm)
{
    for (auto [id, cx, cy] : {std::tuple{IDD_SHOW_DIALOG, 165, 83}, std::tuple{IDD_EDIT_DIALOG, 168, 106}}) {
        const DialogTemplate* dlg = FindDialogTemplate(UINT(id));
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->style & 0xC0000000u, 0x80000000u) << "pop-up";
        EXPECT_EQ(dlg->style & 0x00C80000u, 0x00C80000u) << "caption and system menu";
        EXPECT_EQ(dlg->fontName, u"System");
        EXPECT_EQ(dlg->fontSize, 10);
        EXPECT_EQ(dlg->cx, cx);
        EXPECT_EQ(dlg->cy, cy);
        EXPECT_TRUE(dlg->controls.empty());
    }

    const DialogTemplate* form = FindDialogTemplate(IDD_SHOW_FORM);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->style & 0xC0000000u, 0x40000000u) << "child";
    EXPECT_EQ(form->cx, 122);
    EXPECT_EQ(form->cy, 92);
    ASSERT_EQ(form->controls.size(), 62u);
    for (const DialogControl& c : form->controls) {
        EXPECT_EQ(c.className, u"static");
        const bool visible = (c.style & 0x10000000u) != 0;
        if (c.id == IDC_NAME_LINE) {
            EXPECT_TRUE(visible);
            EXPECT_EQ(c.style & 0xF, 0u) << "left";
        } else if (c.id == IDC_LINE_FIRST) {
            EXPECT_TRUE(visible);
            EXPECT_EQ(c.style & 0xF, 0xEu) << "picture";
            EXPECT_EQ(c.imageId, UINT(IDB_NAME_LINE));
        } else {
            const bool label = c.id >= 1002 && c.id <= 1031;
            EXPECT_TRUE(label || (c.id >= 1040 && c.id <= 1069)) << c.id;
            EXPECT_FALSE(visible) << c.id;
            EXPECT_EQ(c.style & 0xF, label ? 2u : 0u) << c.id;
        }
    }
}

TEST_F(ResourcesTest, EditFormHasItsControlsInTabOrder)
{
    const DialogTemplate* form = FindDialogTemplate(IDD_EDIT_FORM);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->cx, 153);
    EXPECT_EQ(form->cy, 95);
    ASSERT_EQ(form->controls.size(), 48u);
    std::vector<UINT> tabStops;
    for (const DialogControl& c : form->controls) {
        EXPECT_NE(c.style & 0x10000000u, 0u) << c.id << " visible";
        if (c.style & 0x00010000u)
            tabStops.push_back(c.id);
        if (c.id >= 1002 && c.id <= 1017) {
            EXPECT_EQ(c.className, u"static");
            EXPECT_EQ(c.style & 0xF, 2u) << "right-aligned";
        } else if (c.id == IDC_BIRTHDAY_PICKER) {
            EXPECT_EQ(c.className, u"SysDateTimePick32");
            EXPECT_EQ(c.style & 0x6u, 0x6u) << "DTS_SHOWNONE | DTS_LONGDATEFORMAT";
            EXPECT_EQ(c.cy, 14);
        } else if (c.id >= 1040 && c.id <= 1055) {
            EXPECT_EQ(c.className, u"edit");
            EXPECT_EQ(c.style & 0x84u, 0x80u) << "single line, ES_AUTOHSCROLL";
            EXPECT_EQ(c.cy, 12);
        } else {
            ASSERT_TRUE(c.id >= 1080 && c.id <= 1095) << c.id;
            EXPECT_EQ(c.style & 0xF, 0xEu);
            EXPECT_EQ(c.imageId, UINT(IDB_FIELD_LINE));
        }
    }
    std::vector<UINT> expected = {1040, 1041, 1042, 1043, 1044, 1045, 1047, 1048,
                                  1049, 1050, 1051, 1052, 1053, 1054, 1055, 1046};
    EXPECT_EQ(tabStops, expected);
}

TEST_F(ResourcesTest, BitmapsAndIconHaveTheirSizesAndColours)
{
    const std::vector<BYTE>* row = FindBitmap(IDB_ROW_ICON);
    ASSERT_NE(row, nullptr);
    Bmp icon(*row);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_EQ(icon.Bits(), 4);
    EXPECT_EQ(icon.Pixel(0, 0), 0xFFFFFFu) << "white ground";
    EXPECT_EQ(icon.Pixel(9, 5), 0x000080u) << "first text line dark blue";
    EXPECT_EQ(icon.Pixel(9, 8), 0x808080u) << "second text line gray";

    for (auto [id, width, colour] : {std::tuple{IDB_NAME_LINE, 320, 0x000000u}, std::tuple{IDB_FIELD_LINE, 260, 0x808080u}}) {
        const std::vector<BYTE>* bytes = FindBitmap(UINT(id));
        ASSERT_NE(bytes, nullptr);
        Bmp line(*bytes);
        EXPECT_EQ(line.Width(), width);
        EXPECT_EQ(line.Height(), 1);
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(line.Pixel(x, 0), colour) << id << " at " << x;
    }
    const std::vector<BYTE>* ico = FindIcon(IDR_MAINFRAME);
    ASSERT_NE(ico, nullptr);
    ASSERT_GT(ico->size(), 22u);
    EXPECT_EQ((*ico)[2], 1) << "icon file";
    EXPECT_EQ((*ico)[6], 32) << "32 pixels wide";
}

TEST_F(ResourcesTest, SatelliteReplacesEveryLookupUntilFreed)
{
    HMODULE english = LoadResourceModule(kSatellite);
    ASSERT_NE(english, nullptr);
    const ResourceScript& own = ModuleResources(AfxGetInstanceHandle());
    const ResourceScript& sat = ModuleResources(english);
    // The satellite carries everything the program has, and the pictures
    // are the very same.
    for (const auto& [id, text] : own.strings)
        EXPECT_NE(sat.FindString(id), nullptr) << "string " << id;
    for (const auto& [id, dlg] : own.dialogs) {
        const DialogTemplate* other = sat.FindDialog(id);
        ASSERT_NE(other, nullptr) << "dialog " << id;
        ASSERT_EQ(other->controls.size(), dlg.controls.size());
        for (std::size_t i = 0; i < dlg.controls.size(); ++i) {
            EXPECT_EQ(other->controls[i].id, dlg.controls[i].id);
            EXPECT_EQ(other->controls[i].style, dlg.controls[i].style);
            EXPECT_EQ(other->controls[i].cy, dlg.controls[i].cy);
        }
    }
    EXPECT_EQ(sat.bitmaps, own.bitmaps);
    EXPECT_EQ(sat.icons, own.icons);
    EXPECT_EQ(sat.menus.size(), own.menus.size());

    AfxSetResourceHandle(english);
    EXPECT_EQ(AfxGetResourceHandle(), english);
    EXPECT_EQ(LoadStringW(1), u"Name:");
    EXPECT_EQ(LoadStringW(IDS_COLUMN_TELEPHONE), u"Telephone");
    EXPECT_EQ(LoadStringW(IDS_DELETE_QUESTION), u"Delete the contact permanently?");
    const MenuTemplate* menu = FindMenu(IDR_MAINFRAME);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->items[0].text, u"&File");
    ASSERT_EQ(menu->items[0].items.size(), 5u);
    EXPECT_EQ(menu->items[0].items[4].text, u"E&xit");
    EXPECT_EQ(menu->items[0].items[4].id, 57665u);

    // Freeing the current module falls back to the program's own.
    EXPECT_EQ(FreeLibrary(english), TRUE);
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_EQ(LoadStringW(1), u"Nombre:");
    EXPECT_EQ(FreeLibrary(english), FALSE);
}

TEST_F(ResourcesTest, LibrariesComeOnlyFromTheProgramFolderNeverFromTheCurrentOne)
{
    TempDir cwd;
    const std::string name = "Contacts.exe.7ffe.mui";
    ASSERT_TRUE(WriteHostFile(cwd.File(name), "STRINGTABLE BEGIN 1 \"from cwd\" END\n"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(cwd.Path());
    EXPECT_EQ(LoadLibraryW(u"Contacts.exe.7ffe.mui"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibraryW(u"./Contacts.exe.7ffe.mui"), nullptr);
    std::filesystem::current_path(before);

    const std::string beside = std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
    ASSERT_TRUE(WriteHostFile(beside, "STRINGTABLE BEGIN 1 \"beside the program\" END\n"));
    HMODULE module = LoadLibraryW(u"Contacts.exe.7ffe.mui");
    std::filesystem::remove(beside);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(*ModuleResources(module).FindString(1), u"beside the program");
    EXPECT_EQ(FreeLibrary(module), TRUE);

    // A file that is not a resource script is no module.
    ASSERT_TRUE(WriteHostFile(beside, std::string("\x7f" "ELF\x02\x01\x01", 7)));
    EXPECT_EQ(LoadLibraryW(u"Contacts.exe.7ffe.mui"), nullptr);
    std::filesystem::remove(beside);
}

TEST(ResourceScriptSyntax, AcceptsTheClassicForms)
{
    auto script = ParseOk(R"(#include "res/resource.h"
LANGUAGE 9, 1
/* block
   comment */
STRINGTABLE DISCARDABLE
{
    0x10, "say ""hi""\t\x4E2D"   // hex id, quote, escapes
    17 "café"                  // UTF-8 text
}
7 MENU { POPUP "&A" { MENUITEM "&One", 1, GRAYED
                     MENUITEM SEPARATOR
                     POPUP "&Sub" { MENUITEM "Two", 2, CHECKED } } }
9 DIALOG -1, 2, 30, 40
STYLE WS_CHILD | WS_VISIBLE | NOT WS_VISIBLE | 0x4
EXSTYLE WS_EX_CLIENTEDGE
CAPTION "Cap"
FONT 8, "Tahoma"
BEGIN
    CONTROL "t", -1, "button", BS_OWNERDRAW | WS_TABSTOP, 1, 2, 3, 4, WS_EX_STATICEDGE
END
5 BITMAP MOVEABLE PURE BEGIN '42 4d' '0A' END
)");
    ASSERT_TRUE(script);
    EXPECT_EQ(*script->FindString(16), u"say \"hi\"\t\u4E2D");
    EXPECT_EQ(*script->FindString(17), u"caf\u00e9");
    const MenuTemplate* menu = script->FindMenu(7);
    ASSERT_NE(menu, nullptr);
    const MenuItem& a = menu->items.at(0);
    ASSERT_EQ(a.items.size(), 3u);
    EXPECT_TRUE(a.items[0].grayed);
    EXPECT_TRUE(a.items[1].separator);
    EXPECT_TRUE(a.items[2].IsPopup());
    EXPECT_TRUE(a.items[2].items.at(0).checked);
    const DialogTemplate* dlg = script->FindDialog(9);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->x, -1);
    EXPECT_EQ(dlg->style, 0x40000004u);
    EXPECT_EQ(dlg->exStyle, 0x200u);
    EXPECT_EQ(dlg->caption, u"Cap");
    EXPECT_EQ(dlg->fontName, u"Tahoma");
    ASSERT_EQ(dlg->controls.size(), 1u);
    EXPECT_EQ(dlg->controls[0].id, 0xFFFFu);
    EXPECT_EQ(dlg->controls[0].style, 0x1000Bu);
    EXPECT_EQ(dlg->controls[0].exStyle, 0x20000u);
    EXPECT_EQ(*script->FindBitmap(5), (std::vector<BYTE>{0x42, 0x4d, 0x0a}));
}

TEST(ResourceScriptSyntax, RejectsBrokenScriptsWithTheLine)
{
    EXPECT_EQ(ParseError("STRINGTABLE BEGIN\n 1 \"open\nEND"), "line 2: unterminated string");
    EXPECT_EQ(ParseError("\n\n5 BITMAP BEGIN 'ABC' END"), "line 3: odd number of hex digits in data");
    EXPECT_NE(ParseError("9 DIALOG 0,0,1,1 STYLE WS_NOPE BEGIN END").find("unknown style WS_NOPE"), std::string::npos);
    EXPECT_NE(ParseError("5 BITMAP \"row.bmp\"").find("inlined"), std::string::npos);
    for (const char* broken : {"STRINGTABLE BEGIN 1 \"a\"", "7 MENU BEGIN POPUP \"x\" BEGIN END END", "1 WHATEVER",
                               "99999 MENU BEGIN END", "9 DIALOG 0, 0, 99999, 1 BEGIN END", "STRINGTABLE BEGIN 1 \"\\q\" END",
                               "9 DIALOG 0,0,1,1 BEGIN CONTROL \"\", 1, \"edit\" END", "@", "5 ICON BEGIN END",
                               "7 MENU BEGIN MENUITEM \"x\" END"})
        ParseError(broken);
}

} // namespace
