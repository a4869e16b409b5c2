#include "platform/core/File.h"
#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "tests/common/Files.h"

#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override { ce::SetDeviceRoot(dir.Path()); }
    void TearDown() override { ce::SetDeviceRoot(""); }

    ce::WIN32_FILE_ATTRIBUTE_DATA Attributes(const char16_t* path, ce::BOOL& ok)
    {
        ce::WIN32_FILE_ATTRIBUTE_DATA data;
        std::memset(static_cast<void*>(&data), 0xAB, sizeof data);
        ok = ce::GetFileAttributesExW(path, ce::GetFileExInfoStandard, &data);
        return data;
    }

    TempDir dir;
};

TEST_F(FileSystemTest, MissingFileIsAllZeroAndSizeIsSplitIntoWords)
{
    ce::BOOL ok;
    ce::WIN32_FILE_ATTRIBUTE_DATA data = Attributes(u"\\nothing.pcd", ok);
    EXPECT_EQ(ok, ce::FALSE);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&data);
    for (std::size_t i = 0; i < sizeof data; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;

    int fd = open(dir.File("big.pcd").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 0x100000005ll), 0); // sparse
    close(fd);
    data = Attributes(u"\\big.pcd", ok);
    EXPECT_EQ(ok, ce::TRUE);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(FileSystemTest, LastWriteTimeKeepsTheHostTimeIn100NanosecondUnitsAndCreatingEmptiesTheFile)
{
    const std::string path = dir.File("data.pcd");
    ASSERT_TRUE(WriteHostFile(path, "abc"));
    timespec times[2] = {{1, 500000000}, {1, 500000000}}; // 1970-01-01 00:00:01.5
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ce::BOOL ok;
    ce::FILETIME first = Attributes(u"\\data.pcd", ok).ftLastWriteTime;
    const std::uint64_t expected = (11644473600ull + 1) * 10000000ull + 5000000ull;
    EXPECT_EQ(first.dwLowDateTime, ce::DWORD(expected));
    EXPECT_EQ(first.dwHighDateTime, ce::DWORD(expected >> 32));

    times[0].tv_nsec = times[1].tv_nsec = 500000100; // a change within the same second still shows
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ce::FILETIME second = Attributes(u"\\data.pcd", ok).ftLastWriteTime;
    EXPECT_EQ(ce::CompareFileTime(&first, &second), -1);
    EXPECT_EQ(ce::CompareFileTime(&second, &first), 1);

    ce::CFile file;
    ASSERT_EQ(file.Open(u"\\data.pcd", ce::CFile::modeCreate | ce::CFile::modeWrite), 1);
    ASSERT_EQ(file.Write("x", 1), 1);
    file.Close();
    EXPECT_EQ(ReadHostFile(path), "x") << "what the file held before is gone";
}

} // namespace
