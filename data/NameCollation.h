// Name order: empty names, then names with an initial below U+4E00 by
// CompareNoCase, then names with an initial from U+4E00 up by the pinyin
// syllable of that initial alone.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// First unit counted as a Chinese initial.
constexpr char16_t ChineseInitialFirst = 0x4E00;

// Syllable of the pinyin row covering a GB code; empty below 0xB0A1.
// The views point into constant tables.
std::u16string_view FindSyllable(std::uint16_t code);
// Syllable of an ideograph U+4E00..U+9FA5; empty for any other unit.
std::u16string_view GetPinyinSyllable(char16_t unit);

// Appends the sort key of a text field's text: a.IsLessThan(b) exactly when
// the key of a is below that of b, unit by unit, a proper prefix the smaller.
void AppendSortKey(std::u16string_view text, std::u16string& key);

// The places of text fields' texts in the order of IsLessThan, equal keys in
// their given order: order[k] is the index of the text that comes k-th.
std::vector<std::size_t> OrderOfTexts(const std::vector<std::u16string_view>& texts);
