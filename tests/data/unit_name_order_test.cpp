#include "data/NameCollation.h"
#include "tests/data/support/DataFixture.h"

#include <memory>

using namespace testdata;

namespace {

const ContactField& NameField(const std::unique_ptr<ContactRecord>& record)
{
    return *record->GetField(FieldName);
}

std::unique_ptr<ContactRecord> Name(const std::u16string& name)
{
    return std::unique_ptr<ContactRecord>(MakeContact(name));
}

// a < b and not b < a.
::testing::AssertionResult Before(const std::u16string& a, const std::u16string& b)
{
    const auto ra = Name(a);
    const auto rb = Name(b);
    const bool less = NameField(ra).IsLessThan(NameField(rb));
    const bool greater = NameField(rb).IsLessThan(NameField(ra));
    if (less && !greater)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "a<b " << less << ", b<a " << greater;
}

::testing::AssertionResult Equal(const std::u16string& a, const std::u16string& b)
{
    const auto ra = Name(a);
    const auto rb = Name(b);
    if (!NameField(ra).IsLessThan(NameField(rb)) && !NameField(rb).IsLessThan(NameField(ra)))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "names are not equal in the order";
}

} // namespace

class NameOrderTest : public DataTest {};

TEST_F(NameOrderTest, SyllableLookupCoversTableEdges)
{
    EXPECT_EQ(FindSyllable(0xB0A1), u"a");
    EXPECT_EQ(FindSyllable(0xB0A2), u"a");
    EXPECT_EQ(FindSyllable(0xB0A3), u"ai");
    EXPECT_EQ(FindSyllable(0xD7F1), u"zun");
    EXPECT_EQ(FindSyllable(0xD7F2), u"zuo");
    EXPECT_EQ(FindSyllable(0xF7FE), u"zuo");
    EXPECT_EQ(FindSyllable(0xFFFF), u"zuo");
    EXPECT_EQ(FindSyllable(0xB0A0), u"");
    EXPECT_EQ(FindSyllable(0x8140), u"");
    EXPECT_EQ(FindSyllable(0), u"");

    EXPECT_EQ(GetPinyinSyllable(u'\u4E00'), u"yi");
    EXPECT_EQ(GetPinyinSyllable(u'\u738B'), u"wang");
    EXPECT_EQ(GetPinyinSyllable(u'\u5F35'), u"zhang"); // 張, traditional form of 张
    EXPECT_EQ(GetPinyinSyllable(u'\u9FA5'), u"zuo");   // GBK code above level 1
    EXPECT_EQ(GetPinyinSyllable(u'\u4E02'), u"");      // 丂, GBK code below 0xB0A1
    EXPECT_EQ(GetPinyinSyllable(u'\u9FA6'), u"");
    EXPECT_EQ(GetPinyinSyllable(u'\u4DFF'), u"");
    EXPECT_EQ(GetPinyinSyllable(u'A'), u"");
}

TEST_F(NameOrderTest, EmptyNamesFirstThenLatinWithoutCase)
{
    EXPECT_TRUE(Equal(u"", u""));
    EXPECT_TRUE(Before(u"", u"a"));
    EXPECT_TRUE(Before(u"", u"\u738B"));
    EXPECT_TRUE(Before(u"anna", u"Bob"));
    EXPECT_TRUE(Before(u"bob", u"Carla"));
    EXPECT_TRUE(Before(u"Ann", u"anna"));
    EXPECT_TRUE(Equal(u"ANNA", u"anna"));
    EXPECT_TRUE(Before(u"1 Taxi", u"Ana"));
    // Kana and Extension A ideographs are below U+4E00: they compare as text.
    EXPECT_TRUE(Before(u"Zoe", u"\u3042"));
    EXPECT_TRUE(Before(u"\u3042", u"\u3400"));
    EXPECT_TRUE(Before(u"\u3400", u"\u554A"));
}

TEST_F(NameOrderTest, ChineseNamesFollowLatinByInitialSyllable)
{
    EXPECT_TRUE(Before(u"Zoe", u"\u738B"));                  // 王
    EXPECT_TRUE(Before(u"\u674E", u"\u738B"));               // 李 li < 王 wang
    EXPECT_TRUE(Before(u"\u554A", u"\u7231"));               // 啊 a < 爱 ai
    EXPECT_TRUE(Before(u"\u963F", u"\u7231"));               // 阿 a < 爱 ai
    EXPECT_TRUE(Equal(u"\u5F35\u4E09", u"\u5F20\u56DB"));   // 張三 and 张四
    EXPECT_TRUE(Equal(u"\u738B\u660E", u"\u6C6A\u6D0B"));   // 王明 and 汪洋 both wang
    // Only the first character counts.
    EXPECT_TRUE(Equal(u"\u674E\u4E00", u"\u674E\u9F99"));
    // lv sorts after luo as text, although its row comes earlier.
    EXPECT_TRUE(Before(u"\u7F57", u"\u5415"));               // 罗 luo < 吕 lv
}

TEST_F(NameOrderTest, LevelTwoAndUnreadInitialsTakeTheirPlaces)
{
    // 亘 is a level-2 character: it reads zuo, equal to 做, after zun.
    EXPECT_TRUE(Equal(u"\u4E98", u"\u505A"));
    EXPECT_TRUE(Before(u"\u5C0A", u"\u4E98"));  // 尊 zun
    EXPECT_TRUE(Equal(u"\u4F5C", u"\u4E98")); // 作 zuo
    // No syllable: after every Latin name, before 啊.
    for (const std::u16string initial : {u"\uAC00", u"\u4E02", u"\uFF21", u"\xD840"}) {
        EXPECT_TRUE(Before(u"zzz", initial));
        EXPECT_TRUE(Before(initial, u"\u554A"));
    }
}

TEST_F(NameOrderTest, FieldsOfOtherKindsOrderByIdAndDate)
{
    ContactRecord early;
    ContactRecord late;
    early.GetField(FieldBirthday)->SetValue(u"", MakeDate(1970, 5, 1));
    late.GetField(FieldBirthday)->SetValue(u"", MakeDate(1970, 5, 1, 0, 0, 1));
    EXPECT_TRUE(early.GetField(FieldBirthday)->IsLessThan(*late.GetField(FieldBirthday)));
    EXPECT_FALSE(late.GetField(FieldBirthday)->IsLessThan(*early.GetField(FieldBirthday)));

    late.GetField(FieldName)->SetValue(u"zzz", 0.0);
    EXPECT_TRUE(late.GetField(FieldName)->IsLessThan(*early.GetField(FieldAddress)));
    EXPECT_FALSE(early.GetField(FieldAddress)->IsLessThan(*late.GetField(FieldName)));
}
