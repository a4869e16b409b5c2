// The ideographs read with a pinyin syllable, for typing Chinese names with
// a syllable: most common first.
#pragma once
#include <string>
#include <string_view>

// For a syllable in lower-case ASCII (u-umlaut written v, "lv"): the GB2312
// level-1 characters of that syllable in code order, then the common
// surnames read so that GB2312 files under another reading (曾 zeng, 单
// shan, ...), then the other ideographs that the collation places under the
// syllable (traditional and variant forms). One character per unit; empty
// for a string that is no syllable.
std::u16string PinyinCandidates(std::u16string_view syllable);
