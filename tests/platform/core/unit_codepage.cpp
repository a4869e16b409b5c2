#include "platform/core/CodePage.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(CodePages, MissingCharactersAndUnknownCodePages)
{
    // Characters 936 lacks, an emoji (a surrogate pair) and lone surrogates are one '?' each.
    EXPECT_EQ(ce::WideToMultiByte(936, u"Mu\u00f1oz a\u0e01b"), "Mu?oz a?b");
    EXPECT_EQ(ce::WideToMultiByte(936, u"x\U0001F600y\u4e2d"), "x?y\xD6\xD0");
    EXPECT_EQ(ce::WideToMultiByte(936, u"\xDC00z\xD800"), "?z?");
    EXPECT_EQ(ce::WideToMultiByte(950, u"\u4e2d"), "\xA4\xA4");
    EXPECT_EQ(ce::WideToMultiByte(1252, u"Jos\u00e9 \u20ac\u4e2d"), "Jos\xE9 \x80?");
    // A code page the system cannot convert keeps only ASCII, and its bytes all the same.
    EXPECT_EQ(ce::WideToMultiByte(12345, u"a\u00e9"), "a?");
    EXPECT_EQ(ce::WideToMultiByte(12345, ce::MultiByteToWide(12345, "a\xE9")), "a\xE9");
    EXPECT_FALSE(ce::CanStore(u"é", 12345));
}

TEST(CodePages, ConvertersThatHoldALetterGiveItAtTheEnd)
{
    // 1255 and 1258 keep a letter back until they know no combining mark follows it.
    EXPECT_EQ(ce::MultiByteToWide(1255, "\xF9\xEC\xE5\xED"), u"\u05e9\u05dc\u05d5\u05dd");
    EXPECT_EQ(ce::MultiByteToWide(1258, "Vi\xEA\xF2t"), u"Vi\u1ec7t");
    EXPECT_EQ(ce::MultiByteToWide(1258, "ca\xE0"), u"ca\u00e0");
    EXPECT_EQ(ce::MultiByteToWide(1255, "\xF9\xFF\xF9"),
              std::u16string({u'\u05e9', ce::UndecodableByteUnit(0xFF), u'\u05e9'}));
}

TEST(CodePages, LocaleChoosesTheAnsiCodePage)
{
    for (auto [locale, cp] : {std::pair{"zh_CN.UTF-8", 936u}, {"zh_TW.UTF-8", 950u}, {"ja_JP.eucJP", 932u},
                              {"ko_KR", 949u}, {"de_DE@euro", 1252u}, {"pl_PL", 1250u}, {"ru_RU.UTF-8", 1251u},
                              {"C", 936u}, {"C.UTF-8", 936u}})
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
