#include "platform/core/ResourceScript.h"
#include "platform/core/FileSystem.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <optional>

namespace ce {

namespace {

struct StyleName {
    const char* name;
    DWORD value;
};

constexpr StyleName Styles[] = {
    {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000}, {"WS_CHILD", 0x40000000},
    {"WS_MINIMIZE", 0x20000000}, {"WS_VISIBLE", 0x10000000}, {"WS_DISABLED", 0x08000000},
    {"WS_CLIPSIBLINGS", 0x04000000}, {"WS_CLIPCHILDREN", 0x02000000}, {"WS_MAXIMIZE", 0x01000000},
    {"WS_CAPTION", 0x00C00000}, {"WS_BORDER", 0x00800000}, {"WS_DLGFRAME", 0x00400000},
    {"WS_VSCROLL", 0x00200000}, {"WS_HSCROLL", 0x00100000}, {"WS_SYSMENU", 0x00080000},
    {"WS_THICKFRAME", 0x00040000}, {"WS_GROUP", 0x00020000}, {"WS_TABSTOP", 0x00010000},
    {"WS_EX_DLGMODALFRAME", 0x00000001}, {"WS_EX_TOPMOST", 0x00000008}, {"WS_EX_TRANSPARENT", 0x00000020},
    {"WS_EX_TOOLWINDOW", 0x00000080}, {"WS_EX_WINDOWEDGE", 0x00000100}, {"WS_EX_CLIENTEDGE", 0x00000200},
    {"WS_EX_CONTEXTHELP", 0x00000400}, {"WS_EX_STATICEDGE", 0x00020000}, {"WS_EX_NODRAG", 0x40000000},
    {"WS_EX_CAPTIONOKBTN", 0x80000000},
    {"DS_ABSALIGN", 0x0001}, {"DS_SYSMODAL", 0x0002}, {"DS_3DLOOK", 0x0004}, {"DS_FIXEDSYS", 0x0008},
    {"DS_NOFAILCREATE", 0x0010}, {"DS_LOCALEDIT", 0x0020}, {"DS_SETFONT", 0x0040}, {"DS_MODALFRAME", 0x0080},
    {"DS_NOIDLEMSG", 0x0100}, {"DS_SETFOREGROUND", 0x0200}, {"DS_CONTROL", 0x0400}, {"DS_CENTER", 0x0800},
    {"DS_CENTERMOUSE", 0x1000}, {"DS_CONTEXTHELP", 0x2000},
    {"SS_LEFT", 0x0000}, {"SS_CENTER", 0x0001}, {"SS_RIGHT", 0x0002}, {"SS_ICON", 0x0003},
    {"SS_BLACKRECT", 0x0004}, {"SS_LEFTNOWORDWRAP", 0x000C}, {"SS_BITMAP", 0x000E}, {"SS_NOPREFIX", 0x0080},
    {"SS_NOTIFY", 0x0100}, {"SS_CENTERIMAGE", 0x0200},
    {"ES_LEFT", 0x0000}, {"ES_CENTER", 0x0001}, {"ES_RIGHT", 0x0002}, {"ES_MULTILINE", 0x0004},
    {"ES_UPPERCASE", 0x0008}, {"ES_LOWERCASE", 0x0010}, {"ES_PASSWORD", 0x0020}, {"ES_AUTOVSCROLL", 0x0040},
    {"ES_AUTOHSCROLL", 0x0080}, {"ES_NOHIDESEL", 0x0100}, {"ES_OEMCONVERT", 0x0400}, {"ES_READONLY", 0x0800},
    {"ES_WANTRETURN", 0x1000}, {"ES_NUMBER", 0x2000},
    {"BS_PUSHBUTTON", 0x0000}, {"BS_DEFPUSHBUTTON", 0x0001}, {"BS_CHECKBOX", 0x0002},
    {"BS_AUTOCHECKBOX", 0x0003}, {"BS_RADIOBUTTON", 0x0004}, {"BS_GROUPBOX", 0x0007},
    {"BS_AUTORADIOBUTTON", 0x0009}, {"BS_OWNERDRAW", 0x000B}, {"BS_LEFT", 0x0100}, {"BS_RIGHT", 0x0200},
    {"BS_CENTER", 0x0300}, {"BS_NOTIFY", 0x4000},
    {"DTS_SHORTDATEFORMAT", 0x0000}, {"DTS_UPDOWN", 0x0001}, {"DTS_SHOWNONE", 0x0002},
    {"DTS_LONGDATEFORMAT", 0x0004}, {"DTS_TIMEFORMAT", 0x0009}, {"DTS_APPCANPARSE", 0x0010},
    {"DTS_RIGHTALIGN", 0x0020},
    {"LVS_ICON", 0x0000}, {"LVS_REPORT", 0x0001}, {"LVS_SMALLICON", 0x0002}, {"LVS_LIST", 0x0003},
    {"LVS_SINGLESEL", 0x0004}, {"LVS_SHOWSELALWAYS", 0x0008}, {"LVS_OWNERDATA", 0x1000},
    {"LVS_NOCOLUMNHEADER", 0x4000}, {"LVS_NOSORTHEADER", 0x8000},
};

int HexValue(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
}

enum class Tok { End, Word, Number, String, Data, Punct };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // word, punctuation, or the string's UTF-8 text
    long long number = 0;
    std::vector<BYTE> data;
    int line = 1;
};

class Lexer {
public:
    explicit Lexer(std::string_view text) : source(text) {}

