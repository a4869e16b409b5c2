// Pinyin readings by the first GB2312 level-1 code of each reading, in
// increasing code order.
#pragma once
#include <cstdint>

struct PinyinSyllable {
    const char16_t* syllable; // lower-case ASCII, u-umlaut written v
    std::uint16_t firstCode;
};

constexpr int PinyinSyllableCount = 396;
extern const PinyinSyllable PinyinSyllableTable[PinyinSyllableCount];
