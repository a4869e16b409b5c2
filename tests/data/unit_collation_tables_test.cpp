// The two collation tables checked against the published GB2312/GBK code
// tables (glibc iconv) and the Unihan readings, and the generator's
// reproduction of the committed code table.
#include "data/HanziCodeTable.h"
#include "data/PinyinSyllableTable.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string Narrow(const char16_t* s) {
    std::string out;
    for (; *s; ++s)
        out += *s < 0x80 ? static_cast<char>(*s) : '?';
    return out;
}

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::optional<std::string> Convert(std::string in) {
        char out[16];
        char* inp = in.data();
        char* outp = out;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (cd_ == reinterpret_cast<iconv_t>(-1) ||
            iconv(cd_, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out, outp);
    }

private:
    iconv_t cd_;
};

// GB2312 code of an ideograph, lead byte high; none when outside GB2312.
std::optional<std::uint16_t> Gb2312Code(char16_t c) {
    static Converter toGb("GB2312", "UTF-16LE");
    auto out = toGb.Convert({static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)});
    if (!out || out->size() != 2)
        return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned char>((*out)[0]) << 8 |
                                      static_cast<unsigned char>((*out)[1]));
}

// The character a GBK code stands for, or 0.
char16_t GbkChar(std::uint16_t code) {
    static Converter fromGbk("UTF-16LE", "GBK");
    auto out = fromGbk.Convert({static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)});
    if (!out || out->size() != 2)
        return 0;
    return static_cast<char16_t>(static_cast<unsigned char>((*out)[0]) |
                                 static_cast<unsigned char>((*out)[1]) << 8);
}

bool IsGb2312Ideograph(std::uint16_t code) {
    return code >= 0xB0A1 && code <= 0xF7FE && (code & 0xFF) >= 0xA1 && (code & 0xFF) != 0xFF;
}

std::string SyllableOf(std::uint16_t code) {
    auto row = std::upper_bound(std::begin(PinyinSyllableTable), std::end(PinyinSyllableTable), code,
                                [](std::uint16_t c, const PinyinSyllable& r) { return c < r.firstCode; });
    return row == std::begin(PinyinSyllableTable) ? std::string() : Narrow(std::prev(row)->syllable);
}

std::uint16_t Entry(char16_t c) { return HanziCodeTable[c - HanziFirst]; }

TEST(PinyinSyllableTable, RowsAreDistinctSyllablesInIncreasingLevel1Order) {
    ASSERT_EQ(std::size(PinyinSyllableTable), 396u);
    EXPECT_EQ(Narrow(PinyinSyllableTable[0].syllable), "a");
    EXPECT_EQ(PinyinSyllableTable[0].firstCode, 0xB0A1);
    EXPECT_EQ(Narrow(PinyinSyllableTable[395].syllable), "zuo");
    EXPECT_EQ(PinyinSyllableTable[395].firstCode, 0xD7F2);

    std::set<std::string> seen;
    for (int i = 0; i < PinyinSyllableCount; ++i) {
        const PinyinSyllable& row = PinyinSyllableTable[i];
        std::string s = Narrow(row.syllable);
        SCOPED_TRACE(s);
        EXPECT_FALSE(s.empty());
        EXPECT_TRUE(std::all_of(s.begin(), s.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; }));
        EXPECT_TRUE(seen.insert(s).second) << "repeated";
        EXPECT_TRUE(IsGb2312Ideograph(row.firstCode) && row.firstCode <= 0xD7F9);
        if (i > 0) {
            EXPECT_LT(PinyinSyllableTable[i - 1].firstCode, row.firstCode);
        }
    }
    for (const char* s : {"lv", "nv", "lue", "nue"})
        EXPECT_TRUE(seen.count(s)) << s;
}

