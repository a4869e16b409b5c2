#include "data/NameCollation.h"

#include "data/CaseFold.h"
#include "data/ContactRecord.h"
#include "data/HanziCodeTable.h"
#include "data/PinyinSyllableTable.h"

#include <algorithm>
#include <cstring>

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

void AppendSortKey(std::u16string_view value, std::u16string& key)
{
    if (value.empty())
        return;
    const bool chinese = value[0] >= ChineseInitialFirst;
    // Names below U+4E00 come first; a Chinese name sorts by the syllable of
    // its initial alone.
    const std::u16string_view folded = chinese ? GetPinyinSyllable(value[0]) : value;
    const std::size_t start = key.size();
    key.resize(start + 1 + folded.size());
    char16_t* out = key.data() + start;
    *out++ = chinese ? u'\x02' : u'\x01';
    for (const char16_t unit : folded)
        *out++ = unit < 0x80 ? (unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit) : FoldCase(unit);
}

std::vector<std::size_t> OrderOfTexts(const std::vector<std::u16string_view>& texts)
{
    // Sorted by keys side by side in one text, not by the texts themselves,
    // and first by the key's first eight units as two numbers: a key that
    // ends early is filled with zeros, so a number below another's is a key
    // below it, and keys of up to eight units that give the same numbers
    // differ only in their length (a proper prefix the smaller). The rest
    // of a key is kept with each unit's high byte first, so that comparing
    // bytes compares units.
    std::u16string keys;
    struct Keyed {
        std::uint64_t head[2];
        std::size_t start;
        std::uint32_t length;
        std::uint32_t index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(texts.size());
    for (const std::u16string_view text : texts) {
        const std::size_t start = keys.size();
        AppendSortKey(text, keys);
        Keyed k{{0, 0}, start, std::uint32_t(keys.size() - start), std::uint32_t(keyed.size())};
        for (std::size_t i = 0; i < 8; ++i)
            k.head[i / 4] = k.head[i / 4] << 16 | (i < k.length ? keys[start + i] : 0);
        for (std::size_t i = start; i < keys.size(); ++i)
            keys[i] = char16_t(keys[i] >> 8 | keys[i] << 8);
        keyed.push_back(k);
    }
    const char16_t* all = keys.data();
    std::stable_sort(keyed.begin(), keyed.end(), [all](const Keyed& a, const Keyed& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        if (a.length > 8 && b.length > 8) {
            const std::size_t rest = std::min(a.length, b.length) - 8;
            if (const int c = std::memcmp(all + a.start + 8, all + b.start + 8, rest * sizeof(char16_t)))
                return c < 0;
        }
        return a.length < b.length;
    });
    std::vector<std::size_t> order;
    order.reserve(keyed.size());
    for (const Keyed& k : keyed)
        order.push_back(k.index);
    return order;
}
