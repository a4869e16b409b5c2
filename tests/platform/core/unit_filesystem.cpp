#include "platform/core/FileSystem.h"
#include "platform/core/System.h"
#include "tests/platform/core/support/TempDir.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
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

    void SetModified(const std::string& path, time_t seconds, long nanoseconds)
    {
        timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    TempDir dir;
};

TEST_F(FileSystemTest, MissingFileGivesFalseAndAllZero)
{
    ce::BOOL ok;
    ce::WIN32_FILE_ATTRIBUTE_DATA data = Attributes(u"\\nothing.pcd", ok);
    EXPECT_EQ(ok, ce::FALSE);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&data);
    for (std::size_t i = 0; i < sizeof data; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST_F(FileSystemTest, SizeIsSplitIntoHighAndLowWords)
{
    const std::string path = dir.File("big.pcd");
    int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 0x100000005ll), 0); // sparse
    close(fd);
    ce::BOOL ok;
    ce::WIN32_FILE_ATTRIBUTE_DATA data = Attributes(u"\\big.pcd", ok);
    EXPECT_EQ(ok, ce::TRUE);
    EXPECT_EQ(data.nFileSizeHigh, 1u);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_EQ(data.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(FileSystemTest, LastWriteTimeKeepsTheHostTimeIn100NanosecondUnits)
{
    const std::string path = dir.File("data.pcd");
    ASSERT_TRUE(WriteHostFile(path, "abc"));
    SetModified(path, 1, 500000000); // 1970-01-01 00:00:01.5
    ce::BOOL ok;
    ce::FILETIME first = Attributes(u"\\data.pcd", ok).ftLastWriteTime;
    ASSERT_EQ(ok, ce::TRUE);
    const std::uint64_t expected = (11644473600ull + 1) * 10000000ull + 5000000ull;
    EXPECT_EQ(first.dwLowDateTime, ce::DWORD(expected));
    EXPECT_EQ(first.dwHighDateTime, ce::DWORD(expected >> 32));

    // A change within the same second still shows.
    SetModified(path, 1, 500000100);
    ce::FILETIME second = Attributes(u"\\data.pcd", ok).ftLastWriteTime;
    EXPECT_EQ(ce::CompareFileTime(&first, &second), -1);
    EXPECT_EQ(ce::CompareFileTime(&second, &first), 1);
    EXPECT_EQ(ce::CompareFileTime(&first, &first), 0);
}

TEST_F(FileSystemTest, CreateDirectoryMakesOneLevelOnly)
{
    EXPECT_EQ(ce::CreateDirectoryW(u"\\My Flash Disk", nullptr), ce::TRUE);
    EXPECT_EQ(ce::CreateDirectoryW(u"\\My Flash Disk", nullptr), ce::FALSE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ALREADY_EXISTS);
    EXPECT_EQ(ce::CreateDirectoryW(u"\\a\\b", nullptr), ce::FALSE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(ce::CreateDirectoryW(u"\\My Flash Disk\\PIM", nullptr), ce::TRUE);
    struct stat st{};
    ASSERT_EQ(stat(dir.File("My Flash Disk/PIM").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    ce::BOOL ok;
    EXPECT_EQ(Attributes(u"\\My Flash Disk\\PIM", ok).dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY,
              ce::FILE_ATTRIBUTE_DIRECTORY);
}

TEST(DevicePath, MapsUnderTheRootChosenByTheEnvironment)
{
    ce::SetDeviceRoot("");
    setenv("CONTACTS_DEVICE_ROOT", "/dev-root/", 1);
    EXPECT_EQ(ce::DeviceToHostPath(u"\\My Flash Disk\\PIM\\Contacts.pcd"), "/dev-root/My Flash Disk/PIM/Contacts.pcd");
    unsetenv("CONTACTS_DEVICE_ROOT");
    setenv("XDG_DATA_HOME", "/xdg", 1);
    EXPECT_EQ(ce::GetDeviceRoot(), "/xdg/contacts/device");
    unsetenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/ana", 1);
    EXPECT_EQ(ce::GetDeviceRoot(), "/home/ana/.local/share/contacts/device");
    setenv("HOME", savedHome.c_str(), 1);

    ce::SetDeviceRoot("/override");
    EXPECT_EQ(ce::DeviceToHostPath(u"\\\x4E2D\x6587.pcd"), "/override/\xE4\xB8\xAD\xE6\x96\x87.pcd");
    // A host path is kept as it is, backslashes included.
    EXPECT_EQ(ce::DeviceToHostPath(u"relative\\name"), "relative\\name");
    EXPECT_EQ(ce::DeviceToHostPath(u"/tmp/x"), "/tmp/x");
    ce::SetDeviceRoot("");
}

TEST(Utf8, ConvertsBothWaysAndReplacesBrokenInput)
{
    const std::u16string text = u"Jos\u00e9 \u674e \U0001F600";
    EXPECT_EQ(ce::Utf8ToUtf16(ce::Utf16ToUtf8(text)), text);
    EXPECT_EQ(ce::Utf16ToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(ce::Utf8ToUtf16("a\xC0\xAF\xE4\xB8z"), u"a\xFFFD\xFFFD\xFFFD\xFFFDz");
    EXPECT_EQ(ce::Utf8ToUtf16("\xED\xA0\x80"), u"\xFFFD\xFFFD\xFFFD");
}

} // namespace
