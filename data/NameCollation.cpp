#include "data/NameCollation.h"

#include "data/CaseFold.h"
#include "data/ContactRecord.h"
#include "data/HanziCodeTable.h"
#include "data/PinyinSyllableTable.h"

#include <algorithm>

int CompareNoCase(std::u16string_view a, std::u16string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t fa = FoldCase(a[i]);
        const char16_t fb = FoldCase(b[i]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::u16string_view FindSyllable(std::uint16_t code)
{
    // The last row whose first code is not above code; rows are in
    // increasing code order.
    const PinyinSyllable* end = PinyinSyllableTable + PinyinSyllableCount;
    const PinyinSyllable* next = std::upper_bound(PinyinSyllableTable, end, code,
        [](std::uint16_t c, const PinyinSyllable& row) { return c < row.firstCode; });
    if (next == PinyinSyllableTable)
        return {};
    return next[-1].syllable;
}

std::u16string_view GetPinyinSyllable(char16_t unit)
{
    if (unit < HanziFirst || unit > HanziLast)
        return {};
    return FindSyllable(HanziCodeTable[unit - HanziFirst]);
}

int ContactField::IsLessThan(const ContactField& other) const
{
    if (fieldId != other.fieldId)
        return fieldId < other.fieldId;
    if (fieldId == FieldBirthday)
        return GetDate() < other.GetDate();
    const std::u16string_view value = TextValue();
    const std::u16string_view otherValue = other.TextValue();
    if (value.empty())
        return !otherValue.empty();
    if (otherValue.empty())
        return 0;
    const char16_t ca = value[0];
    const char16_t cb = otherValue[0];
    const bool chineseA = ca >= ChineseInitialFirst;
    const bool chineseB = cb >= ChineseInitialFirst;
    if (chineseA && chineseB)
        return CompareNoCase(GetPinyinSyllable(ca), GetPinyinSyllable(cb)) < 0;
    if (chineseA != chineseB)
        return chineseB;
    return CompareNoCase(value, otherValue) < 0;
}

void AppendSortKey(const ContactField& field, std::u16string& key)
{
    const std::u16string_view value = field.TextValue();
    if (value.empty())
        return;
    const bool chinese = value[0] >= ChineseInitialFirst;
    // Names below U+4E00 come first; a Chinese name sorts by the syllable of
    // its initial alone.
    key += chinese ? u'\x02' : u'\x01';
    for (const char16_t unit : chinese ? GetPinyinSyllable(value[0]) : value)
        key += FoldCase(unit);
}
