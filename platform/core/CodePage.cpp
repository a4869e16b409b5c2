#include "platform/core/CodePage.h"

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

constexpr const char* kWide = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// iconv descriptors are not thread-safe: every thread keeps its own pair per
// code page, opened on first use.
struct Converters {
    struct Entry {
        unsigned codePage = 0;
        iconv_t toWide = kNoConverter;
        iconv_t fromWide = kNoConverter;
    };
    Entry entries[4];
    unsigned next = 0;

    ~Converters()
    {
        for (Entry& e : entries) {
            if (e.toWide != kNoConverter)
                iconv_close(e.toWide);
            if (e.fromWide != kNoConverter)
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
        if (e.toWide != kNoConverter)
            iconv_close(e.toWide);
        if (e.fromWide != kNoConverter)
            iconv_close(e.fromWide);
        std::string name = codePage == CP_UTF8 ? "UTF-8" : "CP" + std::to_string(codePage);
        e.codePage = codePage;
        e.toWide = iconv_open(kWide, name.c_str());
        e.fromWide = iconv_open(name.c_str(), kWide);
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
    static constexpr Rule kRules[] = {
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
        for (const Rule& rule : kRules) {
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
    std::u16string out(bytes.size(), u'\0');
    if (IsAscii(in, bytes.size())) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            out[i] = in[i];
        return out;
    }
    iconv_t cd = t_converters.Get(Resolve(codePage)).toWide;
    std::size_t units = 0;
    if (cd == kNoConverter) {
        for (unsigned char b : bytes)
            out[units++] = b < 0x80 ? b : u'\xFFFD';
        out.resize(units);
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(bytes.data());
    std::size_t srcLeft = bytes.size();
    while (srcLeft > 0) {
        // Every code page here makes at most one UTF-16 unit per byte, except
        // UTF-8's four-byte sequences; keep room for a pair.
        if (out.size() - units < 2)
            out.resize(out.size() + 8);
        char* dst = reinterpret_cast<char*>(out.data() + units);
        std::size_t dstLeft = (out.size() - units) * 2;
        std::size_t before = dstLeft;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        units += (before - dstLeft) / 2;
        if (r != std::size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 8);
            continue;
        }
        // An invalid or truncated sequence: one replacement per byte.
        if (out.size() == units)
            out.resize(out.size() + 8);
        out[units++] = u'\xFFFD';
        ++src;
        --srcLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(units);
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
    unsigned cp = Resolve(codePage);
    std::string out(text.size() * (cp == CP_UTF8 ? 3 : 2), '\0');
    std::size_t bytes = 0;
    iconv_t cd = t_converters.Get(cp).fromWide;
    if (cd == kNoConverter) {
        for (char16_t c : text) {
            if (c < 0xDC00 || c > 0xDFFF)
                out[bytes++] = c < 0x80 ? char(c) : '?';
        }
        out.resize(bytes);
        return out;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
    std::size_t srcLeft = text.size() * 2;
    while (srcLeft > 0) {
        if (out.size() - bytes < 4)
            out.resize(out.size() + 16);
        char* dst = out.data() + bytes;
        std::size_t dstLeft = out.size() - bytes;
        std::size_t before = dstLeft;
        std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        bytes += before - dstLeft;
        if (r != std::size_t(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() + out.size() / 2 + 16);
            continue;
        }
        // A character the code page lacks, or a lone surrogate: one '?' per
        // character, so a surrogate pair is skipped whole.
        char16_t unit;
        std::memcpy(&unit, src, 2);
        std::size_t skip = 2;
        if (unit >= 0xD800 && unit <= 0xDBFF && srcLeft >= 4) {
            char16_t low;
            std::memcpy(&low, src + 2, 2);
            if (low >= 0xDC00 && low <= 0xDFFF)
                skip = 4;
        }
        if (out.size() == bytes)
            out.resize(out.size() + 16);
        out[bytes++] = '?';
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(bytes);
    return out;
}

std::string WideToAnsi(std::u16string_view text) { return WideToMultiByte(CP_ACP, text); }

std::u16string AnsiToWide(std::string_view bytes) { return MultiByteToWide(CP_ACP, bytes); }

bool CanStore(std::u16string_view text, unsigned codePage)
{
    return MultiByteToWide(codePage, WideToMultiByte(codePage, text)) == text;
}

} // namespace ce
