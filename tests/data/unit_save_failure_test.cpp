#include "tests/data/support/DataFixture.h"

#include <sys/stat.h>

using namespace testdata;

namespace {

std::filesystem::perms PermsOf(const std::string& path)
{
    return std::filesystem::status(path).permissions() & std::filesystem::perms::mask;
}

} // namespace

// A data file written from one list, then a different, larger list to save over it.
class SaveFailureTest : public DataTest {
protected:
    void SetUp() override
    {
        ContactListBase old;
        for (int i = 0; i < 50; ++i)
            old.Append(MakeContact(u"Old " + std::u16string(1, char16_t(u'A' + i % 26))));
        ASSERT_EQ(old.Save(path), 1);
        oldBytes = ReadBytes("Contacts.pcd");
        ASSERT_FALSE(oldBytes.empty());
        for (int i = 0; i < 4000; ++i)
            list.Append(MakeContact(u"\u738B New", MakeDate(1990, 1, 1 + i % 28), u"555 0100"));
    }

    // Counts the operations of a successful save, then restores the old file.
    int CountOperations(const char* which)
    {
        int count = 0;
        ce::CFile::SetFaultHook([&](const char* operation) {
            count += std::string(operation) == which;
            return true;
        });
        EXPECT_EQ(list.Save(path), 1);
        ce::CFile::SetFaultHook(nullptr);
        WriteBytes("Contacts.pcd", oldBytes);
        return count;
    }

    void ExpectOldFileUntouched()
    {
        EXPECT_EQ(ReadBytes("Contacts.pcd"), oldBytes);
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Contacts.pcd"});
    }

    const std::u16string path = PathOf("Contacts.pcd");
    Bytes oldBytes;
    ContactListBase list;
};

TEST_F(SaveFailureTest, AnyFailingStepKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    const int writes = CountOperations("write");
    ASSERT_GE(writes, 2) << "the list should need several writes";
    for (const char* step : {"write", "flush", "rename"}) {
        const int steps = std::string(step) == "write" ? writes : 1;
        for (int failAt = 0; failAt < steps; ++failAt) {
            int seen = 0;
            ce::CFile::SetFaultHook([&](const char* operation) {
                return std::string(operation) != step || seen++ != failAt;
            });
            EXPECT_EQ(list.Save(path), 0) << step << " " << failAt;
            ce::CFile::SetFaultHook(nullptr);
            ExpectOldFileUntouched();
        }
    }
    ASSERT_EQ(list.Save(path), 1);
    ContactListBase loaded;
    ASSERT_EQ(loaded.Load(path), 1);
    EXPECT_EQ(loaded.GetCount(), 4000);
}

TEST_F(SaveFailureTest, FlushIsNeverRetried)
{
    int flushes = 0;
    ce::CFile::SetFaultHook([&](const char* operation) {
        if (std::string(operation) != "flush")
            return true;
        ++flushes;
        return false;
    });
    EXPECT_EQ(list.Save(path), 0);
    EXPECT_EQ(flushes, 1);
    ce::CFile::SetFaultHook(nullptr);
    ExpectOldFileUntouched();
}

TEST_F(SaveFailureTest, SavedFileKeepsThePermissionsOfTheOldOne)
{
    const std::string host = HostPath("Contacts.pcd");
    ASSERT_EQ(chmod(host.c_str(), 0640), 0);
    ASSERT_EQ(list.Save(path), 1);
    EXPECT_EQ(PermsOf(host), std::filesystem::perms(0640));

    ASSERT_EQ(chmod(host.c_str(), 0444), 0);
    ASSERT_EQ(list.Save(path), 1);
    EXPECT_EQ(PermsOf(host), std::filesystem::perms(0444));
}

TEST_F(SaveFailureTest, TemporaryFileLeftByACrashDoesNotDisturb)
{
    WriteBytes("Contacts.pcd.tmp", Bytes(100000, 0xEE));
    ASSERT_EQ(chmod(HostPath("Contacts.pcd.tmp").c_str(), 0444), 0);
    ASSERT_EQ(list.Save(path), 1);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Contacts.pcd"});
    ContactListBase loaded;
    ASSERT_EQ(loaded.Load(path), 1);
    EXPECT_EQ(loaded.GetCount(), 4000);
    EXPECT_EQ(NameAt(loaded, 3999), u"\u738B New");
}
