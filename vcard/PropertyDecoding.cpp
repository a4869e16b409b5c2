#include "vcard/PropertyDecoding.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vcard {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Properties whose value may be inline data given as a data: URI.
bool IsMediaProperty(const ContentLine& line, const Property& property)
{
    const std::string_view name = line.name;
    return name == "PHOTO" || name == "LOGO" || name == "SOUND" || name == "KEY" ||
           std::string_view(property.valueType) == "URI";
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && UpperCase(text.substr(0, prefix.size())) == UpperCase(prefix);
}

// What a backslash and `c` stand for, or 0 when the backslash is text. 2.1
// escapes only separators and backslashes; in 3.0 and 4.0 a backslash before
// any other character ("http\\://", as mail programs write links) is dropped.
char16_t Unescaped(char16_t c, bool version21)
{
    switch (c) {
    case u'\\':
    case u';':
    case u',':
        return c;
    case u'n':
    case u'N':
        return version21 ? 0 : u'\n';
    default:
        return version21 ? 0 : c;
    }
}

// Calls `piece` with every piece between separators that no backslash
// escapes; the pieces keep their escapes.
template <class Piece>
void ForEachPiece(std::u16string_view text, char16_t separator, Piece&& piece)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\')
            ++i;
        else if (text[i] == separator) {
            piece(text.substr(start, i - start));
            start = i + 1;
        }
    }
    piece(text.substr(std::min(start, text.size())));
}

void AppendUnescaped(std::u16string& plain, std::u16string_view text, bool version21)
{
    for (std::size_t i = text.find(u'\\'); i != std::u16string_view::npos; i = text.find(u'\\')) {
        plain.append(text.substr(0, i));
        const char16_t c = i + 1 < text.size() ? Unescaped(text[i + 1], version21) : 0;
        if (c) {
            plain += c;
            text.remove_prefix(i + 2);
        } else {
            plain += u'\\';
            text.remove_prefix(i + 1);
        }
    }
    plain.append(text);
}

// A 3.0 or 4.0 address component may itself be a list ("Apt 2,Main St"):
// its items joined as the address field joins components.
void AppendJoinedList(std::u16string& joined, std::u16string_view component)
{
    const std::size_t start = joined.size();
    ForEachPiece(component, u',', [&](std::u16string_view item) {
        if (item.empty())
            return;
        if (joined.size() > start)
            joined += u", ";
        AppendUnescaped(joined, item, false);
    });
}

// The next component of the property, empty; the storage of the one that
// stood there before is kept.
std::u16string& NextComponent(Property& property, std::size_t& count)
{
    if (count == property.components.size())
        property.components.emplace_back();
    std::u16string& component = property.components[count++];
    component.clear();
    return component;
}

// CR LF and a lone CR are one line break, kept as the LF that export writes back.
void NormalizeLineBreaks(std::u16string& text)
{
    std::size_t out = text.find(u'\r');
    if (out == std::u16string::npos)
        return;
    for (std::size_t i = out; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            text[out++] = u'\n';
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
}

// Undoes the quoting of 4.0 parameter values: ^n, ^^ and ^'.
std::string CaretUnescaped(std::string_view text)
{
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 'N' || next == '^' || next == '\'') {
                plain += next == '^' ? '^' : next == '\'' ? '"' : '\n';
                ++i;
                continue;
            }
        }
        plain += text[i];
    }
    return plain;
}

// What the parameters of a line say of its value: the first of each name
// this program reads (a null view when none), and the encodings given bare.
struct ValueParameters {
    std::string_view value, omitYear, slot, encoding, charset, label;
    bool bareBase64 = false, bareB = false, bareQuotedPrintable = false;
};

void TakeFirst(std::string_view& first, const std::string& value)
{
    if (!first.data())
        first = value;
}

