// Layout of the contacts data file. No header: records one after another,
// each the 16 fields in FieldId order. A text field is its text in the ANSI
// code page followed by one 0x00; the birthday is a SYSTEMTIME of eight
// little-endian 16-bit words (all zero: no birthday).
#pragma once
#include "data/ContactRecord.h"
#include "platform/core/Types.h"

#include <cstddef>

namespace ContactFileFormat {

constexpr char Terminator = '\0';
constexpr std::size_t DateSize = 16;
// The reader never holds more than one chunk of the file.
constexpr std::size_t ChunkSize = 4096;

constexpr bool IsDateField(FieldId id) { return id == FieldBirthday; }

inline void EncodeSystemTime(const ce::SYSTEMTIME& time, unsigned char out[DateSize])
{
    const ce::WORD words[8] = {time.wYear, time.wMonth,  time.wDayOfWeek, time.wDay,
                               time.wHour, time.wMinute, time.wSecond,    time.wMilliseconds};
    for (int i = 0; i < 8; ++i) {
        out[2 * i] = static_cast<unsigned char>(words[i] & 0xFF);
        out[2 * i + 1] = static_cast<unsigned char>(words[i] >> 8);
    }
}

inline ce::SYSTEMTIME DecodeSystemTime(const unsigned char in[DateSize])
{
    ce::WORD words[8];
    for (int i = 0; i < 8; ++i)
        words[i] = static_cast<ce::WORD>(in[2 * i] | (in[2 * i + 1] << 8));
    ce::SYSTEMTIME time;
    time.wYear = words[0];
    time.wMonth = words[1];
    time.wDayOfWeek = words[2];
    time.wDay = words[3];
    time.wHour = words[4];
    time.wMinute = words[5];
    time.wSecond = words[6];
    time.wMilliseconds = words[7];
    return time;
}

} // namespace ContactFileFormat
