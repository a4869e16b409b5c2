// Generates data/HanziCodeTable.cpp: the GB code of every ideograph from
// U+4E00 to U+9FA5, for the pinyin collation of names.
//
//   make_hanzi_table [--variants FILE] OUTPUT     write the table
//   make_hanzi_table [--variants FILE] --check FILE
//                                                 exit 0 when FILE is exactly
//                                                 what would be written
//
// FILE defaults to /usr/share/unicode/Unihan_Variants.txt.bz2 (Debian
// package unicode-data); a name ending in .bz2 is read through bzcat. The
// counts of each kind of entry go to standard error.
//
// An entry is, in this order of preference:
//   1. the ideograph's own GB2312 code, unless the exception list says
//      otherwise;
//   2. for an ideograph outside GB2312, the GB2312 code of its simplified or
//      standard form: the exception list first, then the first form named by
//      the Unihan variant fields below (in this order, each field's forms in
//      the order listed) that is an ideograph of GB2312;
//   3. the ideograph's own GBK code.
// The pinyin syllable table covers GB2312 level 1 only, so this way a
// traditional or variant form reads like the simplified character it
// stands for.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char32_t First = 0x4E00;
constexpr char32_t Last = 0x9FA5;
constexpr int Count = Last - First + 1;

constexpr std::uint16_t Level1Last = 0xD7FE;
constexpr std::uint16_t SyllableFirst = 0xB0A1;
constexpr std::uint16_t SyllableLastRowCode = 0xD7F2; // first code of zuo

const char* const DefaultVariants = "/usr/share/unicode/Unihan_Variants.txt.bz2";

// Variant fields that name a simplified or standard form, by preference.
// Not used: kTraditionalVariant points the other way; kSemanticVariant
// links some six hundred more ideographs to characters that are merely
// interchangeable in meaning; kSpoofingVariant only looks alike, and most
// of its forms read differently.
constexpr std::array<std::string_view, 3> VariantFields = {
    "kSimplifiedVariant",
    "kZVariant",
    "kSpecializedSemanticVariant",
};

// Forms the variant data does not give. The entry takes the code of the
// form: its GB2312 code, or its GBK code when the form is outside GB2312.
struct Exception {
    char32_t ideograph;
    char32_t form;
};
constexpr std::array<Exception, 4> Exceptions = {{
    {0x634D, 0x625E}, // 捍 takes the code of its variant 扞
    {0x8457, 0x7740}, // 著 reads like 着
    {0x4E99, 0x4E98}, // 亙 is 亘; the variant data has no entry for it
    {0x4F0B, 0x6C72}, // 伋 reads ji like 汲
}};

class Encoder {
public:
    explicit Encoder(const char* charset) : converter(iconv_open(charset, "UTF-16LE")) {}
    ~Encoder() {
        if (ok())
            iconv_close(converter);
    }
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    bool ok() const { return converter != reinterpret_cast<iconv_t>(-1); }

    // The two-byte code of a BMP character, lead byte high, if it has one.
    std::optional<std::uint16_t> Encode(char32_t c) {
        if (c > 0xFFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        char out[8];
        char* inp = in;
        char* outp = out;
        std::size_t inLeft = sizeof in;
        std::size_t outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) ||
            outp - out != 2)
            return std::nullopt;
        return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                          static_cast<unsigned char>(out[1]));
    }

private:
    iconv_t converter;
};

bool IsGb2312Ideograph(std::uint16_t code) {
    return (code >> 8) >= 0xB0 && (code >> 8) <= 0xF7 && (code & 0xFF) >= 0xA1 &&
           (code & 0xFF) <= 0xFE;
}

// Per ideograph, per variant field, the forms in the order listed.
using Variants = std::map<char32_t, std::map<std::string, std::vector<char32_t>>>;

std::optional<std::string> ReadAll(const std::string& path) {
    std::string text;
    if (path.size() > 4 && path.ends_with(".bz2")) {
        if (path.find('\'') != std::string::npos)
            return std::nullopt;
        FILE* p = popen(("bzcat '" + path + "'").c_str(), "r");
        if (!p)
            return std::nullopt;
        char buf[65536];
        std::size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            text.append(buf, n);
        if (pclose(p) != 0)
            return std::nullopt;
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return std::nullopt;
        std::ostringstream s;
        s << in.rdbuf();
        text = s.str();
    }
    return text;
}

std::optional<char32_t> ParseCodePoint(std::string_view s) {
    if (!s.starts_with("U+"))
        return std::nullopt;
    char32_t c = 0;
    std::size_t i = 2;
    for (; i < s.size(); ++i) {
        char h = s[i];
        int d = h >= '0' && h <= '9'   ? h - '0'
                : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                       : -1;
        if (d < 0)
            break;
        c = c * 16 + static_cast<char32_t>(d);
    }
    if (i == 2)
        return std::nullopt;
    return c;
}

// Lines: "U+8457<TAB>kSimplifiedVariant<TAB>U+7740 U+8457", a form may carry
// "<source,source" after it.
Variants ParseVariants(const std::string& text) {
    Variants v;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string cp, field, form;
        if (!(fields >> cp >> field))
            continue;
        auto c = ParseCodePoint(cp);
        if (!c || *c < First || *c > Last)
            continue;
        auto& forms = v[*c][field];
        while (fields >> form)
            if (auto f = ParseCodePoint(form))
                forms.push_back(*f);
    }
    return v;
}

enum Kind { OwnGb2312, Substituted, MappedLevel1, MappedLevel2, OwnGbk, KindCount };

struct Table {
    std::vector<std::uint16_t> codes;
    std::array<int, KindCount> kinds{};
};

