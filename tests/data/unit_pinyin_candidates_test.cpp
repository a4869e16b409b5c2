// The ideographs offered for a pinyin syllable: GB2312 level 1 in code
// order first, then the surname readings, then the other ideographs the
// collation files under the syllable.
#include "data/HanziCodeTable.h"
#include "data/NameCollation.h"
#include "data/PinyinCandidates.h"
#include "data/PinyinSyllableTable.h"
#include "data/SurnameReadings.h"

#include <gtest/gtest.h>
#include <map>

TEST(PinyinCandidatesTest, LevelOneInCodeOrderThenVariantsAndSurnamesAndNothingForNoSyllable)
{
    const std::u16string wang = PinyinCandidates(u"wang");
    // The ten level-1 characters of wang, in GB2312 order.
    EXPECT_EQ(wang.substr(0, 10), u"汪王亡枉网往旺望忘妄");

    // Traditional forms come after every level-1 character of the syllable.
    const std::u16string chen = PinyinCandidates(u"chen");
    const std::size_t simplified = chen.find(u'陈'), traditional = chen.find(u'陳');
    ASSERT_NE(traditional, std::u16string::npos);
    EXPECT_LT(simplified, traditional);
    EXPECT_LT(PinyinCandidates(u"zhang").find(u'张'), PinyinCandidates(u"zhang").find(u'張'));
    EXPECT_NE(PinyinCandidates(u"liu").find(u'劉'), std::u16string::npos);
    EXPECT_EQ(PinyinCandidates(u"lv").front(), u'驴');

    // No repeats, and every ideograph that the names sort under a syllable
    // of level 1 by is offered under that syllable.
    std::map<std::u16string_view, std::u16string> offered;
    for (const PinyinSyllable& row : PinyinSyllableTable) {
        const std::u16string list = PinyinCandidates(row.syllable);
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list.find(list[i]), i) << "repeated: " << std::hex << int(list[i]);
        offered[row.syllable] = list;
    }
    for (int i = 0; i < HanziCodeCount; ++i) {
        const auto ideograph = char16_t(HanziFirst + i);
        const std::u16string_view syllable = GetPinyinSyllable(ideograph);
        if (HanziCodeTable[i] >= 0xB0A1 && HanziCodeTable[i] < 0xD7FA) {
            EXPECT_NE(offered[syllable].find(ideograph), std::u16string::npos) << std::hex << int(ideograph);
        }
    }

    // Surnames are offered under their surname reading too; what is no syllable has no candidates.
    for (int i = 0; i < SurnameReadingCount; ++i) {
        const SurnameReading& surname = SurnameReadings[i];
        EXPECT_NE(PinyinCandidates(surname.syllable).find(surname.ideograph), std::u16string::npos)
            << std::hex << int(surname.ideograph);
    }
    for (const char16_t* none : {u"", u"zh", u"wangg", u"Wang"})
        EXPECT_EQ(PinyinCandidates(none), u"");
}
