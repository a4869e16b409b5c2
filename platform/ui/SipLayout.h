// Internal to the window system: the keys of the soft input panel in its
// three modes, on a grid of ten by five keys.
#pragma once
#include <string>
#include <vector>

namespace ce::impl {

enum class SipMode { Letters, Accents, Pinyin };

// Keys that type nothing themselves; every other key types its character.
enum SipSpecial : char16_t {
    kSipShift = 1,
    kSipAccents = 2,   // switches to the accent layer and back
    kSipPinyin = 3,    // switches to the pinyin mode and back
    kSipPrevPage = 4,  // candidate paging
    kSipNextPage = 5,
    kSipCandidate = 6, // a candidate cell; which one is its column
    kSipSyllable = 7,  // shows the syllable typed so far
    kSipBack = 8,
    kSipEnter = 13,
};

struct SipKey {
    char16_t ch; // the character typed (lower case), or a SipSpecial
    int row;
    int column;
    int span;
};

constexpr int kSipColumns = 10;
constexpr int kSipRows = 5;
constexpr int kSipCandidateColumn = 2; // first candidate cell
constexpr int kSipCandidatesPerPage = 6;

const std::vector<SipKey>& SipKeys(SipMode mode);
// What the key types with shift up or down (8 for Backspace, 13 for Enter);
// 0 for the other special keys.
char16_t SipCharacter(const SipKey& key, bool shift);

} // namespace ce::impl
