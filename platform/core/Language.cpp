#include "platform/core/System.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace ce {

namespace {

struct Locale {
    const char* name; // language, or language_TERRITORY
    LANGID id;
};

// The first entry of a language is its default when the territory is not
// listed.
constexpr Locale Locales[] = {
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0c09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1c09}, {"en_IN", 0x4009}, {"en_SG", 0x4809},
    {"es_ES", 0x0c0a}, {"es_MX", 0x080a}, {"es_GT", 0x100a}, {"es_CR", 0x140a}, {"es_PA", 0x180a},
    {"es_DO", 0x1c0a}, {"es_VE", 0x200a}, {"es_CO", 0x240a}, {"es_PE", 0x280a}, {"es_AR", 0x2c0a},
    {"es_EC", 0x300a}, {"es_CL", 0x340a}, {"es_UY", 0x380a}, {"es_PY", 0x3c0a}, {"es_BO", 0x400a},
    {"es_SV", 0x440a}, {"es_HN", 0x480a}, {"es_NI", 0x4c0a}, {"es_PR", 0x500a}, {"es_US", 0x540a},
    {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0c04}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404},
    {"fr_FR", 0x040c}, {"fr_BE", 0x080c}, {"fr_CA", 0x0c0c}, {"fr_CH", 0x100c}, {"fr_LU", 0x140c},
    {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0c07}, {"de_LU", 0x1007}, {"de_LI", 0x1407},
    {"it_IT", 0x0410}, {"it_CH", 0x0810},
    {"pt_BR", 0x0416}, {"pt_PT", 0x0816},
    {"nl_NL", 0x0413}, {"nl_BE", 0x0813},
    {"sv_SE", 0x041d}, {"sv_FI", 0x081d},
    {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"ru_RU", 0x0419}, {"uk_UA", 0x0422}, {"pl_PL", 0x0415},
    {"cs_CZ", 0x0405}, {"sk_SK", 0x041b}, {"hu_HU", 0x040e}, {"ro_RO", 0x0418}, {"bg_BG", 0x0402},
    {"hr_HR", 0x041a}, {"sl_SI", 0x0424}, {"el_GR", 0x0408}, {"tr_TR", 0x041f}, {"he_IL", 0x040d},
    {"ar_SA", 0x0401}, {"ar_EG", 0x0c01}, {"fa_IR", 0x0429}, {"th_TH", 0x041e}, {"vi_VN", 0x042a},
    {"id_ID", 0x0421}, {"ms_MY", 0x043e}, {"hi_IN", 0x0439},
    {"da_DK", 0x0406}, {"fi_FI", 0x040b}, {"nb_NO", 0x0414}, {"nn_NO", 0x0814}, {"no_NO", 0x0414},
    {"is_IS", 0x040f}, {"et_EE", 0x0425}, {"lv_LV", 0x0426}, {"lt_LT", 0x0427},
    {"ca_ES", 0x0403}, {"eu_ES", 0x042d}, {"gl_ES", 0x0456},
};

} // namespace

// A locale that names no language (C, POSIX) keeps the program's own
// Spanish resources: no satellite is looked for.
constexpr LANGID BuiltInLanguage = 0x0c0a;

LANGID LanguageIdFromLocale(const char* locale)
{
    std::string name = locale ? locale : "";
    name = name.substr(0, name.find_first_of(".@"));
    std::string lang = name.substr(0, name.find('_'));
    if (lang.empty())
        return 0;
    const Locale* fallback = nullptr;
    for (const Locale& entry : Locales) {
        if (name == entry.name)
            return entry.id;
        if (!fallback && std::strncmp(entry.name, lang.c_str(), lang.size()) == 0 && entry.name[lang.size()] == '_')
            fallback = &entry;
    }
    return fallback ? fallback->id : 0;
}

LANGID GetUserDefaultUILanguage()
{
    const char* over = std::getenv("CONTACTS_UI_LANGUAGE");
    if (over && *over) {
        char* end = nullptr;
        unsigned long id = std::strtoul(over, &end, 16);
        if (*end == '\0' && id > 0 && id <= 0xFFFF)
            return LANGID(id);
    }
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = std::getenv(var);
        if (locale && *locale) {
            LANGID id = LanguageIdFromLocale(locale);
            return id ? id : BuiltInLanguage;
        }
    }
    return BuiltInLanguage;
}

} // namespace ce
