#include "listwnd/LetterGroup.h"
#include "listwnd/LetterSearch.h"
#include "tests/data/support/DataFixture.h"

using namespace testdata;

class LetterSearchTest : public DataTest {
protected:
    std::vector<int> AllGroups(const Names& names)
    {
        ContactListBase list;
        for (const std::u16string& name : names)
            list.Append(MakeContact(name));
        std::vector<int> rows;
        for (int group = 0; group < LetterGroupCount; ++group)
            rows.push_back(FindLetterGroup(list, group));
        return rows;
    }
};

TEST_F(LetterSearchTest, EachGroupSelectsItsFirstNameOrTheNearestBefore)
{
    // 王 reads wang, 张 zhang.
    const Names eight = {u"", u"#1", u"Ana", u"bob", u"Carlos", u"Zoe", u"\u738B\u4E00", u"\u5F20\u4E09"};
    //         #ab cde fgh ijk lmn opq rst uvw xyz
    EXPECT_EQ(AllGroups(eight), (std::vector<int>{0, 4, 4, 4, 4, 4, 4, 6, 5}));
    EXPECT_EQ(AllGroups(Names(eight.begin() + 2, eight.end()))[0], 0);
    EXPECT_EQ(AllGroups({u"\u554A", u"\u738B"}), (std::vector<int>{0, -1, -1, -1, -1, -1, -1, 1, -1}));
    EXPECT_EQ(AllGroups({u"Xavier"}), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, -1, 0}));
    EXPECT_EQ(AllGroups({}), std::vector<int>(LetterGroupCount, -1));
}

TEST_F(LetterSearchTest, InitialsWithoutALetterOrSyllableBelongToNoGroup)
{
    // Ñ has no letter initial and sorts after the Latin names; the
    // full-width A and an ideograph above U+9FA5 have no syllable.
    EXPECT_EQ(AllGroups({u"Ana", u"ana", u"\u00D1and\u00FA", u"\uFF21BC", u"\u9FA6"}),
              (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(AllGroups({u"#1", u"Zoe", u"~x"}), (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 1}));
    // The pinyin scan goes on past initials without a syllable to the
    // Chinese names behind them; a kept undecodable byte counts as one.
    const std::u16string kept(1, ce::UndecodableByteUnit(0x81));
    for (const std::u16string& first : {std::u16string(u"\u9FA6"), std::u16string(u"\uFF21BC"), kept + u"x", std::u16string(u"\uFFFDx")})
        EXPECT_EQ(AllGroups({first, u"\u738B"})[7], 1) << int(first[0]);
    EXPECT_EQ(AllGroups({u"\u9FA6", u"\uFF21BC", kept, u"\u5F20"})[8], 3);
}

TEST_F(LetterSearchTest, InitialTestsPlaceOnlyNameFields)
{
    ContactRecord record;
    record.GetField(FieldName)->SetValue(u"Delta", 0.0);
    record.GetField(FieldAddress)->SetValue(u"Delta", 0.0);
    const ContactField& name = *record.GetField(FieldName);
    const ContactField& address = *record.GetField(FieldAddress);
    EXPECT_EQ(name.LatinInitialTest(u'a', u'b'), 1);
    EXPECT_EQ(name.LatinInitialTest(u'C', u'E'), 0); // upper-case bounds count as lower case
    EXPECT_EQ(name.PinyinInitialTest(u'c', u'e'), -2);
    EXPECT_EQ(address.LatinInitialTest(u'c', u'e'), -2);
    EXPECT_EQ(address.PinyinInitialTest(u'c', u'e'), -3);
    for (const std::u16string none : {u" x", u"9", u"[", u"`", u"{", u"\u4DFF"}) {
        record.GetField(FieldName)->SetValue(none, 0.0);
        EXPECT_EQ(name.InitialClass(), InitialNone);
    }
}
