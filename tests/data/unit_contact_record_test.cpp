#include "tests/data/support/DataFixture.h"

#include <memory>

using namespace testdata;

class ContactRecordTest : public DataTest {};

TEST_F(ContactRecordTest, FreshRecordHasSixteenEmptyFieldsUntilLabelsAreLoaded)
{
    ContactRecord record;
    ASSERT_EQ(record.GetFieldCount(), 16);
    for (FieldId id = 0; id < FieldCount; ++id) {
        const ContactField* field = record.GetField(id);
        EXPECT_EQ(field->GetFieldId(), id);
        EXPECT_TRUE(field->IsEmpty());
        std::u16string label = u"x";
        field->GetLabel(label);
        EXPECT_TRUE(label.empty());
    }
    record.LoadLabels();
    std::u16string label;
    record.GetField(FieldName)->GetLabel(label);
    EXPECT_EQ(label, u"Nombre:");
    record.GetField(FieldBirthday)->GetLabel(label);
    EXPECT_EQ(label, u"Cumpleanios:");
    record.GetField(FieldWebPage)->GetLabel(label);
    EXPECT_EQ(label, u"Pagina web:");
}

TEST_F(ContactRecordTest, BirthdayTextComesFromTheDateAlone)
{
    ContactRecord record;
    ContactField& birthday = *record.GetField(FieldBirthday);
    birthday.SetValue(u"ignored", 0.0);
    EXPECT_TRUE(birthday.IsEmpty());
    EXPECT_EQ(TextOf(record, FieldBirthday), u"");

    const ce::DATE evening = MakeDate(1975, 3, 7, 18, 30);
    birthday.SetValue(u"", evening);
    EXPECT_FALSE(birthday.IsEmpty());
    EXPECT_EQ(TextOf(record, FieldBirthday), u"19750307");

    ContactRecord morning;
    morning.GetField(FieldBirthday)->SetValue(u"", MakeDate(1975, 3, 7, 9, 0));
    EXPECT_TRUE(birthday.DiffersFrom(*morning.GetField(FieldBirthday)));

    // Before 1900 the date is negative; the year is printed whole.
    birthday.SetValue(u"", MakeDate(1899, 12, 1));
    EXPECT_LT(birthday.GetDate(), 0.0);
    EXPECT_EQ(TextOf(record, FieldBirthday), u"18991201");

    // 30 December 1899 00:00 is the date 0.0, which means no birthday.
    birthday.SetValue(u"", MakeDate(1899, 12, 30));
    EXPECT_TRUE(birthday.IsEmpty());
}

TEST_F(ContactRecordTest, TextFieldIgnoresDateAndComparesWithoutCase)
{
    ContactRecord a;
    ContactRecord b;
    a.GetField(FieldName)->SetValue(u"Maria", 12345.0);
    EXPECT_EQ(a.GetField(FieldName)->GetDate(), 0.0);
    EXPECT_EQ(TextOf(a, FieldName), u"Maria");

    b.GetField(FieldName)->SetValue(u"MARIA", 0.0);
    EXPECT_FALSE(a.GetField(FieldName)->DiffersFrom(*b.GetField(FieldName)));
    b.GetField(FieldName)->SetValue(u"Mario", 0.0);
    EXPECT_TRUE(a.GetField(FieldName)->DiffersFrom(*b.GetField(FieldName)));
    EXPECT_TRUE(a.GetField(FieldName)->DiffersFrom(*a.GetField(FieldAddress)));
}

TEST_F(ContactRecordTest, CopiesAreDeepAndCarryLabels)
{
    std::unique_ptr<ContactRecord> source(MakeContact(u"Ana", MakeDate(1980, 1, 2), u"555"));
    source->LoadLabels();
    ContactRecord copy;
    copy = *source;
    for (FieldId id = 0; id < FieldCount; ++id) {
        EXPECT_EQ(TextOf(copy, id), TextOf(*source, id));
        EXPECT_EQ(copy.GetField(id)->GetDate(), source->GetField(id)->GetDate());
        std::u16string a, b;
        copy.GetField(id)->GetLabel(a);
        source->GetField(id)->GetLabel(b);
        EXPECT_EQ(a, b);
        EXPECT_FALSE(a.empty());
    }
    copy.GetField(FieldName)->SetValue(u"Eva", 0.0);
    copy.GetField(FieldBirthday)->SetValue(u"", 0.0);
    EXPECT_EQ(TextOf(*source, FieldName), u"Ana");
    EXPECT_EQ(TextOf(*source, FieldBirthday), u"19800102");

    ContactRecord constructed(*source);
    EXPECT_EQ(TextOf(constructed, FieldTelephone), u"555");
}

TEST_F(ContactRecordTest, CompareNoCaseFoldsEveryScriptWithoutLocale)
{
    EXPECT_EQ(CompareNoCase(u"anna", u"ANNA"), 0);
    EXPECT_EQ(CompareNoCase(u"\u00D1AND\u00DA", u"\u00F1and\u00FA"), 0); // ÑANDÚ, ñandú
    EXPECT_EQ(CompareNoCase(u"\u03A3\u039F\u03A6\u0399\u0391", u"\u03C3\u03BF\u03C6\u03B9\u03B1"), 0); // ΣΟΦΙΑ
    EXPECT_EQ(CompareNoCase(u"\u0416\u0415\u041D\u042F", u"\u0436\u0435\u043D\u044F"), 0); // ЖЕНЯ
    EXPECT_EQ(CompareNoCase(u"\uFF21", u"\uFF41"), 0); // full-width A
    EXPECT_LT(CompareNoCase(u"Ann", u"anna"), 0);
    EXPECT_GT(CompareNoCase(u"anna", u"Ann"), 0);
    EXPECT_LT(CompareNoCase(u"", u"a"), 0);
    // Folded units compare by value: '_' (0x5F) lies between 'Z' and 'a',
    // so it sorts before every letter.
    EXPECT_LT(CompareNoCase(u"_", u"Z"), 0);
    EXPECT_LT(CompareNoCase(u"_", u"a"), 0);
    // Surrogate halves and units without a case stay as they are.
    EXPECT_LT(CompareNoCase(u"\xD83D\xDE00", u"\xD83D\xDE01"), 0);
    EXPECT_EQ(CompareNoCase(u"\u738B", u"\u738B"), 0);
}
