// A resource script in a small subset of the classic .rc syntax:
//
//   STRINGTABLE BEGIN 1 "Nombre:" ... END
//   128 MENU BEGIN POPUP "&Archivo" BEGIN MENUITEM "A&brir", 32784
//        MENUITEM SEPARATOR END END
//   141 DIALOG 0, 0, 153, 95
//   STYLE WS_CHILD | WS_VISIBLE
//   CAPTION "..."
//   FONT 10, "System"
//   BEGIN
//     CONTROL "text", 1002, "static", SS_RIGHT | WS_CHILD, 2, 4, 60, 8
//     CONTROL 142, 1080, "static", SS_BITMAP | WS_CHILD, 0, 16, 130, 1
//   END
//   131 BITMAP BEGIN '42 4D 76 00 ...' END (the BMP file's bytes)
//   128 ICON   BEGIN '00 00 01 00 ...' END
//
// Keywords are upper case; BEGIN/END may be written { }. LANGUAGE x, y and
// the memory options (DISCARDABLE, MOVEABLE, PURE ...) are accepted and
// ignored; a control id of -1 is 0xFFFF. Numbers are decimal
// or 0x hexadecimal; styles are numbers or named flags joined with '|'
// (WS_, DS_, SS_, ES_, BS_, DTS_, LVS_ names with their classic values), and
// NOT flag removes one. Strings take "" for a quote and the escapes \n, \t,
// \r, \\, \" and \xHHHH. // and /* */ are comments; #include and other # lines are
// ignored. The text is UTF-8. The build turns BITMAP/ICON "file" lines of
// the program's script into inline bytes (res/inline.cmake).
#pragma once
#include "platform/core/Types.h"
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ce {

struct DialogControl {
    std::u16string text;   // the caption; empty for a picture
    UINT imageId = 0;      // the bitmap of a picture (the text given as a number)
    UINT id = 0;
    std::u16string className; // "static", "edit", "button", "SysDateTimePick32", ...
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
};

struct DialogTemplate {
    UINT id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::u16string caption;
    std::u16string fontName;
    WORD fontSize = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    std::vector<DialogControl> controls; // in tab order
};

struct MenuItem {
    std::u16string text; // with its '&' mnemonic marker
    UINT id = 0;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuItem> items; // a popup's entries; a popup has no id
    bool IsPopup() const { return !separator && id == 0 && !items.empty(); }
};

struct MenuTemplate {
    UINT id = 0;
    std::vector<MenuItem> items;
};

class ResourceScript {
public:
    // nullptr on a syntax error; *error then tells the line and the reason.
    static std::unique_ptr<ResourceScript> Parse(std::string_view text, std::string* error = nullptr);

    const std::u16string* FindString(UINT id) const;
    const MenuTemplate* FindMenu(UINT id) const;
    const DialogTemplate* FindDialog(UINT id) const;
    const std::vector<BYTE>* FindBitmap(UINT id) const;
    const std::vector<BYTE>* FindIcon(UINT id) const;

    std::map<UINT, std::u16string> strings;
    std::map<UINT, MenuTemplate> menus;
    std::map<UINT, DialogTemplate> dialogs;
    std::map<UINT, std::vector<BYTE>> bitmaps; // BMP file bytes
    std::map<UINT, std::vector<BYTE>> icons;   // ICO file bytes
};

// The value of a named style flag ("WS_CHILD", "ES_AUTOHSCROLL", ...); false
// when the name is not known.
bool LookupStyleName(std::string_view name, DWORD& value);

} // namespace ce
