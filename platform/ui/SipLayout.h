// Internal to the window system: the keys of the soft input panel in its
// three modes, on a grid of ten by five keys.
#pragma once
#include <string>
#include <vector>

namespace ce::impl {

enum class SipMode { Letters, Accents, Pinyin };

// Keys that type nothing themselves; every other key types its character.
enum SipSpecial : char16_t {
    SipShift = 1,
    SipAccents = 2,   // switches to the accent layer and back
    SipPinyin = 3,    // switches to the pinyin mode and back
    SipPrevPage = 4,  // candidate paging
    SipNextPage = 5,
    SipCandidate = 6, // a candidate cell; which one is its column
    SipSyllable = 7,  // shows the syllable typed so far
    SipBack = 8,
    SipEnter = 13,
};

struct SipKey {
    char16_t ch; // the character typed (lower case), or a SipSpecial
    int row;
    int column;
    int span;
};

constexpr int SipColumns = 10;
constexpr int SipRows = 5;
constexpr int SipCandidateColumn = 2; // first candidate cell
constexpr int SipCandidatesPerPage = 6;

const std::vector<SipKey>& SipKeys(SipMode mode);
// What the key types with shift up or down (8 for Backspace, 13 for Enter);
// 0 for the other special keys.
char16_t SipCharacter(const SipKey& key, bool shift);

} // namespace ce::impl
