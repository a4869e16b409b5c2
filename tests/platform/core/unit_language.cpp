#include "platform/core/System.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(UiLanguage, LocaleNamesMapToLanguageIds)
{
    EXPECT_EQ(ce::LanguageIdFromLocale("es_ES.UTF-8"), 0x0c0a);
    EXPECT_EQ(ce::LanguageIdFromLocale("en_US"), 0x0409);
    EXPECT_EQ(ce::LanguageIdFromLocale("en_GB.UTF-8"), 0x0809);
    EXPECT_EQ(ce::LanguageIdFromLocale("zh_CN.GB18030"), 0x0804);
    EXPECT_EQ(ce::LanguageIdFromLocale("zh_TW"), 0x0404);
    EXPECT_EQ(ce::LanguageIdFromLocale("de_AT@euro"), 0x0c07);
    EXPECT_EQ(ce::LanguageIdFromLocale("pt_BR"), 0x0416);
    // A known language in a territory not listed: its main id.
    EXPECT_EQ(ce::LanguageIdFromLocale("es_GQ"), 0x0c0a);
    EXPECT_EQ(ce::LanguageIdFromLocale("fr"), 0x040c);
    EXPECT_EQ(ce::LanguageIdFromLocale("C"), 0);
    EXPECT_EQ(ce::LanguageIdFromLocale("POSIX"), 0);
    EXPECT_EQ(ce::LanguageIdFromLocale("xx_YY"), 0);
    EXPECT_EQ(ce::LanguageIdFromLocale(""), 0);
    EXPECT_EQ(ce::MAKELANGID(0x0a, 3), 0x0c0a);
    EXPECT_EQ(ce::PRIMARYLANGID(0x0c0a), 0x0a);
}

TEST(UiLanguage, EnvironmentOrderAndOverride)
{
    unsetenv("CONTACTS_UI_LANGUAGE");
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
    setenv("LANG", "es_ES.UTF-8", 1);
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0804);
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0409);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0c0a);
    setenv("LANG", "C.UTF-8", 1);
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0c0a);
    unsetenv("LANG");
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0c0a);

    setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0c0a);
    setenv("CONTACTS_UI_LANGUAGE", "not-hex", 1);
    EXPECT_EQ(ce::GetUserDefaultUILanguage(), 0x0c0a);
    unsetenv("CONTACTS_UI_LANGUAGE");
}

} // namespace