    // false with error set on a malformed token.
    bool Next(Token& t)
    {
        SkipBlanks();
        t = Token{};
        t.line = line;
        if (pos >= source.size())
            return true;
        char c = source[pos];
        if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '+') && pos + 1 < source.size() &&
                                                            std::isdigit(static_cast<unsigned char>(source[pos + 1]))))
            return Number(t);
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t start = pos;
            while (pos < source.size() && (std::isalnum(static_cast<unsigned char>(source[pos])) || source[pos] == '_'))
                ++pos;
            t.kind = Tok::Word;
            t.text = std::string(source.substr(start, pos - start));
            return true;
        }
        if (c == '"')
            return String(t);
        if (c == '\'')
            return Data(t);
        if (c == ',' || c == '|' || c == '{' || c == '}') {
            ++pos;
            t.kind = Tok::Punct;
            t.text = std::string(1, c);
            return true;
        }
        return Error(std::string("unexpected character '") + c + "'");
    }

    int Line() const { return line; }
    const std::string& ErrorText() const { return error; }

private:
    bool Error(const std::string& what)
    {
        error = what;
        return false;
    }

    void SkipBlanks()
    {
        bool lineStart = pos == 0 || source[pos - 1] == '\n';
        while (pos < source.size()) {
            char c = source[pos];
            if (c == '\n') {
                ++line;
                ++pos;
                lineStart = true;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++pos;
            } else if (c == '#' && lineStart) {
                while (pos < source.size() && source[pos] != '\n')
                    ++pos;
            } else if (source.substr(pos, 2) == "//") {
                while (pos < source.size() && source[pos] != '\n')
                    ++pos;
            } else if (source.substr(pos, 2) == "/*") {
                std::size_t end = source.find("*/", pos + 2);
                end = end == std::string_view::npos ? source.size() : end + 2;
                for (; pos < end; ++pos)
                    line += source[pos] == '\n';
            } else if (pos == 0 && source.substr(0, 3) == "\xEF\xBB\xBF") {
                pos = 3;
            } else {
                return;
            }
        }
    }

    bool Number(Token& t)
    {
        const char* begin = source.data() + pos;
        const char* limit = source.data() + source.size();
        std::string digits(begin, std::min<std::size_t>(limit - begin, 24));
        char* end = nullptr;
        errno = 0;
        long long value = std::strtoll(digits.c_str(), &end, 0);
        std::size_t used = std::size_t(end - digits.c_str());
        if (errno != 0 || used == 0 || value > 0xFFFFFFFFll || value < -0x80000000ll)
            return Error("bad number");
        pos += used;
        while (pos < source.size() && (source[pos] == 'L' || source[pos] == 'l' || source[pos] == 'U' || source[pos] == 'u'))
            ++pos;
        if (pos < source.size() && (std::isalnum(static_cast<unsigned char>(source[pos])) || source[pos] == '_'))
            return Error("bad number");
        t.kind = Tok::Number;
        t.number = value;
        return true;
    }

    bool String(Token& t)
    {
        ++pos;
        std::string out;
        while (true) {
            if (pos >= source.size() || source[pos] == '\n')
                return Error("unterminated string");
            char c = source[pos++];
            if (c == '"') {
                if (pos < source.size() && source[pos] == '"') {
                    out += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos >= source.size())
                return Error("unterminated string");
            char e = source[pos++];
            switch (e) {
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'x': {
                unsigned value = 0;
                int n = 0;
                while (n < 4 && pos < source.size() && std::isxdigit(static_cast<unsigned char>(source[pos]))) {
                    value = value * 16 + unsigned(HexValue(source[pos]));
                    ++pos;
                    ++n;
                }
                if (n == 0 || (value >= 0xD800 && value <= 0xDFFF))
                    return Error("bad \\x escape");
                out += Utf16ToUtf8(std::u16string(1, char16_t(value)));
                break;
            }
            default: return Error(std::string("unknown escape \\") + e);
            }
        }
        t.kind = Tok::String;
        t.text = std::move(out);
        return true;
    }

    bool Data(Token& t)
    {
        ++pos;
        int half = -1;
        while (true) {
            if (pos >= source.size())
                return Error("unterminated data");
            char c = source[pos++];
            if (c == '\'')
                break;
            if (c == '\n') {
                ++line;
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\r')
                continue;
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return Error("bad hex digit in data");
            int v = HexValue(c);
            if (half < 0) {
                half = v;
            } else {
                t.data.push_back(BYTE(half * 16 + v));
                half = -1;
            }
        }
        if (half >= 0)
            return Error("odd number of hex digits in data");
        t.kind = Tok::Data;
        return true;
    }

    std::string_view source;
    std::size_t pos = 0;
    int line = 1;
    std::string error;
};

class Parser {
public:
    Parser(std::string_view text, ResourceScript& out) : lexer(text), script(out) {}

    bool Run()
    {
        if (!Advance())
            return false;
        while (token.kind != Tok::End) {
            if (IsWord("STRINGTABLE")) {
                if (!Advance() || !SkipOptions() || !StringTable())
                    return false;
            } else if (IsWord("LANGUAGE")) {
                // LANGUAGE primary, sub: the file name already says it.
                if (!Advance() || !Value() || !Expect(",") || !Value())
                    return false;
            } else if (token.kind == Tok::Number) {
                if (token.number <= 0 || token.number > 0xFFFF)
                    return Fail("resource id out of range");
                UINT id = UINT(token.number);
                if (!Advance())
                    return false;
                std::string kind = token.text;
                if (token.kind != Tok::Word || !Advance() || !SkipOptions())
                    return Fail("resource type expected");
                bool ok = kind == "MENU"     ? Menu(id)
                          : kind == "DIALOG" ? Dialog(id)
                          : kind == "BITMAP" ? Bytes(script.bitmaps[id])
                          : kind == "ICON"   ? Bytes(script.icons[id])
                                             : Fail("unknown resource type " + kind);
                if (!ok)
                    return false;
            } else {
                return Fail("resource expected");
            }
        }
        return true;
    }

    std::string Error() const { return "line " + std::to_string(errorLine) + ": " + error; }

private:
    bool Advance()
    {
        if (!lexer.Next(token)) {
            error = lexer.ErrorText();
            errorLine = lexer.Line();
            return false;
        }
        return true;
    }

    bool Fail(const std::string& what)
    {
        error = what;
        errorLine = token.line;
        return false;
    }

    bool IsWord(const char* word) const { return token.kind == Tok::Word && token.text == word; }
    bool IsBegin() const { return IsWord("BEGIN") || (token.kind == Tok::Punct && token.text == "{"); }
    bool IsEnd() const { return IsWord("END") || (token.kind == Tok::Punct && token.text == "}"); }

    bool Expect(const char* punct)
    {
        if (token.kind != Tok::Punct || token.text != punct)
            return Fail(std::string("'") + punct + "' expected");
        return Advance();
    }

    bool ExpectBegin() { return IsBegin() ? Advance() : Fail("BEGIN expected"); }

    // Memory options of the old resource compilers mean nothing here.
    bool SkipOptions()
    {
        while (IsWord("DISCARDABLE") || IsWord("MOVEABLE") || IsWord("FIXED") || IsWord("PURE") ||
               IsWord("IMPURE") || IsWord("PRELOAD") || IsWord("LOADONCALL")) {
            if (!Advance())
                return false;
        }
        return true;
    }

    std::optional<long long> Number()
    {
        if (token.kind != Tok::Number) {
            Fail("number expected");
            return std::nullopt;
        }
        long long v = token.number;
        if (!Advance())
            return std::nullopt;
        return v;
    }

    bool Value() { return (token.kind == Tok::Number || token.kind == Tok::Word) ? Advance() : Fail("value expected"); }

    std::optional<std::u16string> String()
    {
        if (token.kind != Tok::String) {
            Fail("string expected");
            return std::nullopt;
        }
        std::u16string s = Utf8ToUtf16(token.text);
        if (!Advance())
            return std::nullopt;
        return s;
    }

    // flag { '|' flag }, where a flag is a number, a style name, or NOT flag.
    std::optional<DWORD> Style()
    {
        DWORD value = 0;
        while (true) {
            bool negate = IsWord("NOT");
            if (negate && !Advance())
                return std::nullopt;
            DWORD flag = 0;
            if (token.kind == Tok::Number) {
                flag = DWORD(token.number);
            } else if (token.kind != Tok::Word || !LookupStyleName(token.text, flag)) {
                Fail("unknown style " + token.text);
                return std::nullopt;
            }
            value = negate ? value & ~flag : value | flag;
            if (!Advance())
                return std::nullopt;
            if (token.kind != Tok::Punct || token.text != "|")
                return value;
            if (!Advance())
                return std::nullopt;
        }
    }

    bool Rect(short& x, short& y, short& cx, short& cy)
    {
        short* fields[] = {&x, &y, &cx, &cy};
        for (int i = 0; i < 4; ++i) {
            if (i > 0 && !Expect(","))
                return false;
            auto v = Number();
            if (!v)
                return false;
            if (*v < -32768 || *v > 32767)
                return Fail("coordinate out of range");
            *fields[i] = short(*v);
        }
        return true;
    }

    bool StringTable()
    {
        if (!ExpectBegin())
            return false;
        while (!IsEnd()) {
            auto id = Number();
            if (!id)
                return false;
            if (*id < 0 || *id > 0xFFFF)
                return Fail("string id out of range");
            if (token.kind == Tok::Punct && token.text == "," && !Advance())
                return false;
            auto text = String();
            if (!text)
                return false;
            script.strings[UINT(*id)] = std::move(*text);
        }
        return Advance();
    }

    bool Menu(UINT id)
    {
        MenuTemplate& menu = script.menus[id];
        menu = MenuTemplate{};
        menu.id = id;
        return ExpectBegin() && MenuItems(menu.items, 0);
    }

    bool MenuItems(std::vector<MenuItem>& items, int depth)
    {
        if (depth > 8)
            return Fail("menus nested too deeply");
        while (!IsEnd()) {
            MenuItem item;
            if (IsWord("MENUITEM")) {
                if (!Advance())
                    return false;
                if (IsWord("SEPARATOR")) {
                    item.separator = true;
                    if (!Advance())
                        return false;
                } else {
                    auto text = String();
                    if (!text || !Expect(","))
                        return false;
                    auto cmd = Number();
                    if (!cmd)
                        return false;
                    if (*cmd <= 0 || *cmd > 0xFFFF)
                        return Fail("command id out of range");
                    item.text = std::move(*text);
                    item.id = UINT(*cmd);
                    if (!MenuFlags(item))
                        return false;
                }
            } else if (IsWord("POPUP")) {
                if (!Advance())
                    return false;
                auto text = String();
                if (!text || !MenuFlags(item) || !ExpectBegin() || !MenuItems(item.items, depth + 1))
                    return false;
                item.text = std::move(*text);
                if (item.items.empty())
                    return Fail("empty POPUP");
            } else {
                return Fail("MENUITEM, POPUP or END expected");
            }
            items.push_back(std::move(item));
        }
        return Advance();
    }

    bool MenuFlags(MenuItem& item)
    {
        while (token.kind == Tok::Punct && token.text == ",") {
            if (!Advance())
                return false;
            if (IsWord("GRAYED") || IsWord("INACTIVE"))
                item.grayed = true;
            else if (IsWord("CHECKED"))
                item.checked = true;
            else if (!IsWord("MENUBARBREAK") && !IsWord("MENUBREAK") && !IsWord("HELP"))
                return Fail("unknown menu option " + token.text);
            if (!Advance())
                return false;
        }
        return true;
    }

    bool Dialog(UINT id)
    {
        DialogTemplate dlg;
        dlg.id = id;
        if (!Rect(dlg.x, dlg.y, dlg.cx, dlg.cy))
            return false;
        while (!IsBegin()) {
            if (IsWord("STYLE") || IsWord("EXSTYLE")) {
                bool ex = IsWord("EXSTYLE");
                if (!Advance())
                    return false;
                auto style = Style();
                if (!style)
                    return false;
                (ex ? dlg.exStyle : dlg.style) = *style;
            } else if (IsWord("CAPTION")) {
                if (!Advance())
                    return false;
                auto caption = String();
                if (!caption)
                    return false;
                dlg.caption = std::move(*caption);
            } else if (IsWord("FONT")) {
                if (!Advance())
                    return false;
                auto size = Number();
                if (!size || !Expect(","))
                    return false;
                auto face = String();
                if (!face)
                    return false;
                if (*size <= 0 || *size > 0xFFFF)
                    return Fail("bad font size");
                dlg.fontSize = WORD(*size);
                dlg.fontName = std::move(*face);
            } else {
                return Fail("STYLE, EXSTYLE, CAPTION, FONT or BEGIN expected");
            }
        }
        if (!Advance())
            return false;
        while (!IsEnd()) {
            if (!IsWord("CONTROL"))
                return Fail("CONTROL or END expected");
            if (!Advance())
                return false;
            DialogControl ctl;
            if (token.kind == Tok::Number) {
                if (token.number <= 0 || token.number > 0xFFFF)
                    return Fail("image id out of range");
                ctl.imageId = UINT(token.number);
                if (!Advance())
                    return false;
            } else {
                auto text = String();
                if (!text)
                    return false;
                ctl.text = std::move(*text);
            }
            if (!Expect(","))
                return false;
            auto cid = Number();
            if (!cid || !Expect(","))
                return false;
            if (*cid < -1 || *cid > 0xFFFF)
                return Fail("control id out of range");
            ctl.id = *cid < 0 ? 0xFFFF : UINT(*cid);
            auto cls = String();
            if (!cls || !Expect(","))
                return false;
            ctl.className = std::move(*cls);
            auto style = Style();
            if (!style || !Expect(",") || !Rect(ctl.x, ctl.y, ctl.cx, ctl.cy))
                return false;
            ctl.style = *style;
            if (token.kind == Tok::Punct && token.text == ",") {
                if (!Advance())
                    return false;
                auto ex = Style();
                if (!ex)
                    return false;
                ctl.exStyle = *ex;
            }
            dlg.controls.push_back(std::move(ctl));
        }
        script.dialogs[id] = std::move(dlg);
        return Advance();
    }

    bool Bytes(std::vector<BYTE>& bytes)
    {
        if (token.kind == Tok::String)
            return Fail("file references must be inlined (res/inline.cmake)");
        if (!ExpectBegin())
            return false;
        bytes.clear();
        while (!IsEnd()) {
            if (token.kind != Tok::Data)
                return Fail("'hex data' or END expected");
            bytes.insert(bytes.end(), token.data.begin(), token.data.end());
            if (!Advance())
                return false;
        }
        if (bytes.empty())
            return Fail("no data");
        return Advance();
    }

    Lexer lexer;
    ResourceScript& script;
    Token token;
    std::string error;
    int errorLine = 0;
};

template <class Map>
const typename Map::mapped_type* Find(const Map& map, UINT id)
{
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

} // namespace

bool LookupStyleName(std::string_view name, DWORD& value)
{
    for (const StyleName& s : Styles) {
        if (name == s.name) {
            value = s.value;
            return true;
        }
    }
    return false;
}

std::unique_ptr<ResourceScript> ResourceScript::Parse(std::string_view text, std::string* error)
{
    auto script = std::make_unique<ResourceScript>();
    Parser parser(text, *script);
    if (!parser.Run()) {
        if (error)
            *error = parser.Error();
        return nullptr;
    }
    return script;
}

const std::u16string* ResourceScript::FindString(UINT id) const { return Find(strings, id); }
const MenuTemplate* ResourceScript::FindMenu(UINT id) const { return Find(menus, id); }
const DialogTemplate* ResourceScript::FindDialog(UINT id) const { return Find(dialogs, id); }
const std::vector<BYTE>* ResourceScript::FindBitmap(UINT id) const { return Find(bitmaps, id); }
const std::vector<BYTE>* ResourceScript::FindIcon(UINT id) const { return Find(icons, id); }

} // namespace ce
