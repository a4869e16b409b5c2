#include "vcard/CardReader.h"

#include <algorithm>
#include <cctype>

namespace vcard {

namespace {

struct PhysicalLines {
    std::vector<std::string_view> text;
    std::size_t next = 0;

    bool AtEnd() const { return next >= text.size(); }
    int Number() const { return int(next) + 1; }
};

PhysicalLines SplitLines(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    PhysicalLines lines;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.text.push_back(line);
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return lines;
}

bool IsNameCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

// The first ':' that is not inside a quoted parameter value.
std::size_t ValueStart(std::string_view text)
{
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

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
// for quoted-printable, the lines joined by soft line breaks. 2.1 writes
// base64 as lines of their own up to an empty line; they belong to the value.
bool ReadContentLine(PhysicalLines& lines, ContentLine& line)
{
    line.line = lines.Number();
    std::string text(lines.text[lines.next++]);
    bool headerKnown = false;
    bool quotedPrintable = false;
    for (;;) {
        if (!headerKnown) {
            const std::size_t colon = ValueStart(text);
            if (colon != std::string::npos) {
                headerKnown = true;
                if (!ParseHeader(text, colon, line))
                    return false;
                quotedPrintable = UpperCase(line.Find("ENCODING")) == "QUOTED-PRINTABLE" ||
                                  line.HasBare("QUOTED-PRINTABLE");
            }
        }
        if (lines.AtEnd())
            break;
        const std::string_view next = lines.text[lines.next];
        if (quotedPrintable && !text.empty() && text.back() == '=') {
            text.pop_back();
            text += next;
        } else if (!next.empty() && (next[0] == ' ' || next[0] == '\t')) {
            text += next.substr(1);
        } else {
            break;
        }
        ++lines.next;
    }
    if (!headerKnown)
        return false;
    line.value = text.substr(ValueStart(text) + 1);
    const std::string encoding = UpperCase(line.Find("ENCODING"));
    if (encoding == "BASE64" || line.HasBare("BASE64")) {
        while (!lines.AtEnd() && !lines.text[lines.next].empty() && IsBase64Line(lines.text[lines.next]))
            line.value += lines.text[lines.next++];
        if (!lines.AtEnd() && lines.text[lines.next].empty())
            ++lines.next;
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
    PhysicalLines lines = SplitLines(bytes);
    RawCard* card = nullptr;
    int nesting = 0; // depth inside a card embedded in the current one
    while (!lines.AtEnd()) {
        if (lines.text[lines.next].find_first_not_of(" \t") == std::string_view::npos) {
            ++lines.next;
            continue;
        }
        ContentLine line;
        const int number = lines.Number();
        if (!ReadContentLine(lines, line)) {
            error = {number, card ? "not a vCard property line" : "not a vCard: BEGIN:VCARD expected"};
            return false;
        }
        if (!card) {
            if (!IsCardBoundary(line, "BEGIN")) {
                error = {number, "not a vCard: BEGIN:VCARD expected"};
                return false;
            }
            card = &cards.emplace_back();
            card->line = number;
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
