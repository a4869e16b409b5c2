#include "platform/core/File.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "tests/common/FaultyEnv.h"
#include "tests/common/Files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using ce::CFile;

namespace {

class FileTest : public ::testing::Test {
protected:
    void SetUp() override { ce::SetDeviceRoot(dir.Path()); }
    void TearDown() override
    {
        UseFaultyEnv(nullptr);
        ce::SetDeviceRoot("");
    }

    TempDir dir;
    const std::u16string devicePath = u"\\data.pcd";
    const unsigned readFlags = CFile::modeRead | CFile::shareExclusive;
    const unsigned writeFlags = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;
};

TEST_F(FileTest, WritesReadsTruncatesAndReportsMissingFiles)
{
    ASSERT_TRUE(WriteHostFile(dir.File("data.pcd"), "old contents, longer"));
    CFile out;
    ASSERT_EQ(out.Open(devicePath, writeFlags), 1);
    EXPECT_EQ(out.GetLength(), 0u);
    ASSERT_EQ(out.Write("hello, world", 12), 1);
    EXPECT_EQ(out.Flush(), 1);
    out.Close();
    EXPECT_EQ(ReadHostFile(dir.File("data.pcd")), "hello, world");

    CFile in;
    ASSERT_EQ(in.Open(devicePath, readFlags), 1);
    EXPECT_EQ(in.GetLength(), 12u);
    char buffer[8];
    EXPECT_EQ(in.Read(buffer, 5), 5u);
    EXPECT_EQ(in.Read(buffer, 8), 7u);
    EXPECT_EQ(std::string(buffer, 7), ", world");
    EXPECT_EQ(in.Read(buffer, 8), 0u);
    EXPECT_FALSE(in.ReadFailed()); // the end is no failure
    EXPECT_EQ(in.Write("x", 1), 0);
    in.Close();

    EXPECT_EQ(in.Open(u"\\missing.pcd", readFlags), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(in.Open(u"\\", readFlags), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ACCESS_DENIED);
}

TEST_F(FileTest, SecondOpenerInThisOrAnotherProcessIsRefusedWhileTheFileIsHeld)
{
    ASSERT_TRUE(WriteHostFile(dir.File("data.pcd"), "precious"));
    auto childOpens = [&] {
        pid_t pid = fork();
        if (pid == 0) {
            CFile file;
            _exit(file.Open(devicePath, readFlags) == 1 ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    CFile holder, reader, writer;
    ASSERT_EQ(holder.Open(devicePath, readFlags), 1);
    EXPECT_EQ(reader.Open(devicePath, readFlags), 0);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_SHARING_VIOLATION);
    EXPECT_EQ(writer.Open(devicePath, writeFlags), 0); // and does not truncate
    EXPECT_EQ(ReadHostFile(dir.File("data.pcd")), "precious");
    EXPECT_FALSE(childOpens());

    holder.Close();
    EXPECT_TRUE(childOpens());
    EXPECT_EQ(reader.Open(devicePath, readFlags), 1);
}

TEST_F(FileTest, AFaultyEnvMakesReadWriteFlushAndRenameFail)
{
    std::string refused;
    UseFaultyEnv([&](const char* operation) { return refused != operation; });

    CFile file;
    ASSERT_EQ(WriteHostFile(dir.File("new.tmp"), "abc"), true);
    ASSERT_EQ(file.Open(u"\\new.tmp", readFlags), 1);
    char bytes[4] = {};
    refused = "read";
    EXPECT_EQ(file.Read(bytes, 3), 0u);
    EXPECT_TRUE(file.ReadFailed());
    file.Close();

    ASSERT_EQ(file.Open(u"\\new.tmp", writeFlags), 1);
    refused = "write";
    EXPECT_EQ(file.Write("abc", 3), 0);
    refused = "flush";
    EXPECT_EQ(file.Write("abc", 3), 1);
    EXPECT_EQ(file.Flush(), 0);
    file.Close();

    refused = "rename";
    EXPECT_EQ(CFile::Rename(u"\\new.tmp", devicePath), 0);
    EXPECT_EQ(ReadHostFile(dir.File("new.tmp")), "abc");
    refused.clear();
    EXPECT_EQ(CFile::Rename(u"\\new.tmp", devicePath), 1);
    EXPECT_EQ(ReadHostFile(dir.File("data.pcd")), "abc");
    EXPECT_EQ(CFile::Remove(devicePath), 1);
    EXPECT_EQ(CFile::Remove(devicePath), 0);
}

} // namespace
