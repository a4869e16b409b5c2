// A content line's value as text: quoted-printable and charset decoded,
// escapes undone, structured values split, types and preference collected.
#pragma once
#include "vcard/CardReader.h"
#include "vcard/Charset.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vcard {

// The preference of a property that states none; PREF=1 is the most preferred.
constexpr int NotPreferred = 1000;

// The types this program tells apart, as the bits of Property::types; any
// other type says nothing to it.
enum KnownType : std::uint32_t {
    TypeHome = 1u << 0, TypeWork = 1u << 1, TypeVoice = 1u << 2, TypeFax = 1u << 3, TypeCell = 1u << 4,
    TypePager = 1u << 5, TypeMsg = 1u << 6, TypeVideo = 1u << 7, TypeBbs = 1u << 8, TypeModem = 1u << 9,
    TypeCar = 1u << 10, TypeIsdn = 1u << 11, TypePcs = 1u << 12, TypeText = 1u << 13, TypeTextphone = 1u << 14,
};
constexpr int KnownTypeCount = 15;

struct Property {
    int line = 0;
    std::string name;                      // upper case, without group
    std::uint32_t types = 0;               // KnownType bits of TYPE values and 2.1 bare types
    int preference = NotPreferred;
    std::vector<std::u16string> components; // one for a plain value; N, ADR, ORG: each component
    std::u16string label;                   // the LABEL parameter of an address
    int slot = 0;                           // the e-mail position this program wrote, 1 to 3; 0 none
    bool binary = false;                    // inline binary data: not decoded
    std::string valueType;                  // VALUE parameter, upper case
    std::string omitYear;                   // the year that stands for "no year" in BDAY

    bool HasType(KnownType type) const { return (types & type) != 0; }
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
