#include "tests/common/FaultyEnv.h"
#include "tests/data/support/DataFixture.h"
#include "data/ContactFileFormat.h"

using namespace testdata;

namespace {

Bytes DateBytes(int year, int month, int dayOfWeek, int day, int hour = 0, int minute = 0, int second = 0)
{
    Bytes out;
    for (int word : {year, month, dayOfWeek, day, hour, minute, second, 0})
        out.insert(out.end(), {static_cast<unsigned char>(word & 0xFF), static_cast<unsigned char>(word >> 8)});
    return out;
}

} // namespace

class ContactFileTest : public DataTest {
protected:
    Bytes SaveOne(std::unique_ptr<ContactRecord> record)
    {
        ContactListBase one;
        one.Append(std::move(record));
        EXPECT_EQ(one.Save(PathOf("one.pcd")), 1);
        return ReadBytes("one.pcd");
    }

    ContactListBase list;
};

TEST_F(ContactFileTest, SavedBytesFollowTheLayoutExactly)
{
    ASSERT_EQ(list.Save(PathOf("empty.pcd")), 1);
    EXPECT_TRUE(ReadBytes("empty.pcd").empty());
    EXPECT_EQ(list.Load(PathOf("empty.pcd")), 1);
    EXPECT_EQ(list.GetCount(), 0);

    EXPECT_EQ(SaveOne(std::make_unique<ContactRecord>()), Bytes(31, 0));
    Bytes ana = {0x41, 0x6E, 0x61, 0x00};
    ana.resize(34, 0);
    EXPECT_EQ(SaveOne(MakeContact(u"Ana")), ana);

    const Bytes wang = SaveOne(MakeContact(u"\u738B", MakeDate(1975, 3, 7, 18, 30)));
    ASSERT_EQ(wang.size(), 33u);
    EXPECT_EQ(Bytes(wang.begin(), wang.begin() + 3), (Bytes{0xCD, 0xF5, 0x00}));
    EXPECT_EQ(Bytes(wang.begin() + 8, wang.begin() + 24), DateBytes(1975, 3, 5, 7, 18, 30));

    Bytes telephone(33, 0); // "12", cut at its NUL: a text never ends its field early
    telephone[2] = '1', telephone[3] = '2';
    EXPECT_EQ(SaveOne(MakeContact(u"", 0.0, std::u16string(u"12\0" u"34", 5))), telephone);
}

TEST_F(ContactFileTest, CutFileKeepsTheContactWithoutValuesOfThePreviousOne)
{
    Bytes full;
    AppendRecordBytes(full, std::vector<std::string>(15, "old"), DateBytes(1975, 3, 5, 7));
    const Bytes cuts[] = {
        {'C', 'u', 't', 0, 'S', 't', 'r', 'e', 'e', 't', 0, '1', '2'},               // inside a text
        {'C', 'u', 't', 0, 0, 0, 0, 0, 0, 0xB7, 0x07, 0x03, 0x00, 0x05, 0x00, 0x07}, // inside 1975-03-07
        {'C', 'u', 't', 0, 'S', 0},                                                  // right after a field
    };
    for (const Bytes& cut : cuts) {
        Bytes file = full;
        file.insert(file.end(), cut.begin(), cut.end());
        WriteBytes("cut.pcd", file);
        ASSERT_EQ(list.Load(PathOf("cut.pcd")), 1);
    }
    ASSERT_EQ(list.GetCount(), 6);
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldAddress), u"Street");
    EXPECT_EQ(TextOf(*list.GetAt(1), FieldTelephone), u"12");
    EXPECT_EQ(TextOf(*list.GetAt(5), FieldAddress), u"S");
    for (int cut : {1, 3, 5}) {
        EXPECT_EQ(TextOf(*list.GetAt(cut), FieldName), u"Cut");
        for (FieldId id = FieldMobile; id < FieldCount; ++id)
            EXPECT_TRUE(list.GetAt(cut)->GetField(id)->IsEmpty()) << "record " << cut << " field " << id;
    }
}

