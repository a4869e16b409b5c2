#include "listwnd/LetterGroup.h"
#include "listwnd/LetterSearch.h"
#include "res/resource.h"
#include "tests/data/support/DataFixture.h"

using namespace testdata;

namespace {

enum Group { AB, CDE, FGH, IJK, LMN, OPQ, RST, UVW, XYZ };

} // namespace

class LetterSearchTest : public DataTest {
protected:
    void Fill(std::initializer_list<std::u16string> names)
    {
        for (const std::u16string& name : names)
            list.Append(MakeContact(name));
    }

    std::vector<int> AllGroups() const
    {
        std::vector<int> rows;
        for (int group = 0; group < LetterGroupCount; ++group)
            rows.push_back(FindLetterGroup(list, group));
        return rows;
    }

    ContactListBase list;
};

TEST_F(LetterSearchTest, GroupsFollowTheLetterBarOrder)
{
    const char16_t* labels[] = {u"#ab", u"cde", u"fgh", u"ijk", u"lmn", u"opq", u"rst", u"uvw", u"xyz"};
    for (int group = 0; group < LetterGroupCount; ++group) {
        EXPECT_EQ(std::u16string(LetterGroups[group].label), labels[group]);
        EXPECT_EQ(LetterGroups[group].lo, labels[group][group == 0 ? 1 : 0]);
        EXPECT_EQ(LetterGroups[group].hi, labels[group][2]);
        EXPECT_EQ(LetterGroupFromCommand(LetterGroups[group].commandId), group);
    }
    EXPECT_EQ(LetterGroups[CDE].commandId, 32783u);
    EXPECT_EQ(LetterGroups[AB].commandId, 32774u);
    EXPECT_EQ(LetterGroups[XYZ].commandId, 32782u);
    EXPECT_EQ(LetterGroupFromCommand(32775), -1);
    EXPECT_EQ(LetterGroupFromCommand(ID_CONTACT_OPEN), -1);
}

TEST_F(LetterSearchTest, EightNamesSelectMatchOrNearestPrecedingRow)
{
    // 王 reads wang, 张 zhang.
    Fill({u"", u"#1", u"Ana", u"bob", u"Carlos", u"Zoe", u"\u738B\u4E00", u"\u5F20\u4E09"});
    EXPECT_EQ(FindLetterGroup(list, AB), 0);
    EXPECT_EQ(FindLetterGroup(list, CDE), 4);
    EXPECT_EQ(FindLetterGroup(list, FGH), 4);
    EXPECT_EQ(FindLetterGroup(list, UVW), 6);
    EXPECT_EQ(FindLetterGroup(list, XYZ), 5);
    EXPECT_EQ(FindLetterGroup(list, RST), 4);
    EXPECT_EQ(FindLetterGroup(list, -1), -1);
    EXPECT_EQ(FindLetterGroup(list, LetterGroupCount), -1);

    list.RemoveAt(0);
    list.RemoveAt(0);
    EXPECT_EQ(FindLetterGroup(list, AB), 0);
}

TEST_F(LetterSearchTest, InitialsWithoutALetterOrSyllableBelongToNoGroup)
{
    // Ñ is class none; the full-width A and an ideograph above U+9FA5 have no syllable.
    Fill({u"Ana", u"ana", u"\u00D1and\u00FA", u"\uFF21BC", u"\u9FA6"});
    EXPECT_EQ(AllGroups(), (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1}));

    ContactListBase chineseOnly;
    chineseOnly.Append(MakeContact(u"\u554A"));  // 啊, a
    chineseOnly.Append(MakeContact(u"\u738B"));  // 王, wang
    EXPECT_EQ(FindLetterGroup(chineseOnly, AB), 0);
    EXPECT_EQ(FindLetterGroup(chineseOnly, UVW), 1);
    EXPECT_EQ(FindLetterGroup(chineseOnly, CDE), -1);

    ContactListBase late;
    late.Append(MakeContact(u"Xavier"));
    EXPECT_EQ(FindLetterGroup(late, CDE), -1);
    EXPECT_EQ(FindLetterGroup(late, XYZ), 0);
}

TEST_F(LetterSearchTest, EmptyListSelectsNothing)
{
    EXPECT_EQ(AllGroups(), std::vector<int>(LetterGroupCount, -1));
}

TEST_F(LetterSearchTest, TestsPlaceOnlyNameFields)
{
    ContactRecord record;
    record.GetField(FieldName)->SetValue(u"Delta", 0.0);
    record.GetField(FieldAddress)->SetValue(u"Delta", 0.0);
    const ContactField& name = *record.GetField(FieldName);
    const ContactField& address = *record.GetField(FieldAddress);
    EXPECT_EQ(name.InitialClass(), InitialUpper);
    EXPECT_EQ(address.InitialClass(), InitialNone);
    EXPECT_EQ(name.LatinInitialTest(u'a', u'b'), 1);
    EXPECT_EQ(name.LatinInitialTest(u'C', u'E'), 0); // upper-case bounds count as lower case
    EXPECT_EQ(name.LatinInitialTest(u'x', u'z'), -1);
    EXPECT_EQ(address.LatinInitialTest(u'c', u'e'), -2);
    EXPECT_EQ(address.PinyinInitialTest(u'c', u'e'), -3);
    EXPECT_EQ(name.PinyinInitialTest(u'c', u'e'), -2);

    for (const std::u16string none : {u" x", u"9", u"[", u"`", u"{", u"\u4DFF"}) {
        record.GetField(FieldName)->SetValue(none, 0.0);
        EXPECT_EQ(name.InitialClass(), InitialNone);
    }
    record.GetField(FieldName)->SetValue(u"\uFFFF", 0.0);
    EXPECT_EQ(name.InitialClass(), InitialIdeograph);
    EXPECT_EQ(name.LatinInitialTest(u'a', u'z'), 2);
    EXPECT_EQ(name.PinyinInitialTest(u'a', u'z'), -1);
}
