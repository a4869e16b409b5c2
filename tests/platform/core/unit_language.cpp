#include "platform/core/System.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

TEST(UiLanguage, LocaleNamesMapToLanguageIds)
{
    for (auto [locale, id] : {std::pair{"es_ES.UTF-8", 0x0c0a}, {"en_GB.UTF-8", 0x0809}, {"zh_CN.GB18030", 0x0804},
                              {"zh_TW", 0x0404}, {"de_AT@euro", 0x0c07}, {"es_GQ", 0x0c0a}, {"fr", 0x040c},
                              {"C", 0}, {"xx_YY", 0}, {"", 0}})
        EXPECT_EQ(ce::LanguageIdFromLocale(locale), id) << locale;
}

TEST(UiLanguage, EnvironmentOrderAndOverride)
{
    auto ui = [](const char* all, const char* messages, const char* lang, const char* over) {
        for (auto [name, value] : {std::pair{"LC_ALL", all}, {"LC_MESSAGES", messages}, {"LANG", lang},
                                   {"CONTACTS_UI_LANGUAGE", over}})
            value ? setenv(name, value, 1) : unsetenv(name);
        return ce::GetUserDefaultUILanguage();
    };
    EXPECT_EQ(ui("", "zh_CN.UTF-8", "es_ES.UTF-8", nullptr), 0x0804);
    EXPECT_EQ(ui("en_US.UTF-8", "zh_CN.UTF-8", "es_ES.UTF-8", nullptr), 0x0409);
    EXPECT_EQ(ui(nullptr, nullptr, "C.UTF-8", nullptr), 0x0c0a);
    EXPECT_EQ(ui(nullptr, nullptr, nullptr, nullptr), 0x0c0a);
    EXPECT_EQ(ui("C", nullptr, nullptr, "0409"), 0x0409);
    EXPECT_EQ(ui(nullptr, nullptr, nullptr, "not-hex"), 0x0c0a);
    ui(nullptr, nullptr, nullptr, nullptr);
}

} // namespace
