#include "vcard/CardReader.h"

#include <algorithm>

namespace vcard {

namespace {

bool IsAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsNameCharacter(char c) { return IsAsciiAlphanumeric(c) || c == '-' || c == '_'; }

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

// A piece of a header: up to the next ';' outside quotes, or the end.
struct HeaderPiece {
    std::size_t end = 0;
    std::size_t firstEquals = std::string_view::npos;
    std::size_t firstDot = std::string_view::npos;
    bool anyQuote = false;
};

// The piece that begins at `from`, found in one pass over its characters.
HeaderPiece PieceAt(std::string_view header, std::size_t from)
{
    HeaderPiece piece;
    bool quoted = false;
    std::size_t i = from;
    for (; i < header.size(); ++i) {
        const char c = header[i];
        if (c == '"') {
            quoted = !quoted;
            piece.anyQuote = true;
        } else if (c == ';' && !quoted) {
            break;
        } else if (c == '=' && piece.firstEquals == std::string_view::npos) {
            piece.firstEquals = i;
        } else if (c == '.' && piece.firstDot == std::string_view::npos) {
            piece.firstDot = i;
        }
    }
    piece.end = i;
    return piece;
}

void ParseParameter(std::string_view header, std::size_t start, const HeaderPiece& piece, Parameter& parameter)
{
    std::size_t valueStart = start;
    parameter.name.clear();
    if (piece.firstEquals != std::string_view::npos) {
        AssignUpperCase(parameter.name, header.substr(start, piece.firstEquals - start));
        valueStart = piece.firstEquals + 1;
    }
    parameter.value.assign(header.substr(valueStart, piece.end - valueStart));
    if (piece.anyQuote)
        std::erase(parameter.value, '"');
}

// Name and parameters of a line, from the text before its value. False
// when the name is not that of a property.
bool ParseHeader(std::string_view header, ContentLine& line)
{
    line.group.clear();
    // Most names are name characters up to the first ';' or the end: no group, no quote.
    std::size_t nameEnd = 0;
    while (nameEnd < header.size() && IsNameCharacter(header[nameEnd]))
        ++nameEnd;
    std::string_view name = header.substr(0, nameEnd);
    if (nameEnd < header.size() && header[nameEnd] != ';') {
        const HeaderPiece first = PieceAt(header, 0);
        nameEnd = first.end;
        name = header.substr(0, nameEnd);
        if (first.firstDot != std::string_view::npos) {
            line.group.assign(name.substr(0, first.firstDot));
            name.remove_prefix(first.firstDot + 1);
        }
        if (!std::all_of(name.begin(), name.end(), [](char c) { return IsNameCharacter(c); }))
            return false;
    }
    if (name.empty())
        return false;
    AssignUpperCase(line.name, name);
    std::size_t parameters = 0;
    for (std::size_t end = nameEnd; end < header.size();) {
        const std::size_t start = end + 1;
        const HeaderPiece piece = PieceAt(header, start);
        end = piece.end;
        if (end == start)
            continue;
        if (parameters == line.parameters.size())
            line.parameters.emplace_back();
        ParseParameter(header, start, piece, line.parameters[parameters++]);
    }
    line.parameters.resize(parameters);
    return true;
}

// How a line's value is encoded, as far as it decides which lines belong to it.
struct LineEncoding {
    bool quotedPrintable = false;
    bool base64 = false;
};

LineEncoding EncodingOf(const ContentLine& line)
{
    std::string_view encoding;
    LineEncoding bare;
    for (const Parameter& p : line.parameters) {
        if (p.name.empty()) {
            bare.quotedPrintable = bare.quotedPrintable || EqualsUpper(p.value, "QUOTED-PRINTABLE");
            bare.base64 = bare.base64 || EqualsUpper(p.value, "BASE64");
        } else if (!encoding.data() && std::string_view(p.name) == "ENCODING") {
            encoding = p.value;
        }
    }
    return {bare.quotedPrintable || EqualsUpper(encoding, "QUOTED-PRINTABLE"),
            bare.base64 || EqualsUpper(encoding, "BASE64")};
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
    std::string upper;
    AssignUpperCase(upper, text);
    return upper;
}

void AssignUpperCase(std::string& to, std::string_view text)
{
    to.resize(text.size());
    std::transform(text.begin(), text.end(), to.begin(), AsciiUpper);
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
    LineEncoding encoding;
    for (;;) {
        if (colon == std::string::npos) {
            colon = scan.Find(text);
            if (colon != std::string::npos) {
                if (!ParseHeader(text.substr(0, colon), line))
                    return false;
                encoding = EncodingOf(line);
            }
        }
        if (lines.AtEnd())
            break;
        const std::string_view next = lines.Peek();
        if (encoding.quotedPrintable && !text.empty() && text.back() == '=')
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
    if (encoding.base64) {
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
        const std::string_view next = lines.Peek();
        if ((next.empty() || next[0] == ' ' || next[0] == '\t') && next.find_first_not_of(" \t") == std::string_view::npos) {
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
