#include "tests/data/support/DataFixture.h"

#include <cstring>

using namespace testdata;

namespace {

Bytes DateBytes(int year, int month, int dayOfWeek, int day, int hour = 0, int minute = 0, int second = 0)
{
    Bytes out;
    for (int word : {year, month, dayOfWeek, day, hour, minute, second, 0}) {
        out.push_back(static_cast<unsigned char>(word & 0xFF));
        out.push_back(static_cast<unsigned char>(word >> 8));
    }
    return out;
}

const Bytes March7th1975 = {0xB7, 0x07, 0x03, 0x00, 0x05, 0x00, 0x07, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

// Appends one filler record ("F" and a long address) that ends exactly at offset.
void PadTo(Bytes& file, std::size_t offset)
{
    const std::size_t emptyRecord = 31;
    ASSERT_GE(offset, file.size() + emptyRecord + 1);
    const std::size_t address = offset - file.size() - emptyRecord - 1;
    AppendRecordBytes(file, {"F", std::string(address, 'f')});
    ASSERT_EQ(file.size(), offset);
}

} // namespace

class ContactFileTest : public DataTest {
protected:
    ContactListBase list;
};

TEST_F(ContactFileTest, SavedBytesFollowTheLayoutExactly)
{
    ASSERT_EQ(list.Save(PathOf("empty.pcd")), 1);
    EXPECT_TRUE(ReadBytes("empty.pcd").empty());
    EXPECT_EQ(list.Load(PathOf("empty.pcd")), 1);
    EXPECT_EQ(list.GetCount(), 0);

    list.Append(new ContactRecord);
    ASSERT_EQ(list.Save(PathOf("blank.pcd")), 1);
    EXPECT_EQ(ReadBytes("blank.pcd"), Bytes(31, 0));

    list.Clear();
    list.Append(MakeContact(u"Ana"));
    ASSERT_EQ(list.Save(PathOf("ana.pcd")), 1);
    Bytes ana = {0x41, 0x6E, 0x61, 0x00};
    ana.resize(34, 0);
    EXPECT_EQ(ReadBytes("ana.pcd"), ana);

    list.Clear();
    list.Append(MakeContact(u"\u738B", MakeDate(1975, 3, 7, 18, 30)));
    ASSERT_EQ(list.Save(PathOf("birthday.pcd")), 1);
    const Bytes saved = ReadBytes("birthday.pcd");
    ASSERT_EQ(saved.size(), 3u + 5 + 16 + 9);
    EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 3), (Bytes{0xCD, 0xF5, 0x00}));
    EXPECT_EQ(Bytes(saved.begin() + 8, saved.begin() + 24), DateBytes(1975, 3, 5, 7, 18, 30));

    list.Clear();
    list.Append(MakeContact(u"Ana", MakeDate(1975, 3, 7)));
    ASSERT_EQ(list.Save(PathOf("midnight.pcd")), 1);
    const Bytes midnight = ReadBytes("midnight.pcd");
    ASSERT_EQ(midnight.size(), 34u);
    EXPECT_EQ(Bytes(midnight.begin() + 9, midnight.begin() + 25), March7th1975);
}

TEST_F(ContactFileTest, ReaderJoinsFieldsAcrossChunkEnds)
{
    Bytes file;
    PadTo(file, 4090);
    AppendRecordBytes(file, {"Straddling name", "Calle 1"}, March7th1975);
    // A birthday whose 16 bytes begin 5 bytes before the second chunk end.
    PadTo(file, 8192 - 7 - 5);
    AppendRecordBytes(file, {"C"}, DateBytes(2001, 2, 6, 3, 4, 5, 6));
    // 王 (CD F5) with its lead byte the last of the third chunk.
    PadTo(file, 12287 - 1);
    AppendRecordBytes(file, {"x\xCD\xF5y"});
    // The last field has no terminator.
    AppendRecordBytes(file, {"E"});
    file.pop_back();
    file.insert(file.end(), {'w', 'e', 'b'});
    WriteBytes("chunks.pcd", file);

    ASSERT_EQ(list.Load(PathOf("chunks.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 7);
    auto guard = list.Lock();
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldName), u"Straddling name");
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldAddress), u"Calle 1");
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldBirthday), u"19750307");
    EXPECT_EQ(list.GetAt(3)->GetField(FieldBirthday)->GetDate(), MakeDate(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(TextOf(*list.GetAt(5), FieldName), u"x\u738By");
    EXPECT_EQ(TextOf(*list.GetAt(6), FieldName), u"E");
    EXPECT_EQ(TextOf(*list.GetAt(6), FieldWebPage), u"web");
    EXPECT_EQ(TextOf(*list.GetAt(4), FieldAddress), std::u16string(4042, u'f'));
}

TEST_F(ContactFileTest, UnterminatedLastFieldEndingOnAChunkEndIsKept)
{
    Bytes file;
    PadTo(file, 8192 - 37); // "Last" and "url" make a record of 37 bytes
    AppendRecordBytes(file, {"Last"});
    file.pop_back();
    file.insert(file.end(), {'u', 'r', 'l'});
    ASSERT_EQ(file.size(), 8192u);
    WriteBytes("exact.pcd", file);

    ASSERT_EQ(list.Load(PathOf("exact.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 2);
    auto guard = list.Lock();
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldName), u"Last");
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldWebPage), u"url");
}

