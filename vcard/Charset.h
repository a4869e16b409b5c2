// Strict conversion of a vCard value's bytes to UTF-16 through iconv: a
// charset that iconv does not know, or bytes that are not valid in it, are
// reported instead of being replaced.
#pragma once
#include <iconv.h>
#include <map>
#include <string>
#include <string_view>

namespace vcard {

class CharsetDecoder {
public:
    CharsetDecoder() = default;
    CharsetDecoder(const CharsetDecoder&) = delete;
    CharsetDecoder& operator=(const CharsetDecoder&) = delete;
    ~CharsetDecoder();

    // charset as a CHARSET parameter names it ("UTF-8", "GB2312", "Big5",
    // ...). False when the charset is unknown or the bytes are not text in it.
    bool Decode(std::string_view charset, std::string_view bytes, std::u16string& text);

    // The iconv name for an ANSI code page number (936 -> "CP936").
    static std::string CodePageCharset(unsigned codePage);

private:
    iconv_t Converter(const std::string& charset);

    std::map<std::string, iconv_t> converters;
    // The charset of the value before, as it was named: most values name the same.
    std::string lastNamed;
    iconv_t lastConverter = reinterpret_cast<iconv_t>(-1);
    bool lastKeepsAscii = false;
    bool lastIsUtf8 = false;
};

} // namespace vcard