TEST(PinyinSyllableTable, FirstRowOfEachInitialLetter) {
    const std::map<char, std::pair<std::string, std::uint16_t>> expected = {
        {'a', {"a", 0xB0A1}},   {'b', {"ba", 0xB0C5}},  {'c', {"ca", 0xB2C1}},  {'d', {"da", 0xB4EE}},
        {'e', {"e", 0xB6EA}},   {'f', {"fa", 0xB7A2}},  {'g', {"ga", 0xB8C1}},  {'h', {"ha", 0xB9FE}},
        {'j', {"ji", 0xBBF7}},  {'k', {"ka", 0xBFA6}},  {'l', {"la", 0xC0AC}},  {'m', {"ma", 0xC2E8}},
        {'n', {"na", 0xC4C3}},  {'o', {"o", 0xC5B6}},   {'p', {"pa", 0xC5BE}},  {'q', {"qi", 0xC6DA}},
        {'r', {"ran", 0xC8BB}}, {'s', {"sa", 0xC8F6}},  {'t', {"ta", 0xCBFA}},  {'w', {"wa", 0xCDDA}},
        {'x', {"xi", 0xCEF4}},  {'y', {"ya", 0xD1B9}},  {'z', {"za", 0xD4D1}},
    };
    std::map<char, std::pair<std::string, std::uint16_t>> first;
    for (const PinyinSyllable& row : PinyinSyllableTable) {
        std::string s = Narrow(row.syllable);
        first.emplace(s[0], std::make_pair(s, row.firstCode));
    }
    EXPECT_EQ(first, expected);
}

// Tone-marked pinyin in UTF-8 to plain letters, u-umlaut as v; empty when
// the text holds anything else.
std::string PlainPinyin(std::string_view marked) {
    static const std::map<char32_t, char> bases = {
        {0x0101, 'a'}, {0x00E1, 'a'}, {0x01CE, 'a'}, {0x00E0, 'a'}, {0x0113, 'e'}, {0x00E9, 'e'},
        {0x011B, 'e'}, {0x00E8, 'e'}, {0x00EA, 'e'}, {0x1EBF, 'e'}, {0x1EC1, 'e'}, {0x012B, 'i'},
        {0x00ED, 'i'}, {0x01D0, 'i'}, {0x00EC, 'i'}, {0x014D, 'o'}, {0x00F3, 'o'}, {0x01D2, 'o'},
        {0x00F2, 'o'}, {0x016B, 'u'}, {0x00FA, 'u'}, {0x01D4, 'u'}, {0x00F9, 'u'}, {0x00FC, 'v'},
        {0x01D6, 'v'}, {0x01D8, 'v'}, {0x01DA, 'v'}, {0x01DC, 'v'}, {0x1E3F, 'm'}, {0x0144, 'n'},
        {0x0148, 'n'}, {0x01F9, 'n'},
    };
    std::string out;
    for (std::size_t i = 0; i < marked.size();) {
        auto b = static_cast<unsigned char>(marked[i]);
        int len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (i + len > marked.size())
            return {};
        char32_t c = len == 1 ? b : b & (0xFF >> (len + 1));
        for (int k = 1; k < len; ++k)
            c = c << 6 | (static_cast<unsigned char>(marked[i + k]) & 0x3F);
        i += len;
        if (c >= 'a' && c <= 'z')
            out += static_cast<char>(c);
        else if (c >= 'A' && c <= 'Z')
            out += static_cast<char>(c - 'A' + 'a');
        else if (c == 0x0308 && !out.empty() && out.back() == 'u')
            out.back() = 'v';
        else if (c >= 0x0300 && c <= 0x036F)
            continue;
        else if (auto it = bases.find(c); it != bases.end())
            out += it->second;
        else
            return {};
    }
    if (out == "lve" || out == "nve")
        out[1] = 'u';
    return out;
}

std::optional<std::string> ReadCommand(const std::string& cmd) {
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return std::nullopt;
    std::string text;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        text.append(buf, n);
    return pclose(p) == 0 ? std::optional(text) : std::nullopt;
}

