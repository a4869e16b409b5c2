#include "platform/core/CodePage.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <string>

namespace ce {

namespace {

std::atomic<unsigned> g_acp{0};

constexpr const char* Wide = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// iconv descriptors are not thread-safe: every thread keeps its own pair per
// code page, opened on first use.
struct Converters {
    struct Entry {
        unsigned codePage = 0;
        iconv_t toWide = NoConverter;
        iconv_t fromWide = NoConverter;
    };
    Entry entries[4];
    unsigned next = 0;

    ~Converters()
    {
        for (Entry& e : entries) {
            if (e.toWide != NoConverter)
                iconv_close(e.toWide);
            if (e.fromWide != NoConverter)
                iconv_close(e.fromWide);
        }
    }

    Entry& Get(unsigned codePage)
    {
        for (Entry& e : entries) {
            if (e.codePage == codePage)
                return e;
        }
        Entry& e = entries[next++ % 4];
        if (e.toWide != NoConverter)
            iconv_close(e.toWide);
        if (e.fromWide != NoConverter)
            iconv_close(e.fromWide);
        std::string name = codePage == CP_UTF8       ? "UTF-8"
                           : codePage == CP_GB18030 ? "GB18030"
                                                    : "CP" + std::to_string(codePage);
        e.codePage = codePage;
        e.toWide = iconv_open(Wide, name.c_str());
        e.fromWide = iconv_open(name.c_str(), Wide);
        return e;
    }
};

thread_local Converters t_converters;

unsigned Resolve(unsigned codePage) { return codePage == CP_ACP ? GetACP() : codePage; }

bool IsAscii(const unsigned char* p, std::size_t n)
{
    unsigned char any = 0;
    for (std::size_t i = 0; i < n; ++i)
        any |= p[i];
    return any < 0x80;
}

bool IsAscii(const char16_t* p, std::size_t n)
{
    char16_t any = 0;
    for (std::size_t i = 0; i < n; ++i)
        any |= p[i];
    return any < 0x80;
}


// One call of iconv on what is left of the input; with none left, the call
// that gives what the converter still holds back (1255 and 1258 keep a
// letter until they know that no combining mark follows it).
std::size_t Convert(iconv_t cd, char*& src, std::size_t& srcLeft, char*& dst, std::size_t& dstLeft)
{
    return srcLeft > 0 ? iconv(cd, &src, &srcLeft, &dst, &dstLeft) : iconv(cd, nullptr, nullptr, &dst, &dstLeft);
}

// Decodes with iconv; false where a sequence is not valid (some
// converters step over part of it, so the caller goes character by character).
bool Decode(iconv_t cd, std::string_view bytes, std::u16string& out)
{
    out.assign(bytes.size(), u'\0');
    std::size_t units = 0;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(bytes.data());
    std::size_t srcLeft = bytes.size();
    for (bool flushed = false; !flushed;) {
        // Every code page here makes at most one UTF-16 unit per byte, except
        // four-byte sequences; keep room for a pair.
        if (out.size() - units < 2)
            out.resize(out.size() + 8);
        char* dst = reinterpret_cast<char*>(out.data() + units);
        std::size_t dstLeft = (out.size() - units) * 2;
        const std::size_t before = dstLeft;
        flushed = srcLeft == 0;
        const std::size_t r = Convert(cd, src, srcLeft, dst, dstLeft);
        units += (before - dstLeft) / 2;
        if (r != std::size_t(-1))
            continue;
        if (errno != E2BIG)
            return false;
        flushed = false;
        out.resize(out.size() + out.size() / 2 + 8);
    }
    out.resize(units);
    return true;
}

// Encodes with iconv (no converter: every non-ASCII unit is '?'); an
// undecodable-byte unit becomes its byte, a character the code page lacks
// '?', a surrogate pair counting as one character.
std::string Encode(iconv_t cd, unsigned codePage, std::u16string_view text)
{
    std::string out(text.size() * (codePage == CP_UTF8 || codePage == CP_GB18030 ? 4 : 2), '\0');
    std::size_t bytes = 0;
    if (cd == NoConverter) {
        for (char16_t c : text) {
            if (IsUndecodableByte(c))
                out[bytes++] = char(c - 0xDC00);
            else if (c < 0xDC00 || c > 0xDFFF)
                out[bytes++] = c < 0x80 ? char(c) : '?';
        }
        out.resize(bytes);
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t srcLeft = text.size() * 2;
    for (bool flushed = false; !flushed;) {
        if (out.size() - bytes < 4)
            out.resize(out.size() + 16);
        char* dst = out.data() + bytes;
        std::size_t dstLeft = out.size() - bytes;
        const std::size_t before = dstLeft;
        flushed = srcLeft == 0;
        const std::size_t r = Convert(cd, src, srcLeft, dst, dstLeft);
        bytes += before - dstLeft;
        if (r != std::size_t(-1))
            continue;
        flushed = false;
        if (errno == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 16);
            continue;
        }
        if (srcLeft == 0)
            break;
        char16_t unit;
        std::memcpy(&unit, src, 2);
        std::size_t skip = 2;
        char written = '?';
        if (IsUndecodableByte(unit)) {
            written = char(unit - 0xDC00);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && srcLeft >= 4) {
            char16_t low;
            std::memcpy(&low, src + 2, 2);
            if (low >= 0xDC00 && low <= 0xDFFF && !IsUndecodableByte(low))
                skip = 4;
        }
        if (out.size() == bytes)
            out.resize(out.size() + 16);
        out[bytes++] = written;
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(bytes);
    return out;
}

// One character at a time: the bytes of a sequence that does not decode, or
// of a character that does not encode back to them, are kept as undecodable.
// A character is the shortest run of bytes (at most four) that decodes whole.
std::u16string DecodeCheckingEach(Converters::Entry& converters, unsigned codePage, std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    iconv_t cd = converters.toWide;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        char16_t units[4];
        std::size_t produced = 0, consumed = 0;
        for (std::size_t length = 1; length <= std::min<std::size_t>(4, bytes.size() - pos); ++length) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            char* src = const_cast<char*>(bytes.data() + pos);
            std::size_t srcLeft = length;
            char* dst = reinterpret_cast<char*>(units);
            std::size_t dstLeft = sizeof units;
            if (Convert(cd, src, srcLeft, dst, dstLeft) == std::size_t(-1)) {
                if (errno == EINVAL)
                    continue; // the start of a longer sequence
                break;
            }
            if (Convert(cd, src, srcLeft, dst, dstLeft) == std::size_t(-1))
                break;
            produced = (sizeof units - dstLeft) / 2;
            consumed = length;
            if (produced > 0)
                break;
        }
        const std::string_view original = bytes.substr(pos, consumed);
        if (produced > 0 && Encode(converters.fromWide, codePage, std::u16string_view(units, produced)) == original) {
            out.append(units, produced);
        } else {
            consumed = std::max<std::size_t>(consumed, 1);
            for (std::size_t i = 0; i < consumed; ++i) {
                const auto byte = static_cast<unsigned char>(bytes[pos + i]);
                out.push_back(byte < 0x80 ? char16_t(byte) : UndecodableByteUnit(byte));
            }
        }
        pos += consumed;
    }
    return out;
}
} // namespace

