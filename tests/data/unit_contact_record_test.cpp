#include "tests/data/support/DataFixture.h"

#include <memory>

using namespace testdata;

class ContactRecordTest : public DataTest {};

TEST_F(ContactRecordTest, BirthdayTextComesFromTheDateAlone)
{
    ContactRecord record, morning;
    ContactField& birthday = *record.GetField(FieldBirthday);
    birthday.SetValue(u"ignored", 0.0);
    EXPECT_TRUE(birthday.IsEmpty());
    birthday.SetValue(u"", MakeDate(1975, 3, 7, 18, 30));
    EXPECT_EQ(TextOf(record, FieldBirthday), u"19750307");
    morning.GetField(FieldBirthday)->SetValue(u"", MakeDate(1975, 3, 7, 9, 0));
    EXPECT_TRUE(birthday.DiffersFrom(*morning.GetField(FieldBirthday)));
    birthday.SetValue(u"", MakeDate(1899, 12, 1)); // negative date
    EXPECT_EQ(TextOf(record, FieldBirthday), u"18991201");
    birthday.SetValue(u"", MakeDate(1899, 12, 30)); // the date 0.0
    EXPECT_TRUE(birthday.IsEmpty());

    ContactField& name = *record.GetField(FieldName);
    name.SetValue(u"Maria", 12345.0);
    EXPECT_EQ(name.GetDate(), 0.0);
    morning.GetField(FieldName)->SetValue(u"MARIA", 0.0);
    EXPECT_FALSE(name.DiffersFrom(*morning.GetField(FieldName)));
    morning.GetField(FieldName)->SetValue(u"Mario", 0.0);
    EXPECT_TRUE(name.DiffersFrom(*morning.GetField(FieldName)));
}

TEST_F(ContactRecordTest, CopiesAreDeepAndCarryLabels)
{
    const std::unique_ptr<ContactRecord> source(MakeContact(u"Ana", MakeDate(1980, 1, 2), u"555"));
    source->LoadLabels();
    ContactRecord copy;
    copy = *source;
    copy.GetField(FieldName)->SetValue(u"Eva", 0.0);
    copy.GetField(FieldBirthday)->SetValue(u"", 0.0);
    EXPECT_EQ(TextOf(*source, FieldName), u"Ana");
    EXPECT_EQ(TextOf(*source, FieldBirthday), u"19800102");
    EXPECT_EQ(TextOf(copy, FieldTelephone), u"555");
    std::u16string label;
    copy.GetField(FieldName)->GetLabel(label);
    EXPECT_EQ(label, u"Nombre:");
}

TEST_F(ContactRecordTest, CompareNoCaseFoldsEveryScriptWithoutLocale)
{
    EXPECT_EQ(CompareNoCase(u"\u00D1AND\u00DA", u"\u00F1and\u00FA"), 0);                     // ÑANDÚ
    EXPECT_EQ(CompareNoCase(u"\u03A3\u039F\u03A6\u0399\u0391", u"\u03C3\u03BF\u03C6\u03B9\u03B1"), 0); // ΣΟΦΙΑ
    EXPECT_EQ(CompareNoCase(u"\u0416\u0415\u041D\u042F", u"\u0436\u0435\u043D\u044F"), 0);   // ЖЕНЯ
    EXPECT_EQ(CompareNoCase(u"\uFF21", u"\uFF41"), 0);                                       // full-width A
    EXPECT_LT(CompareNoCase(u"Ann", u"anna"), 0);
    EXPECT_GT(CompareNoCase(u"anna", u"Ann"), 0);
    EXPECT_LT(CompareNoCase(u"_", u"Z"), 0); // '_' sorts before every letter once folded
}