TEST_F(ContactFileTest, CutFileKeepsTheContactWithoutValuesOfThePreviousOne)
{
    Bytes full;
    std::vector<std::string> texts;
    for (int i = 0; i < 15; ++i)
        texts.push_back("p" + std::to_string(i));
    AppendRecordBytes(full, texts, March7th1975);

    Bytes insideText = full;
    for (const char* piece : {"Cut", "Street"}) {
        insideText.insert(insideText.end(), piece, piece + std::strlen(piece));
        insideText.push_back(0);
    }
    insideText.insert(insideText.end(), {'1', '2'});
    WriteBytes("text.pcd", insideText);

    Bytes insideDate = full;
    insideDate.insert(insideDate.end(), {'C', 'u', 't', 0, 0, 0, 0, 0, 0});
    insideDate.insert(insideDate.end(), March7th1975.begin(), March7th1975.begin() + 7);
    WriteBytes("date.pcd", insideDate);

    Bytes afterField = full;
    afterField.insert(afterField.end(), {'C', 'u', 't', 0, 'S', 0});
    WriteBytes("after.pcd", afterField);

    ASSERT_EQ(list.Load(PathOf("text.pcd")), 1);
    ASSERT_EQ(list.Load(PathOf("date.pcd")), 1);
    ASSERT_EQ(list.Load(PathOf("after.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 5); // the record cut right after a field is dropped
    auto guard = list.Lock();
    const ContactRecord& cutText = *list.GetAt(1);
    EXPECT_EQ(TextOf(cutText, FieldName), u"Cut");
    EXPECT_EQ(TextOf(cutText, FieldAddress), u"Street");
    EXPECT_EQ(TextOf(cutText, FieldTelephone), u"12");
    const ContactRecord& cutDate = *list.GetAt(3);
    EXPECT_EQ(TextOf(cutDate, FieldName), u"Cut");
    for (const ContactRecord* cut : {&cutText, &cutDate}) {
        EXPECT_TRUE(cut->GetField(FieldBirthday)->IsEmpty());
        for (FieldId id = FieldMobile; id < FieldCount; ++id)
            EXPECT_TRUE(cut->GetField(id)->IsEmpty()) << "field " << id;
    }
    EXPECT_EQ(TextOf(*list.GetAt(4), FieldWebPage), u"p14");
}

TEST_F(ContactFileTest, InvalidStoredDatesReadAsNoBirthday)
{
    Bytes file;
    const Bytes invalid[] = {
        DateBytes(2000, 13, 0, 1),     DateBytes(2000, 1, 0, 0),       DateBytes(2000, 1, 0, 1, 25),
        DateBytes(2000, 2, 0, 30),     DateBytes(0, 0, 0, 0, 12, 30),
        DateBytes(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF),
    };
    for (const Bytes& date : invalid)
        AppendRecordBytes(file, {"Bad", "Addr"}, date);
    AppendRecordBytes(file, {"Good"}, DateBytes(2000, 2, 2, 29, 23, 59, 59));
    WriteBytes("dates.pcd", file);

    ASSERT_EQ(list.Load(PathOf("dates.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 7);
    auto guard = list.Lock();
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(list.GetAt(i)->GetField(FieldBirthday)->IsEmpty()) << "record " << i;
        EXPECT_EQ(TextOf(*list.GetAt(i), FieldAddress), u"Addr");
    }
    EXPECT_EQ(list.GetAt(6)->GetField(FieldBirthday)->GetDate(), MakeDate(2000, 2, 29, 23, 59, 59));
}

TEST_F(ContactFileTest, SaveAndLoadKeepOrderTextsAndBirthdays)
{
    const std::u16string names[] = {u"Zoe", u"\u00E9milie M\u00FCller", u"\u738B\u4E94", u"ana",
                                    u"\u5F35\u4E09", u"Jos\u00E9", u"\u674E\u56DB", u"#7"};
    for (int i = 0; i < 3000; ++i) {
        const ce::DATE birthday =
            i % 5 ? MakeDate(1900 + i % 130, 1 + i % 12, 1 + i % 28, i % 24, i % 60, (i * 7) % 60) : 0.0;
        const std::u16string digit(1, char16_t(u'0' + i % 10));
        ContactRecord* record = MakeContact(names[i % 8] + u" " + digit, birthday, u"+34 6" + digit);
        record->GetField(FieldWebPage)->SetValue(u"http://\u4F8B.cn/" + std::u16string(i % 40, u'x'), 0.0);
        list.Append(record);
    }
    ASSERT_EQ(list.Save(PathOf("many.pcd")), 1);

    ContactListBase loaded;
    ASSERT_EQ(loaded.Load(PathOf("many.pcd")), 1);
    ASSERT_EQ(loaded.GetCount(), list.GetCount());
    for (int i = 0; i < list.GetCount(); ++i) {
        for (FieldId id = 0; id < FieldCount; ++id) {
            ASSERT_EQ(TextOf(*loaded.GetAt(i), id), TextOf(*list.GetAt(i), id)) << "record " << i << " field " << id;
            ASSERT_EQ(loaded.GetAt(i)->GetField(id)->GetDate(), list.GetAt(i)->GetField(id)->GetDate());
        }
    }
}

TEST_F(ContactFileTest, LongTextsAreWrittenWholeAndNulNeverEndsAFieldEarly)
{
    const std::u16string longLatin(5000, u'a');
    const std::u16string longChinese(3000, u'\u738B'); // 6000 bytes in 936
    ContactRecord* record = MakeContact(longChinese);
    record->GetField(FieldAddress)->SetValue(longLatin, 0.0);
    record->GetField(FieldMobile)->SetValue(std::u16string(u"12\0" u"34", 5), 0.0);
    record->GetField(FieldFax)->SetValue(u"fax", 0.0);
    list.Append(record);
    list.Append(MakeContact(u"Next"));
    ASSERT_EQ(list.Save(PathOf("long.pcd")), 1);

    ContactListBase loaded;
    ASSERT_EQ(loaded.Load(PathOf("long.pcd")), 1);
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(TextOf(*loaded.GetAt(0), FieldName), longChinese);
    EXPECT_EQ(TextOf(*loaded.GetAt(0), FieldAddress), longLatin);
    EXPECT_EQ(TextOf(*loaded.GetAt(0), FieldMobile), u"12");
    EXPECT_EQ(TextOf(*loaded.GetAt(0), FieldFax), u"fax");
    EXPECT_EQ(TextOf(*loaded.GetAt(1), FieldName), u"Next");
}

TEST_F(ContactFileTest, MissingFileLeavesTheListAsItWas)
{
    list.Append(MakeContact(u"Kept"));
    EXPECT_EQ(list.Load(PathOf("missing.pcd")), 0);
    EXPECT_EQ(Names(list), std::vector<std::u16string>{u"Kept"});
    EXPECT_EQ(list.Save(PathOf("no-such-folder/x.pcd")), 0);
}

TEST_F(ContactFileTest, RaisedAbortFlagStopsBeforeTheFirstRecord)
{
    list.Append(MakeContact(u"Ana"));
    ASSERT_EQ(list.Save(PathOf("one.pcd")), 1);
    list.Clear();
    g_abortLoad = 1;
    EXPECT_EQ(list.Load(PathOf("one.pcd")), 1);
    EXPECT_EQ(list.GetCount(), 0);
}
