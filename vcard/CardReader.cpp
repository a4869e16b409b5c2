#include "vcard/CardReader.h"

#include <algorithm>
#include <cctype>

namespace vcard {

namespace {

// The file's physical lines, found one at a time: a line end is LF, and any
// CR before it (CR LF, or the CR CR LF some phones write) carries nothing.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view bytes) : bytes(bytes)
    {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            start = 3;
        Find();
    }

    bool AtEnd() const { return start >= bytes.size(); }
    int Number() const { return number; }
    std::size_t Offset() const { return start; }
    std::string_view Peek() const { return line; }
    std::string_view Next()
    {
        const std::string_view taken = line;
        start = std::min(end + 1, bytes.size());
        ++number;
        Find();
        return taken;
    }

private:
    void Find()
    {
        end = std::min(bytes.find('\n', start), bytes.size());
        line = bytes.substr(start, end - start);
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }

    std::string_view bytes;
    std::size_t start = 0; // of the next line
    std::size_t end = 0;   // its LF, or the end of the bytes
    std::string_view line;
    int number = 1;
};

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

// Finds the first ':' that is not inside a quoted parameter value, taking
// the text as it grows, each character once.
class ValueStartScan {
public:
    std::size_t Find(std::string_view text)
    {
        for (; scanned < text.size(); ++scanned) {
            if (text[scanned] == '"')
                quoted = !quoted;
            else if (text[scanned] == ':' && !quoted)
                return scanned;
        }
        return std::string_view::npos;
    }

private:
    std::size_t scanned = 0;
    bool quoted = false;
};

Parameter ParseParameter(std::string_view text)
{
    Parameter parameter;
    const std::size_t equals = text.find('=');
    std::string_view value = text;
    if (equals != std::string_view::npos) {
        parameter.name = UpperCase(text.substr(0, equals));
        value = text.substr(equals + 1);
    }
    for (char c : value) {
        if (c != '"')
            parameter.value += c;
    }
    return parameter;
}

// Name and parameters of a line whose value starts at `colon`. False when
// the name is not that of a property.
bool ParseHeader(std::string_view text, std::size_t colon, ContentLine& line)
{
    std::string_view header = text.substr(0, colon);
    std::vector<std::string_view> pieces;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= header.size(); ++i) {
        if (i < header.size() && header[i] == '"')
            quoted = !quoted;
        if (i == header.size() || (header[i] == ';' && !quoted)) {
            pieces.push_back(header.substr(start, i - start));
            start = i + 1;
        }
    }
    std::string_view name = pieces.front();
    if (const std::size_t dot = name.find('.'); dot != std::string_view::npos) {
        line.group = std::string(name.substr(0, dot));
        name.remove_prefix(dot + 1);
    }
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameCharacter))
        return false;
    line.name = UpperCase(name);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (!pieces[i].empty())
            line.parameters.push_back(ParseParameter(pieces[i]));
    }
    return true;
}

bool IsBase64Line(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=' || c == ' ' ||
               c == '\t';
    });
}

// One content line: its first physical line, the folded lines behind it and,
// for quoted-printable, the lines joined by soft line breaks. 2.1 folds at
// white space and keeps it; 3.0 and 4.0 drop the one character that marks
// the fold. 2.1 writes base64 as lines of their own up to an empty line;
// they belong to the value.
bool ReadContentLine(PhysicalLines& lines, bool version21, ContentLine& line)
{
    line.line = lines.Number();
    std::string text(lines.Next());
    ValueStartScan scan;
    std::size_t colon = std::string::npos;
    bool quotedPrintable = false;
    for (;;) {
        if (colon == std::string::npos) {
            colon = scan.Find(text);
            if (colon != std::string::npos) {
                if (!ParseHeader(text, colon, line))
                    return false;
                quotedPrintable = UpperCase(line.Find("ENCODING")) == "QUOTED-PRINTABLE" ||
                                  line.HasBare("QUOTED-PRINTABLE");
            }
        }
        if (lines.AtEnd())
            break;
        const std::string_view next = lines.Peek();
        if (quotedPrintable && !text.empty() && text.back() == '=') {
            text.pop_back();
            text += next;
        } else if (!next.empty() && (next[0] == ' ' || next[0] == '\t')) {
            text += version21 ? next : next.substr(1);
        } else {
            break;
        }
        lines.Next();
    }
    if (colon == std::string::npos)
        return false;
    line.value = text.substr(colon + 1);
    const std::string encoding = UpperCase(line.Find("ENCODING"));
    if (encoding == "BASE64" || line.HasBare("BASE64")) {
        while (!lines.AtEnd() && !lines.Peek().empty() && IsBase64Line(lines.Peek()))
            line.value += lines.Next();
        if (!lines.AtEnd() && lines.Peek().empty())
            lines.Next();
    }
    return true;
}

bool IsCardBoundary(const ContentLine& line, const char* name)
{
    if (line.name != name)
        return false;
    std::string_view value = line.value;
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    return UpperCase(value) == "VCARD";
}

} // namespace

std::string UpperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string ContentLine::Find(std::string_view parameter) const
{
    for (const Parameter& p : parameters) {
        if (p.name == parameter)
            return p.value;
    }
    return {};
}

bool ContentLine::HasBare(std::string_view value) const
{
    for (const Parameter& p : parameters) {
        if (p.name.empty() && UpperCase(p.value) == value)
            return true;
    }
    return false;
}

bool ReadCards(std::string_view bytes, std::vector<RawCard>& cards, ReadError& error)
{
    PhysicalLines lines(bytes);
    RawCard* card = nullptr;
    std::size_t cardStart = 0; // offset of its BEGIN:VCARD
    int nesting = 0;           // depth inside a card embedded in the current one
    while (!lines.AtEnd()) {
        if (lines.Peek().find_first_not_of(" \t") == std::string_view::npos) {
            lines.Next();
            continue;
        }
        ContentLine line;
        const int number = lines.Number();
        const std::size_t offset = lines.Offset();
        if (!ReadContentLine(lines, card && card->version == "2.1", line)) {
            error = {number, card ? "not a vCard property line" : "not a vCard: BEGIN:VCARD expected"};
            return false;
        }
        if (card && lines.Offset() - cardStart > MaxCardBytes) {
            error = {card->line, "card larger than " + std::to_string(MaxCardBytes >> 20) + " MiB"};
            return false;
        }
        if (!card) {
            if (!IsCardBoundary(line, "BEGIN")) {
                error = {number, "not a vCard: BEGIN:VCARD expected"};
                return false;
            }
            card = &cards.emplace_back();
            card->line = number;
            cardStart = offset;
        } else if (IsCardBoundary(line, "BEGIN")) {
            if (nesting++ == 0)
                ++card->nestedCards;
        } else if (IsCardBoundary(line, "END")) {
            if (nesting == 0)
                card = nullptr;
            else
                --nesting;
        } else if (nesting > 0) {
            continue;
        } else if (line.name == "VERSION") {
            card->version = line.value;
        } else {
            card->properties.push_back(std::move(line));
        }
    }
    if (card) {
        error = {card->line, "card without END:VCARD"};
        return false;
    }
    if (cards.empty()) {
        error = {0, "no vCard in it"};
        return false;
    }
    return true;
}

} // namespace vcard
