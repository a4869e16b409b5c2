#include "tests/data/support/DataFixture.h"

#include <memory>

using namespace testdata;

namespace {

// -1 when a sorts before b, 1 after, 0 equal; checked both ways.
int Order(const std::u16string& a, const std::u16string& b)
{
    const std::unique_ptr<ContactRecord> ra(MakeContact(a));
    const std::unique_ptr<ContactRecord> rb(MakeContact(b));
    const bool less = ra->GetField(FieldName)->IsLessThan(*rb->GetField(FieldName));
    const bool greater = rb->GetField(FieldName)->IsLessThan(*ra->GetField(FieldName));
    return less && greater ? 99 : less ? -1 : greater ? 1 : 0;
}

} // namespace

class NameOrderTest : public DataTest {};

TEST_F(NameOrderTest, NamesSortEmptyThenTextThenByInitialSyllable)
{
    const Names ascending = {
        u"",        u"1 Taxi", u"anna",   u"Bob",    u"carla",  u"Zoe",
        u"\u3042",  // kana, below U+4E00: compared as text
        u"\uAC00",  // Hangul: no syllable
        u"\u554A",  // 啊 a
        u"\u7231",  // 爱 ai
        u"\u674E",  // 李 li
        u"\u7F57",  // 罗 luo
        u"\u5415",  // 吕 lv, after luo as text although its row comes first
        u"\u738B",  // 王 wang
        u"\u4E00",  // 一 yi, the first ideograph
        u"\u5C0A",  // 尊 zun
        u"\u4E98",  // 亘, level 2: zuo
    };
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i)
        EXPECT_EQ(Order(ascending[i], ascending[i + 1]), -1) << i;

    EXPECT_EQ(Order(u"", u""), 0);
    EXPECT_EQ(Order(u"ANNA", u"anna"), 0);
    EXPECT_EQ(Order(u"\u963F", u"\u554A"), 0);             // 阿 and 啊 both a
    EXPECT_EQ(Order(u"\u5F35\u4E09", u"\u5F20\u56DB"), 0); // 張三 and 张四
    EXPECT_EQ(Order(u"\u4E98", u"\u505A"), 0);             // 亘 and 做 both zuo
    EXPECT_EQ(Order(u"\u9FA5", u"\u505A"), 0);             // 龥, the last, level 2: zuo
    EXPECT_EQ(Order(u"\u4E02", u"\uAC00"), 0);             // 丂 has no syllable either
    EXPECT_EQ(Order(u"\xD840\xDC00", u"\uFF21"), 0);
}

TEST_F(NameOrderTest, AKeptUndecodableByteSortsAsTheReplacementCharacter)
{
    const std::u16string kept(1, ce::UndecodableByteUnit(0xFF));
    for (const std::u16string other : {u"Ana\uFF21", u"Ana\u00E9", u"Ana\uFFFE", u"Ana", u"\u738B", u"\uFF21", u""}) {
        EXPECT_EQ(Order(u"Ana" + kept, other), Order(u"Ana\uFFFD", other)) << int(other.back());
        EXPECT_EQ(Order(kept + u"x", other), Order(u"\uFFFDx", other)) << int(other.back());
    }
    EXPECT_EQ(Order(u"Ana" + kept, u"Ana\uFFFD"), 0);
}
