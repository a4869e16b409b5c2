#include "platform/ui/SipLayout.h"
#include <string_view>

namespace ce::impl {

namespace {

void Row(std::vector<SipKey>& keys, int row, int firstColumn, std::u16string_view chars)
{
    for (int i = 0; i < int(chars.size()); ++i)
        keys.push_back({chars[std::size_t(i)], row, firstColumn + i, 1});
}

using MiddleRows = std::u16string_view[3];

constexpr MiddleRows Qwerty = {u"qwertyuiop", u"asdfghjkl", u"zxcvbnm,"};
// Spanish first, then what Catalan, Galician, Portuguese, French, German,
// Italian and the Nordic languages add.
constexpr MiddleRows AccentRows = {u"áéíóúüñç¿¡", u"àèìòùâêîô", u"ûäëïöãõ€"};

// Rows 1 to 4 under a mode's top row: Backspace ends row 2, Shift and Enter
// frame row 3, and the bottom row has the two mode keys, symbols and space.
std::vector<SipKey> UnderTopRow(std::vector<SipKey> keys, const MiddleRows& middle)
{
    Row(keys, 1, 0, middle[0]);
    Row(keys, 2, 0, middle[1]);
    keys.push_back({SipBack, 2, 9, 1});
    keys.push_back({SipShift, 3, 0, 1});
    Row(keys, 3, 1, middle[2]);
    keys.push_back({SipEnter, 3, 9, 1});
    keys.push_back({SipAccents, 4, 0, 1});
    keys.push_back({SipPinyin, 4, 1, 1});
    keys.push_back({u'@', 4, 2, 1});
    keys.push_back({u' ', 4, 3, 2});
    Row(keys, 4, 5, u"-_./:");
    return keys;
}

std::vector<SipKey> Letters()
{
    std::vector<SipKey> digits;
    Row(digits, 0, 0, u"1234567890");
    return UnderTopRow(std::move(digits), Qwerty);
}

std::vector<SipKey> Accents()
{
    std::vector<SipKey> more;
    Row(more, 0, 0, u"ªº·«»ßæøåœ");
    return UnderTopRow(std::move(more), AccentRows);
}

// The letters of the syllable under a row with the syllable, one page of
// candidates and the paging keys.
std::vector<SipKey> Pinyin()
{
    std::vector<SipKey> candidates;
    candidates.push_back({SipSyllable, 0, 0, SipCandidateColumn});
    for (int i = 0; i < SipCandidatesPerPage; ++i)
        candidates.push_back({SipCandidate, 0, SipCandidateColumn + i, 1});
    candidates.push_back({SipPrevPage, 0, 8, 1});
    candidates.push_back({SipNextPage, 0, 9, 1});
    return UnderTopRow(std::move(candidates), Qwerty);
}

} // namespace

const std::vector<SipKey>& SipKeys(SipMode mode)
{
    static const std::vector<SipKey> letters = Letters(), accents = Accents(), pinyin = Pinyin();
    switch (mode) {
    case SipMode::Accents:
        return accents;
    case SipMode::Pinyin:
        return pinyin;
    default:
        return letters;
    }
}

char16_t SipCharacter(const SipKey& key, bool shift)
{
    if (key.ch == SipBack || key.ch == SipEnter)
        return key.ch;
    if (key.ch < u' ')
        return 0;
    if (!shift)
        return key.ch;
    // One unit for one: the sharp s stays as it is.
    const char16_t upper = key.ch >= u'a' && key.ch <= u'z' ? char16_t(key.ch - u'a' + u'A') : key.ch;
    if (key.ch >= 0xE0 && key.ch <= 0xFE && key.ch != 0xF7)
        return char16_t(key.ch - 0x20);
    if (key.ch == u'œ')
        return u'Œ';
    return upper;
}

} // namespace ce::impl
