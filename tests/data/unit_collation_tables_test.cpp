// The two collation tables checked against the GB2312/GBK code tables of
// glibc iconv, and the generator's reproduction of the committed table.
#include "data/HanziCodeTable.h"
#include "data/PinyinSyllableTable.h"
#include "tests/common/Files.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Two bytes converted by iconv; none when the conversion fails or does not
// give two bytes.
std::optional<std::uint16_t> Convert(iconv_t cd, unsigned char first, unsigned char second)
{
    char in[2] = {char(first), char(second)}, out[8];
    char *inp = in, *outp = out;
    std::size_t inLeft = 2, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == std::size_t(-1) || outp - out != 2)
        return std::nullopt;
    return std::uint16_t((unsigned char)out[0] << 8 | (unsigned char)out[1]);
}

// GB2312 code of an ideograph, lead byte high.
std::optional<std::uint16_t> Gb2312Code(char16_t c)
{
    static iconv_t cd = iconv_open("GB2312", "UTF-16BE");
    return Convert(cd, c >> 8, c & 0xFF);
}

// The character a GBK code stands for, or 0.
char16_t GbkChar(std::uint16_t code)
{
    static iconv_t cd = iconv_open("UTF-16BE", "GBK");
    return Convert(cd, code >> 8, code & 0xFF).value_or(0);
}

bool IsGb2312Ideograph(std::uint16_t code)
{
    return code >= 0xB0A1 && code <= 0xF7FE && (code & 0xFF) >= 0xA1 && (code & 0xFF) != 0xFF;
}

// Rows out of order or repeated, the name order and candidates tests catch.
TEST(PinyinSyllableTable, SyllablesAreLowerCaseLettersStartingInLevel1)
{
    std::set<std::u16string_view> seen;
    for (const PinyinSyllable& row : PinyinSyllableTable) {
        const std::u16string_view s = row.syllable;
        ASSERT_FALSE(s.empty());
        EXPECT_EQ(s.find_first_not_of(u"abcdefghijklmnopqrstuvwxyz"), s.npos) << ce::Utf16ToUtf8(s);
        EXPECT_TRUE(IsGb2312Ideograph(row.firstCode) && row.firstCode <= 0xD7F9) << ce::Utf16ToUtf8(s);
        seen.insert(s);
    }
    for (const char16_t* s : {u"lv", u"nv", u"lue", u"nue"})
        EXPECT_TRUE(seen.count(s)) << ce::Utf16ToUtf8(s);
}

// Every entry is the character's own code or the code of a GB2312 form;
// only two GB2312 ideographs take another's.
TEST(HanziCodeTable, EveryEntryIsItsOwnCodeOrThatOfAGb2312Form)
{
    std::vector<char16_t> substituted;
    for (char16_t c = HanziFirst; c <= HanziLast; ++c) {
        const std::uint16_t e = HanziCodeTable[c - HanziFirst];
        const char16_t meant = GbkChar(e);
        ASSERT_TRUE(meant >= HanziFirst && meant <= HanziLast) << std::hex << +c << " " << e;
        const bool gb = Gb2312Code(c).has_value();
        if (meant != c && gb) {
            substituted.push_back(c);
        } else if (meant != c) {
            ASSERT_TRUE(IsGb2312Ideograph(e)) << std::hex << +c << " " << e;
        }
    }
    EXPECT_EQ(substituted, (std::vector<char16_t>{u'捍', u'著'}));
}

int ExitCode(const std::string& cmd)
{
    const int status = std::system((cmd + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The generator is built beside this program: build/tests/data/<test>
// and build/tools/make_hanzi_table.
TEST(MakeHanziTable, RegeneratesTheCommittedTableByteForByte)
{
    const fs::path tool = fs::read_symlink("/proc/self/exe").parent_path().parent_path().parent_path() / "tools" /
                          "make_hanzi_table";
    if (!fs::exists(tool))
        GTEST_SKIP() << tool << " not built";
    const fs::path committed = fs::path(CONTACTS_SOURCE_DIR) / "data" / "HanziCodeTable.cpp";
    const fs::path dir = fs::temp_directory_path() / ("hanzi_table_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path generated = dir / "HanziCodeTable.cpp";
    auto q = [](const fs::path& p) { return "'" + p.string() + "'"; };

    ASSERT_EQ(ExitCode(q(tool) + " " + q(generated)), 0);
    std::string text = ReadHostFile(generated);
    EXPECT_TRUE(text == ReadHostFile(committed)) << "regenerate with: " << tool << " " << committed;
    EXPECT_EQ(ExitCode(q(tool) + " --check " + q(committed)), 0);

    text[text.find("0xD2BB") + 2] = 'E';
    std::ofstream(generated, std::ios::binary | std::ios::trunc) << text;
    EXPECT_EQ(ExitCode(q(tool) + " --check " + q(generated)), 1);
    EXPECT_EQ(ExitCode(q(tool) + " --variants " + q(dir / "missing.txt") + " " + q(generated)), 1);
    fs::remove_all(dir);
}

} // namespace
