// The language satellites that ship with the program: each one replaces
// every resource the program looks up, so each must carry all of them.
#include "platform/core/Resources.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace ce;

namespace {

// English, German, French, Italian, Portuguese of Brazil and of Portugal,
// Chinese simplified and traditional.
const std::set<std::string> Shipped = {"0409", "0407", "040c", "0410", "0416", "0816", "0804", "0404"};

std::string LanguageOf(const std::filesystem::path& satellite)
{
    const std::string name = satellite.filename();
    return name.starts_with("Contacts.exe.") && name.ends_with(".mui") ? name.substr(13, name.size() - 17) : "";
}

// The satellites written by the build; every other one links to that of its
// language (the same primary language id, the low ten bits).
std::set<std::string> SatellitesInTheBuild()
{
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(CONTACTS_SATELLITE_DIR)) {
        const std::string language = LanguageOf(entry.path());
        if (language.empty())
            continue;
        if (!entry.is_symlink()) {
            found.insert(language);
            continue;
        }
        const std::string target = LanguageOf(std::filesystem::read_symlink(entry.path()));
        EXPECT_TRUE(Shipped.contains(target)) << language;
        EXPECT_EQ(std::stoul(target, nullptr, 16) & 0x3FF, std::stoul(language, nullptr, 16) & 0x3FF) << language;
    }
    return found;
}

// The character after the one '&' of a menu text, folded to lower case; 0
// when there is none or more than one.
char16_t Mnemonic(const std::u16string& text)
{
    const std::size_t at = text.find(u'&');
    if (at == std::u16string::npos || at + 1 >= text.size() || text.find(u'&', at + 1) != std::u16string::npos)
        return 0;
    return char16_t(std::towlower(wint_t(text[at + 1])));
}

void ExpectSameMenu(const MenuTemplate& own, const MenuTemplate& translated)
{
    ASSERT_EQ(translated.items.size(), own.items.size());
    for (std::size_t p = 0; p < own.items.size(); ++p) {
        const MenuItem& popup = translated.items[p];
        EXPECT_NE(Mnemonic(popup.text), 0) << "popup " << p;
        ASSERT_EQ(popup.items.size(), own.items[p].items.size());
        std::set<char16_t> mnemonics;
        for (std::size_t i = 0; i < popup.items.size(); ++i) {
            EXPECT_EQ(popup.items[i].id, own.items[p].items[i].id) << "item " << i;
            const char16_t mnemonic = Mnemonic(popup.items[i].text);
            EXPECT_NE(mnemonic, 0) << "item " << i;
            EXPECT_TRUE(mnemonics.insert(mnemonic).second) << "item " << i << " repeats a mnemonic";
        }
    }
}

void ExpectSameControls(const DialogTemplate& own, const DialogTemplate& translated)
{
    EXPECT_EQ(translated.style, own.style);
    ASSERT_EQ(translated.controls.size(), own.controls.size());
    for (std::size_t i = 0; i < own.controls.size(); ++i) {
        const DialogControl &a = own.controls[i], &b = translated.controls[i];
        EXPECT_TRUE(a.id == b.id && a.imageId == b.imageId && a.className == b.className && a.style == b.style &&
                    a.x == b.x && a.y == b.y && a.cx == b.cx && a.cy == b.cy)
            << "control " << a.id;
    }
}

TEST(Satellites, EachShippedLanguageCarriesEveryResourceOfTheProgram)
{
    EXPECT_EQ(SatellitesInTheBuild(), Shipped);
    const ResourceScript& own = ModuleResources(AfxGetInstanceHandle());
    ASSERT_GE(own.strings.size(), 25u);
    for (const std::string& language : Shipped) {
        SCOPED_TRACE(language);
        HMODULE module = LoadResourceModule(CONTACTS_SATELLITE_DIR "/Contacts.exe." + language + ".mui");
        ASSERT_NE(module, nullptr);
        const ResourceScript& translated = ModuleResources(module);

        // The same string ids, none left empty, and every field label ends
        // in a colon as the built-in ones do.
        for (const auto& [id, text] : own.strings) {
            const std::u16string* found = translated.FindString(id);
            ASSERT_NE(found, nullptr) << "string " << id;
            EXPECT_FALSE(found->empty()) << "string " << id;
            if (id >= 1 && id <= 16) {
                EXPECT_TRUE(found->ends_with(u':') || found->ends_with(u'\uFF1A')) << "label " << id;
            }
        }
        EXPECT_EQ(translated.strings.size(), own.strings.size());

        ASSERT_EQ(translated.menus.size(), own.menus.size());
        for (const auto& [id, menu] : own.menus) {
            ASSERT_NE(translated.FindMenu(id), nullptr) << "menu " << id;
            ExpectSameMenu(menu, *translated.FindMenu(id));
        }
        // The dialog frames carry a caption in the language; the forms are
        // the program's own, control for control.
        ASSERT_EQ(translated.dialogs.size(), own.dialogs.size());
        for (const auto& [id, dialog] : own.dialogs) {
            const DialogTemplate* other = translated.FindDialog(id);
            ASSERT_NE(other, nullptr) << "dialog " << id;
            ExpectSameControls(dialog, *other);
            EXPECT_EQ(other->caption.empty(), dialog.caption.empty()) << "dialog " << id;
        }
        EXPECT_EQ(translated.bitmaps, own.bitmaps);
        EXPECT_EQ(translated.icons, own.icons);
        EXPECT_EQ(FreeLibrary(module), TRUE);
        EXPECT_EQ(FreeLibrary(module), FALSE) << "freed once";
    }
}

} // namespace