// Odd stored dates read as what they mean, and their bytes are written back
// as read until the user gives the contact another birthday.
TEST_F(ContactFileTest, InvalidStoredDatesReadAsNoBirthdayAndOddBytesSurviveASave)
{
    Bytes file;
    for (const Bytes& date : {DateBytes(2000, 13, 0, 1), DateBytes(2000, 1, 0, 0), DateBytes(2000, 1, 0, 1, 25),
                              DateBytes(2000, 2, 0, 30), Bytes(16, 0xFF)})
        AppendRecordBytes(file, {"Bad", "Addr"}, date);
    AppendRecordBytes(file, {"Good"}, DateBytes(2000, 2, 2, 29, 23, 59, 59));
    Bytes halfSecond = DateBytes(2000, 1, 6, 1);
    halfSecond[14] = 0xF4, halfSecond[15] = 0x01; // 500 ms
    AppendRecordBytes(file, {"Weekday 0"}, DateBytes(2000, 1, 0, 1));
    AppendRecordBytes(file, {"Half second"}, halfSecond);
    WriteBytes("dates.pcd", file);

    ASSERT_EQ(list.Load(PathOf("dates.pcd")), 1);
    ASSERT_EQ(list.GetCount(), 8);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(list.GetAt(i)->GetField(FieldBirthday)->IsEmpty()) << "record " << i;
        EXPECT_EQ(TextOf(*list.GetAt(i), FieldAddress), u"Addr");
    }
    EXPECT_EQ(list.GetAt(5)->GetField(FieldBirthday)->GetDate(), MakeDate(2000, 2, 29, 23, 59, 59));
    EXPECT_EQ(TextOf(*list.GetAt(6), FieldBirthday), u"20000101");

    ASSERT_EQ(list.Save(PathOf("again.pcd")), 1);
    EXPECT_EQ(ReadBytes("again.pcd"), file);

    // A copy (as the edit dialog makes) keeps the bytes; a new date does not.
    ContactRecord copy(*list.GetAt(6));
    Bytes weekdayZero;
    AppendRecordBytes(weekdayZero, {"Weekday 0"}, DateBytes(2000, 1, 0, 1));
    EXPECT_EQ(SaveOne(std::make_unique<ContactRecord>(copy)), weekdayZero);
    copy.GetField(FieldBirthday)->SetValue(u"", MakeDate(2000, 1, 3));
    const Bytes changed = SaveOne(std::make_unique<ContactRecord>(copy));
    EXPECT_EQ(Bytes(changed.begin() + 15, changed.begin() + 31), DateBytes(2000, 1, 1, 3));
}

TEST_F(ContactFileTest, ReadErrorTakesBackWhatTheLoadAppendedAndMissingFilesFail)
{
    Bytes file;
    for (int i = 0; i < 400; ++i)
        AppendRecordBytes(file, {"Contact " + std::to_string(i), "Calle Mayor 1"});
    ASSERT_GT(file.size(), 3 * ContactFileFormat::ChunkSize);
    WriteBytes("big.pcd", file);
    list.Append(MakeContact(u"Kept"));

    int reads = 0;
    UseFaultyEnv([&](const char* operation) { return std::string(operation) != "read" || ++reads < 3; });
    EXPECT_EQ(list.Load(PathOf("big.pcd")), 0);
    EXPECT_EQ(NamesOf(list), Names{u"Kept"});

    UseFaultyEnv(nullptr);
    g_abortLoad = 1; // raised before the load: nothing is appended
    EXPECT_EQ(list.Load(PathOf("big.pcd")), 1);
    EXPECT_EQ(NamesOf(list), Names{u"Kept"});
    g_abortLoad = 0;
    EXPECT_EQ(list.Save(PathOf("no-such-folder/x.pcd")), 0);
    EXPECT_EQ(list.Load(PathOf("big.pcd")), 1);
    EXPECT_EQ(list.GetCount(), 401);

    // A record that the user deleted during the load is not taken back twice.
    list.Clear();
    list.Append(MakeContact(u"Kept"));
    reads = 0;
    UseFaultyEnv([&](const char* operation) {
        if (std::string(operation) != "read" || ++reads < 3)
            return true;
        list.RemoveAt(1);
        list.RemoveAt(list.GetCount() - 1);
        return false;
    });
    EXPECT_EQ(list.Load(PathOf("big.pcd")), 0);
    EXPECT_EQ(NamesOf(list), Names{u"Kept"});
}

// Raised while a record is read, the stop drops that record and keeps those
// before it.
TEST_F(ContactFileTest, AStopInsideARecordNeverAppendsIt)
{
    Bytes file;
    AppendRecordBytes(file, {"First", std::string(3000, 'a')});
    AppendRecordBytes(file, {"Second", std::string(3000, 'b'), "Calle"});
    AppendRecordBytes(file, {"Third"});
    WriteBytes("two.pcd", file);
    ASSERT_GT(file.size(), ContactFileFormat::ChunkSize);
    int reads = 0;
    // Raised as the second chunk is read, inside the long field of "Second".
    UseFaultyEnv([&](const char* operation) {
        if (std::string(operation) == "read" && ++reads == 2)
            g_abortLoad = 1;
        return true;
    });
    ContactListBase loaded;
    EXPECT_EQ(loaded.Load(PathOf("two.pcd")), 1);
    EXPECT_EQ(NamesOf(loaded), Names{u"First"});
}