// Mandarin readings of the ideographs U+4E00..U+9FA5 from the Unihan
// database: kMandarin and the Xiandai Hanyu Cidian readings.
class UnihanReadings : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto text = ReadCommand("bzcat /usr/share/unicode/Unihan_Readings.txt.bz2");
        if (!text)
            return;
        std::istringstream in(*text);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream fields(line);
            std::string cp, field, value;
            if (!(fields >> cp >> field) || (field != "kMandarin" && field != "kXHC1983"))
                continue;
            unsigned long c = std::strtoul(cp.c_str() + 2, nullptr, 16);
            if (c < HanziFirst || c > HanziLast)
                continue;
            while (fields >> value)
                if (std::string s = PlainPinyin(value.substr(value.rfind(':') + 1)); !s.empty())
                    readings_[static_cast<char16_t>(c)].insert(s);
        }
    }

    void SetUp() override { ASSERT_FALSE(readings_.empty()) << "Unihan_Readings (package unicode-data) missing"; }

    static bool Reads(char16_t c, const std::string& syllable) { return readings_[c].count(syllable) > 0; }

    static inline std::map<char16_t, std::set<std::string>> readings_;
};

// Checks every row boundary: a code one off would misread a character at
// the edge of its row. GB2312 files three characters under older readings.
TEST_F(UnihanReadings, EveryLevel1CharacterReadsOneOfItsReadings) {
    std::set<char16_t> misread;
    int checked = 0;
    for (std::uint16_t code = 0xB0A1; code <= 0xD7F9; ++code) {
        if ((code & 0xFF) < 0xA1 || (code & 0xFF) == 0xFF)
            continue;
        char16_t c = GbkChar(code);
        ASSERT_NE(c, 0) << std::hex << code;
        ++checked;
        if (!Reads(c, SyllableOf(code)))
            misread.insert(c);
    }
    EXPECT_EQ(checked, 3755);
    EXPECT_EQ(misread, (std::set<char16_t>{u'捕', u'嗽', u'迂'}));
}

// Ideographs outside GB2312 that take a level-1 form should mostly read
// like that form.
TEST_F(UnihanReadings, IdeographsTakingALevel1FormReadLikeIt) {
    int same = 0, total = 0;
    for (char16_t c = HanziFirst; c <= HanziLast; ++c) {
        std::uint16_t e = Entry(c);
        if (Gb2312Code(c) || !IsGb2312Ideograph(e) || e >= 0xD7F2)
            continue;
        ++total;
        same += Reads(c, SyllableOf(e));
    }
    EXPECT_GT(total, 1300);
    EXPECT_GE(same * 100, total * 95) << same << " of " << total;
}

TEST(HanziCodeTable, NamedIdeographsCarryTheirCodes) {
    const std::pair<char16_t, std::uint16_t> named[] = {
        {u'一', 0xD2BB}, {u'王', 0xCDF5}, {u'李', 0xC0EE}, {u'张', 0xD5C5}, {u'啊', 0xB0A1}, {u'阿', 0xB0A2},
        // GB2312 ideographs that take another character's code
        {u'捍', 0x9249}, {u'著', 0xD7C5},
        // traditional and variant forms take their GB2312 form's code
        {u'張', 0xD5C5}, {u'陳', 0xB3C2}, {u'劉', 0xC1F5}, {u'趙', 0xD5D4}, {u'丟', 0xB6AA}, {u'並', 0xB2A2},
        {u'亙', 0xD8A8}, {u'伋', 0xBCB3},
        // own GBK codes, among them one whose only variant is outside the BMP
        {u'丂', 0x8140}, {u'龥', 0xFD9B}, {u'皌', 0xB074},
    };
    for (auto [c, code] : named)
        EXPECT_EQ(Entry(c), code) << "U+" << std::hex << static_cast<unsigned>(c);
    EXPECT_EQ(std::size(HanziCodeTable), 20902u);
}

