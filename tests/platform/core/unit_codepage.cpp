#include "platform/core/CodePage.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class CodePage936 : public ::testing::Test {
protected:
    void SetUp() override { ce::SetACP(936); }
    void TearDown() override { ce::SetACP(0); }
};

TEST_F(CodePage936, RoundTripAndQuestionMarkForMissingCharacters)
{
    const std::u16string text = u"Jos\u00e9 Mar\u00eda P\u00e9rez L\u00fc \u674e\u5c0f\u9f99 \u4e2d 123";
    EXPECT_EQ(ce::AnsiToWide(ce::WideToAnsi(text)), text);
    EXPECT_EQ(ce::WideToAnsi(u"\u4e2dA"), "\xD6\xD0" "A");
    EXPECT_EQ(ce::AnsiToWide("\xC0\xEE"), u"\u674e");
    // n with tilde, Thai, an emoji (a surrogate pair) and lone surrogates.
    EXPECT_EQ(ce::WideToAnsi(u"Mu\u00f1oz"), "Mu?oz");
    EXPECT_EQ(ce::WideToAnsi(u"a\u0e01b"), "a?b");
    EXPECT_EQ(ce::WideToAnsi(u"x\U0001F600y\u4e2d"), "x?y\xD6\xD0");
    EXPECT_EQ(ce::WideToAnsi(u"\xDC00z\xD800"), "?z?");
}

TEST_F(CodePage936, CanStoreTellsWhatTheDataFileKeeps)
{
    // 936 keeps Chinese, the pinyin vowels and Russian, not n with tilde,
    // Ukrainian yi, characters beyond the basic plane or lone surrogates;
    // 1252 the other way round. A question mark is kept as itself.
    EXPECT_TRUE(ce::CanStore(u"王 José Müller Ж ?"));
    for (std::u16string_view lost : {u"ñ", u"ї", u"𠮷", u"Ø42", u"ßB7"})
        EXPECT_FALSE(ce::CanStore(lost)) << int(lost[0]);
    EXPECT_TRUE(ce::CanStore(u"Núñez ¿Qué? €", 1252));
    EXPECT_FALSE(ce::CanStore(u"王", 1252));
    EXPECT_FALSE(ce::CanStore(u"é", 12345)) << "a code page the system cannot convert keeps only ASCII";
    EXPECT_TRUE(ce::CanStore(u"abc", 12345));
}

TEST_F(CodePage936, UndecodableBytesAreKeptAndWrittenBack)
{
    const auto kept = [](unsigned char byte) { return ce::UndecodableByteUnit(byte); };
    EXPECT_EQ(ce::AnsiToWide("A\xFF" "B"), std::u16string({u'A', kept(0xFF), u'B'}));
    EXPECT_EQ(ce::AnsiToWide("A\x81\x20" "B"), std::u16string({u'A', kept(0x81), u' ', u'B'})); // bad trail byte
    EXPECT_EQ(ce::AnsiToWide("\xD6\xD0\xD6"), std::u16string({u'\u4e2d', kept(0xD6)}));     // lead byte cut off
    for (const char* bytes : {"A\xFF" "B", "A\x81\x20" "B", "\xD6\xD0\xD6", "\x80\xFE\xFF\x81"})
        EXPECT_EQ(ce::WideToAnsi(ce::AnsiToWide(bytes)), bytes);
    // Only units that stand for a byte are written as one; other lone
    // surrogates stay '?'.
    EXPECT_EQ(ce::WideToAnsi(std::u16string({u'\xDC7F', kept(0x80), u'\xD800', kept(0xA1)})), "?\x80?\xA1");
    std::string noise;
    for (int i = 0; i < 4096; ++i)
        noise += char((i * 7919) & 0xFF);
    EXPECT_EQ(ce::WideToAnsi(ce::AnsiToWide(noise)), noise);
}

TEST(CodePages, GB18030StoresEveryCharacterAndKeepsGbkBytes)
{
    const std::u16string mixed = u"N\u00fa\u00f1ez \u738b \u0416 \U0001F600";
    const std::string stored = ce::WideToMultiByte(ce::CP_GB18030, mixed);
    EXPECT_EQ(stored.find('?'), std::string::npos);
    EXPECT_EQ(ce::MultiByteToWide(ce::CP_GB18030, stored), mixed);
    // GBK text, and the single byte 0x80 that GBK reads as the euro sign.
    const std::string gbk = "\xCD\xF5\xD0\xA1\xC3\xF7 \x80 \xA1\xA4\xA1\xAA \x81\x40";
    EXPECT_EQ(ce::WideToMultiByte(ce::CP_GB18030, ce::MultiByteToWide(ce::CP_GB18030, gbk)), gbk);
    EXPECT_EQ(ce::MultiByteToWide(ce::CP_GB18030, "\xCD\xF5"), u"\u738b");
}

