#include "platform/core/CodePage.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class CodePage936 : public ::testing::Test {
protected:
    void SetUp() override { ce::SetACP(936); }
    void TearDown() override { ce::SetACP(0); }
};

TEST_F(CodePage936, LatinAccentedAndChineseRoundTrip)
{
    const std::u16string text = u"Jos\u00e9 Mar\u00eda P\u00e9rez L\u00fc \u674e\u5c0f\u9f99 \u4e2d 123";
    std::string bytes = ce::WideToAnsi(text);
    EXPECT_EQ(ce::AnsiToWide(bytes), text);
    // GBK: two bytes per ideograph, ASCII unchanged.
    EXPECT_EQ(ce::WideToAnsi(u"\u4e2dA"), "\xD6\xD0" "A");
    EXPECT_EQ(ce::AnsiToWide("\xC0\xEE"), u"\u674e");
    EXPECT_EQ(ce::WideToAnsi(u""), "");
    EXPECT_EQ(ce::AnsiToWide(""), u"");
}

TEST_F(CodePage936, CharacterTheCodePageLacksBecomesOneQuestionMark)
{
    // Spanish n with tilde, Thai, an emoji (a surrogate pair) and a lone
    // surrogate.
    EXPECT_EQ(ce::WideToAnsi(u"Mu\u00f1oz"), "Mu?oz");
    EXPECT_EQ(ce::WideToAnsi(u"a\u0e01b"), "a?b");
    EXPECT_EQ(ce::WideToAnsi(u"x\U0001F600y\u4e2d"), "x?y\xD6\xD0");
    EXPECT_EQ(ce::WideToAnsi(u"\xDC00z\xD800"), "?z?");
}

TEST_F(CodePage936, InvalidBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(ce::AnsiToWide("A\xFF" "B"), u"A\uFFFDB");
    // A lead byte with a bad trail byte, and one cut off at the end.
    EXPECT_EQ(ce::AnsiToWide("A\x81\x20" "B"), u"A\uFFFD B");
    EXPECT_EQ(ce::AnsiToWide("\xD6\xD0\xD6"), u"\u4e2d\uFFFD");
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 7919) & 0xFF);
    std::u16string wide = ce::AnsiToWide(noise);
    EXPECT_FALSE(wide.empty());
    EXPECT_LE(wide.size(), noise.size());
}

TEST(CodePages, OtherCodePagesConvertAndUnknownOnesDegrade)
{
    EXPECT_EQ(ce::WideToMultiByte(950, u"\u4e2d"), "\xA4\xA4");
    EXPECT_EQ(ce::WideToMultiByte(1252, u"Jos\u00e9 \u20ac"), "Jos\xE9 \x80");
    EXPECT_EQ(ce::MultiByteToWide(1252, "\xE9"), u"\u00e9");
    EXPECT_EQ(ce::WideToMultiByte(1252, u"\u4e2d"), "?");
    EXPECT_EQ(ce::MultiByteToWide(ce::CP_UTF8, "\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3"), u"\u4e2d\U0001F600\uFFFD");
    EXPECT_EQ(ce::WideToMultiByte(ce::CP_UTF8, u"\u00e9"), "\xC3\xA9");
    EXPECT_EQ(ce::WideToMultiByte(12345, u"a\u00e9"), "a?");
    EXPECT_EQ(ce::MultiByteToWide(12345, "a\xE9"), u"a\uFFFD");
}

TEST(CodePages, LocaleChoosesTheAnsiCodePage)
{
    EXPECT_EQ(ce::CodePageFromLocale("zh_CN.UTF-8"), 936u);
    EXPECT_EQ(ce::CodePageFromLocale("zh_SG"), 936u);
    EXPECT_EQ(ce::CodePageFromLocale("zh_TW.UTF-8"), 950u);
    EXPECT_EQ(ce::CodePageFromLocale("zh_HK"), 950u);
    EXPECT_EQ(ce::CodePageFromLocale("ja_JP.eucJP"), 932u);
    EXPECT_EQ(ce::CodePageFromLocale("ko_KR"), 949u);
    EXPECT_EQ(ce::CodePageFromLocale("es_ES.UTF-8"), 1252u);
    EXPECT_EQ(ce::CodePageFromLocale("de_DE@euro"), 1252u);
    EXPECT_EQ(ce::CodePageFromLocale("pl_PL"), 1250u);
    EXPECT_EQ(ce::CodePageFromLocale("ru_RU.UTF-8"), 1251u);
    EXPECT_EQ(ce::CodePageFromLocale("C"), 936u);
    EXPECT_EQ(ce::CodePageFromLocale("POSIX"), 936u);
    EXPECT_EQ(ce::CodePageFromLocale("C.UTF-8"), 936u);
    EXPECT_EQ(ce::CodePageFromLocale(nullptr), 936u);

    // LC_ALL before LC_CTYPE before LANG, and the override before them all.
    unsetenv("CONTACTS_CODEPAGE");
    setenv("LC_ALL", "", 1);
    setenv("LC_CTYPE", "ja_JP.UTF-8", 1);
    setenv("LANG", "fr_FR.UTF-8", 1);
    ce::SetACP(0);
    EXPECT_EQ(ce::GetACP(), 932u);
    setenv("LC_ALL", "C", 1);
    ce::SetACP(0);
    EXPECT_EQ(ce::GetACP(), 936u);
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    ce::SetACP(0);
    EXPECT_EQ(ce::GetACP(), 1252u);
    setenv("CONTACTS_CODEPAGE", "950", 1);
    ce::SetACP(0);
    EXPECT_EQ(ce::GetACP(), 950u);
    unsetenv("CONTACTS_CODEPAGE");
    ce::SetACP(0);
}

} // namespace