unsigned CodePageFromLocale(const char* locale)
{
    std::string name = locale ? locale : "";
    std::string lang = name.substr(0, name.find_first_of("_.@"));
    std::string territory;
    if (std::size_t u = name.find('_'); u != std::string::npos)
        territory = name.substr(u + 1, name.find_first_of(".@", u) - u - 1);
    if (lang == "zh")
        return territory == "TW" || territory == "HK" || territory == "MO" ? 950 : 936;
    struct Rule {
        const char* languages;
        unsigned codePage;
    };
    static constexpr Rule Rules[] = {
        {" ja ", 932},
        {" ko ", 949},
        {" en fr de es it pt nl da sv no nb nn fi is ca eu gl ga gd cy af id ms sw oc br fo lb rm wa fy ast an ",
         1252},
        {" pl cs sk hu sl hr ro sq bs ", 1250},
        {" ru uk be bg mk sr kk ky mn tt ", 1251},
        {" el ", 1253},
        {" tr az ", 1254},
        {" he iw yi ", 1255},
        {" ar fa ur ", 1256},
        {" et lv lt ", 1257},
        {" vi ", 1258},
        {" th ", 874},
    };
    if (!lang.empty()) {
        std::string key = " " + lang + " ";
        for (const Rule& rule : Rules) {
            if (std::strstr(rule.languages, key.c_str()))
                return rule.codePage;
        }
    }
    // C, POSIX and languages without an ANSI code page of their own: 936
    // holds both Latin and Chinese names.
    return 936;
}

unsigned GetACP()
{
    unsigned cp = g_acp.load(std::memory_order_acquire);
    if (cp != 0)
        return cp;
    const char* over = std::getenv("CONTACTS_CODEPAGE");
    if (over && *over && std::strtoul(over, nullptr, 10) > 0) {
        cp = unsigned(std::strtoul(over, nullptr, 10));
    } else {
        const char* locale = nullptr;
        for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            locale = std::getenv(var);
            if (locale && *locale)
                break;
        }
        cp = CodePageFromLocale(locale);
    }
    g_acp.store(cp, std::memory_order_release);
    return cp;
}

void SetACP(unsigned codePage) { g_acp.store(codePage, std::memory_order_release); }

std::u16string MultiByteToWide(unsigned codePage, std::string_view bytes)
{
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    if (IsAscii(in, bytes.size()))
        return std::u16string(in, in + bytes.size());
    const unsigned cp = Resolve(codePage);
    Converters::Entry& converters = t_converters.Get(cp);
    if (converters.toWide == NoConverter || converters.fromWide == NoConverter) {
        std::u16string out(bytes.size(), u'\0');
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out[i] = in[i] < 0x80 ? in[i] : UndecodableByteUnit(in[i]);
        return out;
    }
    // Nearly always the text decodes and encodes back to its bytes; where it
    // does not (an invalid sequence, two sequences of one character), each
    // character is checked.
    std::u16string out;
    if (!Decode(converters.toWide, bytes, out) || Encode(converters.fromWide, cp, out) != bytes)
        out = DecodeCheckingEach(converters, cp, bytes);
    return out;
}

std::string WideToMultiByte(unsigned codePage, std::u16string_view text)
{
    if (IsAscii(text.data(), text.size())) {
        std::string out(text.size(), '\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            out[i] = char(text[i]);
        return out;
    }
    const unsigned cp = Resolve(codePage);
    return Encode(t_converters.Get(cp).fromWide, cp, text);
}

std::string WideToAnsi(std::u16string_view text) { return WideToMultiByte(CP_ACP, text); }

std::u16string AnsiToWide(std::string_view bytes) { return MultiByteToWide(CP_ACP, bytes); }

bool CanStore(std::u16string_view text, unsigned codePage)
{
    return MultiByteToWide(codePage, WideToMultiByte(codePage, text)) == text;
}

} // namespace ce