// Sorts every entry into the kinds the generator makes and checks that
// nothing else occurs.
TEST(HanziCodeTable, EveryEntryIsItsOwnCodeOrTheCodeOfAGb2312Form) {
    int ownGb2312 = 0, ownGbk = 0, level1 = 0, level2 = 0;
    std::vector<char16_t> substituted;
    for (char16_t c = HanziFirst; c <= HanziLast; ++c) {
        std::uint16_t e = Entry(c);
        char16_t meant = GbkChar(e);
        ASSERT_TRUE(meant >= HanziFirst && meant <= HanziLast) << std::hex << +c << " " << e;
        std::optional<std::uint16_t> gb = Gb2312Code(c);
        if (meant == c) {
            ++(gb ? ownGb2312 : ownGbk);
        } else if (gb) {
            substituted.push_back(c);
        } else {
            ASSERT_TRUE(IsGb2312Ideograph(e)) << std::hex << +c << " " << e;
            ++(e <= 0xD7FE ? level1 : level2);
        }
    }
    EXPECT_EQ(ownGb2312, 6761);
    EXPECT_EQ(substituted, (std::vector<char16_t>{u'捍', u'著'}));
    EXPECT_EQ(ownGbk, 11692);
    EXPECT_EQ(level1, 1429);
    EXPECT_EQ(level2, 1018);
    // The forms come from the Unihan variants, which link a few more
    // traditional characters to level-2 forms than the table this one
    // replaces did.
    EXPECT_NEAR(level1 + level2, 2471, 30);
    EXPECT_NEAR(ownGbk, 11668, 30);
}

TEST(HanziCodeTable, EntriesBySyllableRange) {
    int below = 0, inRange = 0, above = 0;
    for (std::uint16_t e : HanziCodeTable)
        ++(e < 0xB0A1 ? below : e < 0xD7F2 ? inRange : above);
    EXPECT_EQ(inRange, 8261);
    EXPECT_EQ(above, 6771);
    EXPECT_EQ(below, 5870);
    EXPECT_NEAR(inRange, 8331, 100);
    EXPECT_NEAR(above, 6746, 50);
    EXPECT_NEAR(below, 5825, 50);
}

int ExitCode(const std::string& cmd) {
    int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const fs::path& p) {
    std::string q(1, '\'');
    q += p.string();
    q += '\'';
    return q;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The generator is built beside this program: build/tests/data/<test>
// and build/tools/make_hanzi_table.
TEST(MakeHanziTable, RegeneratesTheCommittedTableByteForByte) {
    fs::path tool = fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() / "tools" /
                    "make_hanzi_table";
    if (!fs::exists(tool))
        GTEST_SKIP() << tool << " not built";
    fs::path committed = fs::path(CONTACTS_SOURCE_DIR) / "data" / "HanziCodeTable.cpp";
    fs::path dir = fs::temp_directory_path() / ("hanzi_table_" + std::to_string(getpid()));
    fs::create_directories(dir);

    fs::path generated = dir / "HanziCodeTable.cpp";
    ASSERT_EQ(ExitCode(Quote(tool) + " " + Quote(generated) + " 2>/dev/null"), 0);
    std::string text = ReadFile(generated);
    EXPECT_TRUE(text == ReadFile(committed)) << "regenerate with: " << tool << " " << committed;
    EXPECT_EQ(ExitCode(Quote(tool) + " --check " + Quote(committed) + " 2>/dev/null"), 0);

    std::string altered = text;
    altered[altered.find("0xD2BB") + 2] = 'E';
    std::ofstream(generated, std::ios::binary | std::ios::trunc) << altered;
    EXPECT_EQ(ExitCode(Quote(tool) + " --check " + Quote(generated) + " 2>/dev/null"), 1);
    EXPECT_EQ(ExitCode(Quote(tool) + " --variants " + Quote(dir / "missing.txt") + " " + Quote(generated) +
                  " 2>/dev/null"),
              1);
    fs::remove_all(dir);
}

} // namespace
