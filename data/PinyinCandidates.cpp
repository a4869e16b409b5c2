#include "data/PinyinCandidates.h"

#include "data/HanziCodeTable.h"
#include "data/PinyinSyllableTable.h"
#include "data/SurnameReadings.h"
#include "platform/core/CodePage.h"

#include <algorithm>

namespace {

// GB2312 level 1 ends at 0xD7F9; its rows run from 0xA1 to 0xFE.
constexpr std::uint16_t LevelOneEnd = 0xD7FA;

std::u16string LevelOneRun(std::uint16_t first, std::uint16_t end)
{
    std::string bytes;
    for (unsigned code = first; code < end; ++code) {
        const unsigned low = code & 0xFF;
        if (low < 0xA1 || low > 0xFE)
            continue;
        bytes.push_back(char(code >> 8));
        bytes.push_back(char(low));
    }
    return ce::MultiByteToWide(936, bytes);
}

void AddOnce(std::u16string& list, char16_t ideograph)
{
    if (list.find(ideograph) == std::u16string::npos)
        list.push_back(ideograph);
}

} // namespace

std::u16string PinyinCandidates(std::u16string_view syllable)
{
    const PinyinSyllable* table = PinyinSyllableTable;
    const PinyinSyllable* end = table + PinyinSyllableCount;
    const PinyinSyllable* row =
        std::find_if(table, end, [&](const PinyinSyllable& r) { return syllable == r.syllable; });
    if (syllable.empty() || row == end)
        return {};
    const std::uint16_t first = row->firstCode;
    const std::uint16_t last = row + 1 < end ? row[1].firstCode : LevelOneEnd;

    std::u16string list = LevelOneRun(first, last);
    for (int i = 0; i < SurnameReadingCount; ++i)
        if (syllable == SurnameReadings[i].syllable)
            AddOnce(list, SurnameReadings[i].ideograph);
    for (int i = 0; i < HanziCodeCount; ++i)
        if (HanziCodeTable[i] >= first && HanziCodeTable[i] < last)
            AddOnce(list, char16_t(HanziFirst + i));
    return list;
}