std::optional<Table> Build(const Variants& variants) {
    Encoder gb2312("GB2312");
    Encoder gbk("GBK");
    if (!gb2312.ok() || !gbk.ok()) {
        std::cerr << "make_hanzi_table: iconv lacks GB2312 or GBK\n";
        return std::nullopt;
    }
    auto gb2312Code = [&](char32_t c) -> std::optional<std::uint16_t> {
        auto code = gb2312.Encode(c);
        if (code && IsGb2312Ideograph(*code))
            return code;
        return std::nullopt;
    };

    Table t;
    t.codes.resize(Count);
    for (char32_t c = First; c <= Last; ++c) {
        std::uint16_t& entry = t.codes[c - First];
        auto own = gb2312Code(c);
        std::optional<std::uint16_t> form;
        for (const Exception& e : Exceptions)
            if (e.ideograph == c) {
                form = gb2312Code(e.form);
                if (!form)
                    form = gbk.Encode(e.form);
            }
        if (own) {
            entry = form ? *form : *own;
            ++t.kinds[form ? Substituted : OwnGb2312];
            continue;
        }
        if (!form)
            if (auto it = variants.find(c); it != variants.end())
                for (std::string_view field : VariantFields) {
                    auto f = it->second.find(std::string(field));
                    if (f == it->second.end())
                        continue;
                    for (char32_t target : f->second)
                        if (target != c && (form = gb2312Code(target)))
                            break;
                    if (form)
                        break;
                }
        if (form) {
            entry = *form;
            ++t.kinds[*form <= Level1Last ? MappedLevel1 : MappedLevel2];
            continue;
        }
        auto own_gbk = gbk.Encode(c);
        if (!own_gbk) {
            std::cerr << "make_hanzi_table: no GBK code for U+" << std::hex
                      << static_cast<unsigned>(c) << "\n";
            return std::nullopt;
        }
        entry = *own_gbk;
        ++t.kinds[OwnGbk];
    }
    return t;
}

std::string Render(const Table& t) {
    std::string s =
        "// Generated by tools/make_hanzi_table; do not edit. To regenerate, from\n"
        "// the source root with the tool of a build directory:\n"
        "//   build/tools/make_hanzi_table data/HanziCodeTable.cpp\n"
        "// It reads the GB2312 and GBK codes from iconv and the simplified and\n"
        "// standard forms from /usr/share/unicode/Unihan_Variants.txt.bz2.\n"
        "#include \"data/HanziCodeTable.h\"\n"
        "\n"
        "const std::uint16_t HanziCodeTable[HanziCodeCount] = {\n";
    char buf[16];
    for (int i = 0; i < Count; ++i) {
        s += i % 16 == 0 ? "    " : " ";
        std::snprintf(buf, sizeof buf, "0x%04X,", t.codes[i]);
        s += buf;
        if (i % 16 == 15 || i == Count - 1) {
            std::snprintf(buf, sizeof buf, " // U+%04X", static_cast<unsigned>(First + i / 16 * 16));
            s += buf;
            s += '\n';
        }
    }
    s += "};\n";
    return s;
}

void PrintCounts(const Table& t) {
    int inRange = 0, above = 0, below = 0;
    for (std::uint16_t c : t.codes) {
        if (c < SyllableFirst)
            ++below;
        else if (c < SyllableLastRowCode)
            ++inRange;
        else
            ++above;
    }
    auto line = [](const char* what, int got, int expected) {
        std::fprintf(stderr, "  %-44s %6d  (expected %d)\n", what, got, expected);
    };
    std::fprintf(stderr, "make_hanzi_table: %d entries\n", Count);
    line("own GB2312 code", t.kinds[OwnGb2312], 6761);
    line("GB2312 ideograph with another code", t.kinds[Substituted], 2);
    line("code of a GB2312 form", t.kinds[MappedLevel1] + t.kinds[MappedLevel2], 2471);
    line("  of which level 1", t.kinds[MappedLevel1], 1510);
    line("  of which level 2", t.kinds[MappedLevel2], 961);
    line("own GBK code", t.kinds[OwnGbk], 11668);
    line("in the syllable range 0xB0A1..0xD7F1", inRange, 8331);
    line("at or above 0xD7F2", above, 6746);
    line("below 0xB0A1", below, 5825);
}

int Usage() {
    std::cerr << "usage: make_hanzi_table [--variants FILE] OUTPUT\n"
                 "       make_hanzi_table [--variants FILE] --check FILE\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string variantsPath = DefaultVariants;
    std::string output;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (a == "--variants" && i + 1 < argc)
            variantsPath = argv[++i];
        else if (a == "--check" && i + 1 < argc && output.empty()) {
            check = true;
            output = argv[++i];
        } else if (!a.starts_with("-") && output.empty())
            output = a;
        else
            return Usage();
    }
    if (output.empty())
        return Usage();

    auto text = ReadAll(variantsPath);
    if (!text) {
        std::cerr << "make_hanzi_table: cannot read " << variantsPath << "\n";
        return 1;
    }
    auto table = Build(ParseVariants(*text));
    if (!table)
        return 1;
    PrintCounts(*table);
    std::string rendered = Render(*table);

    if (check) {
        auto existing = ReadAll(output);
        if (!existing || *existing != rendered) {
            std::cerr << "make_hanzi_table: " << output << " differs from the generated table\n";
            return 1;
        }
        std::cerr << "make_hanzi_table: " << output << " is up to date\n";
        return 0;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << rendered;
    out.close();
    if (!out) {
        std::cerr << "make_hanzi_table: cannot write " << output << "\n";
        return 1;
    }
    return 0;
}
