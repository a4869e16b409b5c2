#include "vcard/Charset.h"
#include "vcard/CardReader.h"

#include <algorithm>
#include <bit>
#include <cerrno>

namespace vcard {

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);
constexpr const char* Wide = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// Phones label text by the older, smaller charset and write the newer one;
// the superset reads both.
std::string IconvName(std::string_view charset)
{
    const std::string name = UpperCase(charset);
    if (name == "GB2312" || name == "GBK" || name == "CP936" || name == "EUC-CN")
        return "GB18030";
    if (name == "SHIFT_JIS" || name == "SHIFT-JIS" || name == "SJIS" || name == "MS_KANJI")
        return "CP932";
    if (name == "BIG5" || name == "BIG-5")
        return "CP950";
    return name;
}

// Whether ASCII bytes are the same characters in the charset: then ASCII
// text needs no conversion. ISO-2022, UTF-7 and UTF-16 are not of them.
bool KeepsAscii(const std::string& name)
{
    return name == "UTF-8" || name == "GB18030" || name == "US-ASCII" || name.rfind("ISO-8859", 0) == 0 ||
           name.rfind("WINDOWS-", 0) == 0 || name.rfind("CP", 0) == 0;
}

// Into the text's own storage: assigning the bytes' range would make a temporary copy.
void WidenAscii(std::string_view bytes, std::u16string& text)
{
    text.resize(bytes.size());
    std::copy(bytes.begin(), bytes.end(), text.begin());
}

// UTF-8 as iconv takes it, without its cost: false on a byte that begins
// no character, a sequence cut short, overlong forms, surrogates and code
// points past U+10FFFF.
bool DecodeUtf8(std::string_view bytes, std::u16string& text)
{
    unsigned char any = 0;
    for (const char byte : bytes)
        any |= static_cast<unsigned char>(byte);
    if (any < 0x80) {
        WidenAscii(bytes, text);
        return true;
    }
    text.resize(bytes.size());
    std::size_t units = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text[units++] = lead;
            ++i;
            continue;
        }
        const int extra = lead >= 0xC2 && lead <= 0xDF ? 1 : lead >= 0xE0 && lead <= 0xEF ? 2 : lead >= 0xF0 && lead <= 0xF4 ? 3 : -1;
        if (extra < 0 || bytes.size() - i <= std::size_t(extra))
            return false;
        char32_t c = lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t Least[] = {0, 0x80, 0x800, 0x10000};
        if (c < Least[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (c >= 0x10000) {
            text[units++] = char16_t(0xD800 + ((c - 0x10000) >> 10));
            text[units++] = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text[units++] = char16_t(c);
        }
        i += std::size_t(extra) + 1;
    }
    text.resize(units);
    return true;
}

} // namespace

CharsetDecoder::~CharsetDecoder()
{
    for (auto& [name, converter] : converters) {
        if (converter != NoConverter)
            iconv_close(converter);
    }
}

std::string CharsetDecoder::CodePageCharset(unsigned codePage)
{
    if (codePage == 65001)
        return "UTF-8";
    if (codePage == 54936)
        return "GB18030";
    return "CP" + std::to_string(codePage);
}

iconv_t CharsetDecoder::Converter(const std::string& charset)
{
    auto found = converters.find(charset);
    if (found == converters.end())
        found = converters.emplace(charset, iconv_open(Wide, charset.c_str())).first;
    return found->second;
}

bool CharsetDecoder::Decode(std::string_view charset, std::string_view bytes, std::u16string& text)
{
    text.clear();
    if (charset != lastNamed || lastNamed.empty()) {
        const std::string name = IconvName(charset);
        lastNamed = charset;
        lastConverter = Converter(name);
        lastKeepsAscii = KeepsAscii(name);
        lastIsUtf8 = name == "UTF-8";
    }
    if (lastIsUtf8 && lastConverter != NoConverter)
        return DecodeUtf8(bytes, text);
    const iconv_t converter = lastConverter;
    if (converter == NoConverter)
        return false;
    if (lastKeepsAscii && std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        WidenAscii(bytes, text);
        return true;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t units = 0;
    text.resize(bytes.size() + 1);
    for (bool flushing = false;;) {
        char* out = reinterpret_cast<char*>(text.data() + units);
        std::size_t outLeft = (text.size() - units) * sizeof(char16_t);
        const std::size_t room = outLeft;
        // The last call gives what the converter holds back: windows-1255 and
        // windows-1258 keep a letter until they know no combining mark follows.
        const bool done = (flushing ? iconv(converter, nullptr, nullptr, &out, &outLeft)
                                    : iconv(converter, &in, &inLeft, &out, &outLeft)) != std::size_t(-1);
        units += (room - outLeft) / sizeof(char16_t);
        // A few charsets make more than one UTF-16 unit of one byte.
        if (!done && errno == E2BIG) {
            text.resize(text.size() * 2);
            continue;
        }
        if (done && !flushing) {
            flushing = true;
            continue;
        }
        text.resize(units);
        return done && inLeft == 0;
    }
}

} // namespace vcard
