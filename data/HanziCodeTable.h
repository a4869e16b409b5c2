// GB code of every CJK ideograph from U+4E00 to U+9FA5, lead byte high.
#pragma once
#include <cstdint>

constexpr char16_t HanziFirst = 0x4E00;
constexpr char16_t HanziLast = 0x9FA5;
constexpr int HanziCodeCount = HanziLast - HanziFirst + 1; // 20902

extern const std::uint16_t HanziCodeTable[HanziCodeCount];
