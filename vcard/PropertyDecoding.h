// A content line's value as text: quoted-printable and charset decoded,
// escapes undone, structured values split, types and preference collected.
#pragma once
#include "vcard/CardReader.h"
#include "vcard/Charset.h"

#include <string>
#include <vector>

namespace vcard {

// The preference of a property that states none; PREF=1 is the most preferred.
constexpr int NotPreferred = 1000;

struct Property {
    int line = 0;
    std::string name;                      // upper case, without group
    std::vector<std::string> types;        // upper case: TYPE values and 2.1 bare types, PREF aside
    int preference = NotPreferred;
    std::vector<std::u16string> components; // one for a plain value; N, ADR, ORG: each component
    std::u16string label;                   // the LABEL parameter of an address
    int slot = 0;                           // the e-mail position this program wrote, 1 to 3; 0 none
    bool binary = false;                    // inline binary data: not decoded
    std::string valueType;                  // VALUE parameter, upper case
    std::string omitYear;                   // the year that stands for "no year" in BDAY

    bool HasType(std::string_view type) const;
    std::u16string_view Text() const { return components.empty() ? std::u16string_view() : components.front(); }
    bool IsEmpty() const;
};

class PropertyDecoder {
public:
    // Text without a CHARSET in a 2.1 card that is not UTF-8 is read in the
    // ANSI code page, as the desktop programs of that time wrote it.
    explicit PropertyDecoder(unsigned ansiCodePage) : ansiCharset(CharsetDecoder::CodePageCharset(ansiCodePage)) {}

    // False for broken quoted-printable, an unknown charset or bytes that are
    // not text in the charset. The property's storage is reused: decoding
    // into the property of an earlier line of the same shape allocates nothing.
    bool Decode(const ContentLine& line, const std::string& version, Property& property, ReadError& error);

private:
    CharsetDecoder charsets;
    std::string ansiCharset;
    std::string bytes;  // a quoted-printable value decoded
    std::u16string text; // the value's text before its escapes are undone
};

// Quoted-printable to bytes; false on a '=' not followed by two hex digits.
bool DecodeQuotedPrintable(std::string_view text, std::string& bytes);

} // namespace vcard
