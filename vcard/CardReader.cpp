#include "vcard/CardReader.h"

#include <algorithm>

namespace vcard {

namespace {

// Names, types and encodings are ASCII: what the user's locale says of
// other bytes does not change how a file reads.
bool IsAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameCharacter(char c) { return IsAsciiAlphanumeric(c) || c == '-' || c == '_'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Finds the first ':' that is not inside a quoted parameter value, taking
// the text as it grows, each character once.
class ValueStartScan {
public:
    std::size_t Find(std::string_view text)
    {
        while (scanned < text.size()) {
            if (quoted) {
                const std::size_t quote = text.find('"', scanned);
                scanned = quote == std::string_view::npos ? text.size() : quote + 1;
                quoted = quote == std::string_view::npos;
                continue;
            }
            const std::size_t colon = std::min(text.find(':', scanned), text.size());
            const std::size_t quote = text.substr(0, colon).find('"', scanned);
            if (quote != std::string_view::npos) {
                scanned = quote + 1;
                quoted = true;
                continue;
            }
            scanned = colon;
            return colon < text.size() ? colon : std::string_view::npos;
        }
        return std::string_view::npos;
    }

private:
    std::size_t scanned = 0;
    bool quoted = false;
};

void AssignUpperCase(std::string& to, std::string_view text)
{
    to.assign(text);
    for (char& c : to)
        c = Upper(c);
}

void ParseParameter(std::string_view text, Parameter& parameter)
{
    const std::size_t equals = text.find('=');
    std::string_view value = text;
    parameter.name.clear();
    if (equals != std::string_view::npos) {
        AssignUpperCase(parameter.name, text.substr(0, equals));
        value = text.substr(equals + 1);
    }
    parameter.value.assign(value);
    if (value.find('"') != std::string_view::npos)
        std::erase(parameter.value, '"');
}

// Where the piece of a header that begins at `from` ends: at the next ';'
// outside quotes, or at the end.
std::size_t PieceEnd(std::string_view header, std::size_t from, bool anyQuote)
{
    if (!anyQuote)
        return std::min(header.find(';', from), header.size());
    bool quoted = false;
    std::size_t i = from;
    for (; i < header.size() && (header[i] != ';' || quoted); ++i) {
        if (header[i] == '"')
            quoted = !quoted;
    }
    return i;
}

// Name and parameters of a line, from the text before its value. False
// when the name is not that of a property.
bool ParseHeader(std::string_view header, ContentLine& line)
{
    const bool anyQuote = header.find('"') != std::string_view::npos;
    const std::size_t nameEnd = PieceEnd(header, 0, anyQuote);
    std::string_view name = header.substr(0, nameEnd);
    line.group.clear();
    if (const std::size_t dot = name.find('.'); dot != std::string_view::npos) {
        line.group.assign(name.substr(0, dot));
        name.remove_prefix(dot + 1);
    }
    if (name.empty() || !std::all_of(name.begin(), name.end(), IsNameCharacter))
        return false;
    AssignUpperCase(line.name, name);
    std::size_t parameters = 0;
    for (std::size_t end = nameEnd; end < header.size();) {
        const std::size_t start = end + 1;
        end = PieceEnd(header, start, anyQuote);
        const std::string_view piece = header.substr(start, end - start);
        if (piece.empty())
            continue;
        if (parameters == line.parameters.size())
            line.parameters.emplace_back();
        ParseParameter(piece, line.parameters[parameters++]);
    }
    line.parameters.resize(parameters);
    return true;
}

bool IsBase64Line(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) {
        return IsAsciiAlphanumeric(c) || c == '+' || c == '/' || c == '=' || c == ' ' ||
               c == '\t';
    });
}

bool IsCardBoundary(const ContentLine& line, std::string_view name)
{
    if (std::string_view(line.name) != name)
        return false;
    std::string_view value = line.value;
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    return EqualsUpper(value, "VCARD");
}

} // namespace

PhysicalLines::PhysicalLines(std::string_view bytes) : bytes(bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        start = 3;
    Find();
}

std::string_view PhysicalLines::Next()
{
    const std::string_view taken = line;
    start = std::min(end + 1, bytes.size());
    ++number;
    Find();
    return taken;
}

void PhysicalLines::Find()
{
    end = std::min(bytes.find('\n', start), bytes.size());
    line = bytes.substr(start, end - start);
    while (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
}

std::string UpperCase(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper)
        c = Upper(c);
    return upper;
}

bool EqualsUpper(std::string_view text, std::string_view upper)
{
    return text.size() == upper.size() &&
           std::equal(text.begin(), text.end(), upper.begin(), [](char a, char b) { return Upper(a) == b; });
}

std::string_view ContentLine::Find(std::string_view parameter) const
{
    for (const Parameter& p : parameters) {
        if (std::string_view(p.name) == parameter)
            return p.value;
    }
    return {};
}

bool ContentLine::HasBare(std::string_view value) const
{
    for (const Parameter& p : parameters) {
        if (p.name.empty() && EqualsUpper(p.value, value))
            return true;
    }
    return false;
}