// The line's parameters in one pass; types and preference go into the property.
void ReadParameters(const ContentLine& line, Property& property, ValueParameters& found)
{
    static constexpr std::pair<std::string_view, std::string_view ValueParameters::*> FirstTaken[] = {
        {"ENCODING", &ValueParameters::encoding}, {"CHARSET", &ValueParameters::charset},
        {"VALUE", &ValueParameters::value},       {"LABEL", &ValueParameters::label},
        {"X-APPLE-OMIT-YEAR", &ValueParameters::omitYear}, {"X-CONTACTS-SLOT", &ValueParameters::slot},
    };
    // In the order of the bits of KnownType.
    static constexpr std::string_view Known[KnownTypeCount] = {"HOME", "WORK", "VOICE", "FAX",  "CELL",
                                                               "PAGER", "MSG", "VIDEO", "BBS",  "MODEM",
                                                               "CAR",  "ISDN", "PCS",  "TEXT", "TEXTPHONE"};
    auto addList = [&property](std::string_view list) {
        while (!list.empty()) {
            const std::size_t comma = list.find(',');
            const std::string_view word = list.substr(0, comma);
            if (EqualsUpper(word, "PREF"))
                property.preference = std::min(property.preference, 1);
            for (int bit = 0; bit < KnownTypeCount; ++bit) {
                if (EqualsUpper(word, Known[bit])) {
                    property.types |= 1u << bit;
                    break;
                }
            }
            list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
        }
    };
    for (const Parameter& p : line.parameters) {
        const std::string_view name = p.name;
        if (name.empty()) {
            // 2.1 writes types and encodings bare, types also as a list ("TEL;FAX,WORK").
            addList(p.value);
            found.bareBase64 = found.bareBase64 || EqualsUpper(p.value, "BASE64");
            found.bareB = found.bareB || EqualsUpper(p.value, "B");
            found.bareQuotedPrintable = found.bareQuotedPrintable || EqualsUpper(p.value, "QUOTED-PRINTABLE");
        } else if (name == "TYPE") {
            addList(p.value);
        } else if (name == "PREF") {
            const int rank = std::atoi(p.value.c_str());
            property.preference = std::min(property.preference, rank > 0 ? rank : 1);
        } else {
            for (const auto& [taken, member] : FirstTaken) {
                if (name == taken) {
                    TakeFirst(found.*member, p.value);
                    break;
                }
            }
        }
    }
}

} // namespace

bool Property::IsEmpty() const
{
    return !binary && label.empty() &&
           std::all_of(components.begin(), components.end(), [](const std::u16string& c) { return c.empty(); });
}

bool DecodeQuotedPrintable(std::string_view text, std::string& bytes)
{
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            bytes += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0)
            return false;
        bytes += char(high * 16 + low);
        i += 2;
    }
    return true;
}

bool PropertyDecoder::Decode(const ContentLine& line, const std::string& version, Property& property,
                             ReadError& error)
{
    property.line = line.line;
    property.name = line.name;
    property.types = 0;
    property.preference = NotPreferred;
    property.label.clear();
    property.binary = false;
    ValueParameters found;
    ReadParameters(line, property, found);
    AssignUpperCase(property.valueType, found.value);
    property.omitYear = found.omitYear;
    property.slot = found.slot.empty() ? 0 : std::atoi(std::string(found.slot).c_str());

    const std::string_view encoding = found.encoding;
    if (EqualsUpper(encoding, "BASE64") || EqualsUpper(encoding, "B") || found.bareBase64 || found.bareB ||
        std::string_view(property.valueType) == "BINARY" ||
        (IsMediaProperty(line, property) && StartsWithNoCase(line.value, "data:"))) {
        property.binary = true;
        property.components.clear();
        return true;
    }

    std::string_view value = line.value;
    if (EqualsUpper(encoding, "QUOTED-PRINTABLE") || found.bareQuotedPrintable) {
        if (!DecodeQuotedPrintable(line.value, bytes)) {
            error = {line.line, "broken quoted-printable value of " + line.name};
            return false;
        }
        value = bytes;
    }

    const bool version21 = std::string_view(version) == "2.1";
    const std::string_view charset = found.charset;
    if (!charset.empty()) {
        if (!charsets.Decode(charset, value, text)) {
            error = {line.line, "the value of " + line.name + " is not text in the charset " + std::string(charset)};
            return false;
        }
    } else if (!charsets.Decode("UTF-8", value, text) && !(version21 && charsets.Decode(ansiCharset, value, text))) {
        error = {line.line, "the value of " + line.name + " is not UTF-8 text and names no CHARSET"};
        return false;
    }

    // Most values hold neither a CR nor a backslash: one pass over the text
    // tells, and then it is taken as it is.
    bool lineBreak = false, escape = false;
    for (const char16_t unit : text) {
        lineBreak |= unit == u'\r';
        escape |= unit == u'\\';
    }
    if (lineBreak)
        NormalizeLineBreaks(text);
    auto unescaped = [&](std::u16string& into, std::u16string_view piece) {
        if (escape)
            AppendUnescaped(into, piece, version21);
        else
            into.append(piece);
    };
    std::size_t components = 0;
    const std::string_view name = property.name;
    if (name == "N" || name == "ORG" || name == "ADR") {
        // 2.1 has no value lists: a comma in its address is text.
        const bool lists = name == "ADR" && !version21;
        ForEachPiece(text, u';', [&](std::u16string_view component) {
            std::u16string& into = NextComponent(property, components);
            if (lists)
                AppendJoinedList(into, component);
            else
                unescaped(into, component);
        });
    } else {
        unescaped(NextComponent(property, components), text);
    }
    property.components.resize(components);

    const std::string_view label = found.label;
    if (!label.empty()) {
        if (!charsets.Decode("UTF-8", CaretUnescaped(label), text)) {
            error = {line.line, "the LABEL of " + line.name + " is not UTF-8 text"};
            return false;
        }
        AppendUnescaped(property.label, text, version21);
    }
    return true;
}

} // namespace vcard
