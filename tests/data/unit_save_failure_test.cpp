#include "tests/common/FaultyEnv.h"
#include "tests/data/support/DataFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

using namespace testdata;

// An old data file, and a larger list that needs several writes to replace it.
class SaveFailureTest : public DataTest {
protected:
    void SetUp() override
    {
        ContactListBase old;
        for (int i = 0; i < 50; ++i)
            old.Append(MakeContact(u"Old"));
        ASSERT_EQ(old.Save(path), 1);
        oldBytes = ReadBytes("Contacts.pcd");
        for (int i = 0; i < 4000; ++i)
            list.Append(MakeContact(u"\u738B New", MakeDate(1990, 1, 1 + i % 28), u"555 0100"));
    }

    void ExpectOldFileUntouched()
    {
        EXPECT_EQ(ReadBytes("Contacts.pcd"), oldBytes);
        EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Contacts.pcd"});
    }

    int SavedCount()
    {
        ContactListBase loaded;
        EXPECT_EQ(loaded.Load(path), 1);
        return loaded.GetCount();
    }

    const std::u16string path = PathOf("Contacts.pcd");
    Bytes oldBytes;
    ContactListBase list;
};

TEST_F(SaveFailureTest, AnyFailingStepKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    int writes = 0;
    UseFaultyEnv([&](const char* operation) {
        writes += std::string(operation) == "write";
        return std::string(operation) != "rename";
    });
    EXPECT_EQ(list.Save(path), 0);
    ExpectOldFileUntouched();
    ASSERT_GE(writes, 2);

    for (const char* step : {"write", "flush"}) {
        for (int failAt = 0; failAt < (std::string(step) == "write" ? writes : 1); ++failAt) {
            int seen = 0;
            int flushes = 0;
            UseFaultyEnv([&](const char* operation) {
                flushes += std::string(operation) == "flush";
                return std::string(operation) != step || seen++ != failAt;
            });
            EXPECT_EQ(list.Save(path), 0) << step << " " << failAt;
            EXPECT_LE(flushes, 1) << "a failed flush is never retried";
            ExpectOldFileUntouched();
        }
    }
}

// The saved file keeps the mode and owner of the one it replaces, also
// through a symbolic link, which stays a link; a file of the user's named
// like a temporary one is left alone.
TEST_F(SaveFailureTest, SavedFileKeepsModeOwnerAndLinkAndLeavesOtherFilesAlone)
{
    const auto host = HostPath("Contacts.pcd");
    ASSERT_EQ(chmod(host.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(host.c_str(), 12345, 12346), 0);
    }
    WriteBytes("Contacts.pcd.tmp", Bytes(100, 0xEE));
    ASSERT_EQ(chmod(HostPath("Contacts.pcd.tmp").c_str(), 0444), 0);
    const auto link = HostPath("Link.pcd");
    std::filesystem::create_symlink("Contacts.pcd", link);

    ASSERT_EQ(list.Save(PathOf("Link.pcd")), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    struct stat saved {};
    ASSERT_EQ(::stat(host.c_str(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(std::make_pair(saved.st_uid, saved.st_gid), std::make_pair(uid_t(12345), gid_t(12346)));
    }
    std::vector<std::string> files = FilesInDir();
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Contacts.pcd", "Contacts.pcd.tmp", "Link.pcd"}));
    EXPECT_EQ(ReadBytes("Contacts.pcd.tmp"), Bytes(100, 0xEE));
    EXPECT_EQ(SavedCount(), 4000);
}

// Another opener's exclusive hold is respected: nothing is written, not even
// beside the file. (A read-only file, the import, export and quit tests refuse.)
TEST_F(SaveFailureTest, AHeldDataFileIsNeitherReplacedNorWrittenBeside)
{
    {
        ce::CFile holder;
        ASSERT_EQ(holder.Open(path, ce::CFile::modeRead | ce::CFile::shareExclusive), 1);
        EXPECT_EQ(list.Save(path), 0);
        ExpectOldFileUntouched();
    }
    // While the save holds the file, no reader gets in.
    int readersLetIn = 0;
    UseFaultyEnv([&](const char* operation) {
        if (std::string(operation) == "rename") {
            ce::CFile reader;
            readersLetIn += reader.Open(path, ce::CFile::modeRead | ce::CFile::shareExclusive);
        }
        return true;
    });
    ASSERT_EQ(list.Save(path), 1);
    EXPECT_EQ(readersLetIn, 0);
    EXPECT_EQ(SavedCount(), 4000);
}