TEST(CodePages, OtherAndUnknownCodePages)
{
    EXPECT_EQ(ce::WideToMultiByte(950, u"\u4e2d"), "\xA4\xA4");
    EXPECT_EQ(ce::WideToMultiByte(1252, u"Jos\u00e9 \u20ac\u4e2d"), "Jos\xE9 \x80?");
    EXPECT_EQ(ce::MultiByteToWide(ce::CP_UTF8, "\xE4\xB8\xAD\xF0\x9F\x98\x80\xC3"),
              u"\u4e2d\U0001F600" + std::u16string(1, ce::UndecodableByteUnit(0xC3)));
    // A code page the system cannot convert keeps its bytes all the same.
    EXPECT_EQ(ce::WideToMultiByte(12345, u"a\u00e9"), "a?");
    EXPECT_EQ(ce::MultiByteToWide(12345, "a\xE9"), std::u16string({u'a', ce::UndecodableByteUnit(0xE9)}));
    EXPECT_EQ(ce::WideToMultiByte(12345, ce::MultiByteToWide(12345, "a\xE9")), "a\xE9");
}

TEST(CodePages, ConvertersThatHoldALetterGiveItAtTheEnd)
{
    // 1255 and 1258 keep a letter back until they know no combining mark follows it.
    EXPECT_EQ(ce::MultiByteToWide(1255, "\xF9\xEC\xE5\xED"), u"\u05e9\u05dc\u05d5\u05dd");
    EXPECT_EQ(ce::MultiByteToWide(1258, "Vi\xEA\xF2t"), u"Vi\u1ec7t");
    EXPECT_EQ(ce::MultiByteToWide(1258, "ca\xE0"), u"ca\u00e0");
    EXPECT_EQ(ce::WideToMultiByte(1258, u"Vi\u1ec7t"), "Vi\xEA\xF2t");
    // A byte no letter stands for is still kept, beside letters held back.
    EXPECT_EQ(ce::MultiByteToWide(1255, "\xF9\xFF\xF9"),
              std::u16string({u'\u05e9', ce::UndecodableByteUnit(0xFF), u'\u05e9'}));
}

TEST(CodePages, LocaleChoosesTheAnsiCodePage)
{
    for (auto [locale, cp] : {std::pair{"zh_CN.UTF-8", 936u}, {"zh_TW.UTF-8", 950u}, {"ja_JP.eucJP", 932u},
                              {"ko_KR", 949u}, {"de_DE@euro", 1252u}, {"pl_PL", 1250u}, {"ru_RU.UTF-8", 1251u},
                              {"C", 936u}, {"POSIX", 936u}, {"C.UTF-8", 936u}})
        EXPECT_EQ(ce::CodePageFromLocale(locale), cp) << locale;
    EXPECT_EQ(ce::CodePageFromLocale(nullptr), 936u);

    // LC_ALL before LC_CTYPE before LANG, and the override before them all.
    auto acp = [](const char* all, const char* ctype, const char* lang, const char* over) {
        for (auto [name, value] : {std::pair{"LC_ALL", all}, {"LC_CTYPE", ctype}, {"LANG", lang}, {"CONTACTS_CODEPAGE", over}})
            value ? setenv(name, value, 1) : unsetenv(name);
        ce::SetACP(0);
        return ce::GetACP();
    };
    EXPECT_EQ(acp("", "ja_JP.UTF-8", "fr_FR.UTF-8", nullptr), 932u);
    EXPECT_EQ(acp("C", "ja_JP.UTF-8", "fr_FR.UTF-8", nullptr), 936u);
    EXPECT_EQ(acp(nullptr, nullptr, "fr_FR.UTF-8", nullptr), 1252u);
    EXPECT_EQ(acp("C", nullptr, nullptr, "950"), 950u);
    acp(nullptr, nullptr, nullptr, nullptr);
}

} // namespace
