// The write-back at the end: a list that cannot be written over the data
// file goes to a recovery file and the user is told; a list that did not
// come from a complete load is never written.
#include "support/ShellFixtures.h"
#include "platform/core/System.h"
#include "platform/ui/MessageBox.h"

#include <algorithm>
#include <sys/stat.h>

using namespace shelltest;
using namespace ce;
namespace fs = std::filesystem;

namespace {

class WriteBack : public FrameFixture {
protected:
    void SetUp() override
    {
        FrameFixture::SetUp();
        recoveryFolder = root + "/state/contacts";
        ::setenv("XDG_STATE_HOME", (root + "/state").c_str(), 1);
    }
    void TearDown() override
    {
        SetMessageBoxHook(nullptr);
        SetThreadFaultHook(nullptr);
        FrameFixture::TearDown();
    }

    std::vector<fs::path> RecoveryFiles() const
    {
        std::vector<fs::path> files;
        if (fs::is_directory(recoveryFolder))
            for (const auto& entry : fs::directory_iterator(recoveryFolder))
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        return files;
    }

    std::string recoveryFolder;
};

TEST_F(WriteBack, AProtectedDataFileKeepsItsBytesAndTheListGoesToARecoveryFileTheUserIsToldOf)
{
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));
    auto* added = new ContactRecord;
    added->GetField(FieldName)->SetValue(u"Zoe", 0.0);
    g_contactList.InsertSorted(added, FieldName);
    const std::string before = ReadHostFile(dataFile);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);

    std::u16string told;
    SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
        told = text;
        return IDOK;
    });
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    const auto files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".pcd");
    EXPECT_EQ(ReadDataFile(files[0].string()), (std::vector<Person>{people[0], people[1], {u"Zoe", u""}}));
    EXPECT_NE(told.find(u"No se pudieron guardar"), std::u16string::npos);
    EXPECT_NE(told.find(Utf8ToUtf16(files[0].string())), std::u16string::npos);

    // A second failure keeps the first recovery file and adds its own.
    ASSERT_EQ(::chmod(dataFile.c_str(), 0644), 0);
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));
    g_contactList.RemoveAt(0);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(RecoveryFiles().size(), 2u);

    // Even the recovery folder refuses: the user is told that nothing was kept.
    ASSERT_EQ(::chmod(dataFile.c_str(), 0644), 0);
    fs::remove_all(root + "/state");
    std::ofstream(root + "/state") << "a file where the folder should be";
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));
    g_contactList.RemoveAt(0);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(told, u"No se pudieron guardar los contactos.");
}

TEST_F(WriteBack, AListWithoutALoadIsNeverWrittenOverTheFileAndTheNextTickLoadsIt)
{
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    const std::string before = ReadHostFile(dataFile);
    SetThreadFaultHook([] { return false; });
    OpenFrame();
    PumpMessages(100);
    EXPECT_EQ(frame->IsLoading(), 0);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_TRUE(RecoveryFiles().empty());

    OpenFrame();
    SetThreadFaultHook(nullptr);
    EXPECT_TRUE(WaitForPeople(people));
}

// A new user's device root holds no folder yet: the first write-back makes
// every folder of the data file, on a root named by CONTACTS_DEVICE_ROOT and
// on the default one of a fresh home without XDG_* variables.
TEST_F(WriteBack, TheFirstWriteBackOnANewDeviceRootMakesItsFoldersAndTheNextStartShowsTheList)
{
    const std::string home = root + "/home";
    fs::create_directories(home);
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::vector<Person> zoe = {{u"Zoe", u""}};
    std::u16string told;
    SetMessageBoxHook([&](HWND, const std::u16string& text, const std::u16string&, UINT) {
        told = text;
        return IDOK;
    });
    for (const std::string& newRoot : {root + "/new/device", home + "/.local/share/contacts/device"}) {
        SCOPED_TRACE(newRoot);
        if (newRoot.starts_with(home)) {
            for (const char* name : {"CONTACTS_DEVICE_ROOT", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
                ::unsetenv(name);
            ::setenv("HOME", home.c_str(), 1);
            SetDeviceRoot("");
        } else {
            SetDeviceRoot(newRoot);
        }
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
        auto* added = new ContactRecord;
        added->GetField(FieldName)->SetValue(u"Zoe", 0.0);
        g_contactList.InsertSorted(added, FieldName);
        CloseFrame();
        EXPECT_EQ(ReadDataFile(newRoot + "/My Flash Disk/PIM/Contacts.pcd"), zoe);
        OpenFrame();
        EXPECT_TRUE(WaitForPeople(zoe));
        CloseFrame();
    }
    ::setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ(told, u"");
}

} // namespace