// One content line: its first physical line, the folded lines behind it and,
// for quoted-printable, the lines joined by soft line breaks. 2.1 folds at
// white space and keeps it; 3.0 and 4.0 drop the one character that marks
// the fold. 2.1 writes base64 as lines of their own up to an empty line;
// they belong to the value.
bool CardStream::ReadContentLine(bool version21, ContentLine& line)
{
    line.line = lines.Number();
    // A line of one physical line is taken where it lies; only folded lines are joined.
    std::string_view text = lines.Next();
    bool joined = false;
    auto join = [&](std::string_view more, bool dropSoftBreak) {
        if (!joined)
            unfolded.assign(text);
        joined = true;
        if (dropSoftBreak)
            unfolded.pop_back();
        unfolded += more;
        text = unfolded;
    };
    ValueStartScan scan;
    std::size_t colon = std::string::npos;
    bool quotedPrintable = false;
    for (;;) {
        if (colon == std::string::npos) {
            colon = scan.Find(text);
            if (colon != std::string::npos) {
                if (!ParseHeader(text.substr(0, colon), line))
                    return false;
                quotedPrintable =
                    EqualsUpper(line.Find("ENCODING"), "QUOTED-PRINTABLE") || line.HasBare("QUOTED-PRINTABLE");
            }
        }
        if (lines.AtEnd())
            break;
        const std::string_view next = lines.Peek();
        if (quotedPrintable && !text.empty() && text.back() == '=')
            join(next, true);
        else if (!next.empty() && (next[0] == ' ' || next[0] == '\t'))
            join(version21 ? next : next.substr(1), false);
        else
            break;
        lines.Next();
    }
    if (colon == std::string::npos)
        return false;
    line.value.assign(text.substr(colon + 1));
    if (EqualsUpper(line.Find("ENCODING"), "BASE64") || line.HasBare("BASE64")) {
        while (!lines.AtEnd() && !lines.Peek().empty() && IsBase64Line(lines.Peek()))
            line.value += lines.Next();
        if (!lines.AtEnd() && lines.Peek().empty())
            lines.Next();
    }
    return true;
}

bool CardStream::Next(RawCard& card, ReadError& error)
{
    // Each line is read into a place of the card's properties, over a line
    // of the card before: one that is no property (BEGIN, END, VERSION) is
    // read into the place behind them and read over by the next.
    std::vector<ContentLine>& places = card.properties;
    std::size_t used = 0;
    auto place = [&]() -> ContentLine& {
        if (used == places.size()) {
            if (spare.empty()) {
                places.emplace_back();
            } else {
                places.push_back(std::move(spare.back()));
                spare.pop_back();
            }
        }
        return places[used];
    };
    // The card keeps the places of its properties; the others wait for a longer card.
    auto end = [&](bool read) {
        while (places.size() > used) {
            spare.push_back(std::move(places.back()));
            places.pop_back();
        }
        return read;
    };
    card.line = 0;
    card.version.clear();
    card.nestedCards = 0;
    bool open = false;
    std::size_t cardStart = 0; // offset of its BEGIN:VCARD
    int nesting = 0;           // depth inside a card embedded in the current one
    auto fail = [&](int line, std::string message) {
        error = {line, std::move(message)};
        failed = true;
        return end(false);
    };
    while (!lines.AtEnd() && !failed) {
        if (lines.Peek().find_first_not_of(" \t") == std::string_view::npos) {
            lines.Next();
            continue;
        }
        ContentLine& line = place();
        const int number = lines.Number();
        const std::size_t offset = lines.Offset();
        if (!ReadContentLine(open && std::string_view(card.version) == "2.1", line))
            return fail(number, open ? "not a vCard property line" : "not a vCard: BEGIN:VCARD expected");
        if (open && lines.Offset() - cardStart > MaxCardBytes)
            return fail(card.line, "card larger than " + std::to_string(MaxCardBytes >> 20) + " MiB");
        if (!open) {
            if (!IsCardBoundary(line, "BEGIN"))
                return fail(number, "not a vCard: BEGIN:VCARD expected");
            open = true;
            card.line = number;
            cardStart = offset;
        } else if (IsCardBoundary(line, "BEGIN")) {
            if (nesting++ == 0)
                ++card.nestedCards;
        } else if (IsCardBoundary(line, "END")) {
            if (nesting == 0) {
                anyCard = true;
                return end(true);
            }
            --nesting;
        } else if (nesting > 0) {
            continue;
        } else if (std::string_view(line.name) == "VERSION") {
            card.version = line.value;
        } else {
            ++used;
        }
    }
    if (failed)
        return end(false);
    if (open)
        return fail(card.line, "card without END:VCARD");
    if (!anyCard)
        return fail(0, "no vCard in it");
    return end(false);
}

bool ReadCards(std::string_view bytes, std::vector<RawCard>& cards, ReadError& error)
{
    CardStream stream(bytes);
    RawCard card;
    while (stream.Next(card, error))
        cards.push_back(std::move(card));
    return !stream.Failed();
}

} // namespace vcard
