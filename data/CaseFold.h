// Locale-independent lower-case folding of single UTF-16 units, by the
// Unicode simple lower-case mapping. Units without a mapping, surrogate
// halves among them, fold to themselves.
#pragma once
#include "platform/core/CodePage.h"

#include <cstdint>

constexpr int CaseFoldBlockSize = 256;

// Per high byte of a unit: the row of CaseFoldDeltas that serves its block.
// Row 0 is all zeros, shared by every block without a mapping.
extern const std::uint8_t CaseFoldBlockIndex[256];
extern const int CaseFoldDeltaRows;
// Added (modulo 2^16) to a unit to fold it.
extern const std::uint16_t CaseFoldDeltas[][CaseFoldBlockSize];

// A byte kept undecodable folds to the replacement character, so it sorts as
// one did before such bytes were kept.
inline char16_t FoldCase(char16_t unit)
{
    if (ce::IsUndecodableByte(unit))
        return u'\xFFFD';
    return char16_t(unit + CaseFoldDeltas[CaseFoldBlockIndex[unit >> 8]][unit & 0xFF]);
}
