// Surnames whose reading as a surname differs from the reading GB2312 files
// them under (曾 is filed under ceng, the surname is Zeng).
#pragma once

struct SurnameReading {
    char16_t ideograph;
    const char16_t* syllable; // as in PinyinSyllableTable
};

extern const SurnameReading SurnameReadings[];
extern const int SurnameReadingCount;
