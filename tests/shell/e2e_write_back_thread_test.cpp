// The write-back at the end: a list that cannot be written over the data
// file goes to a recovery file and the user is told; a list that did not
// come from a complete load is never written.
#include "support/ShellFixtures.h"
#include "platform/core/File.h"
#include "platform/core/System.h"
#include "tests/common/UiHarness.h"
#include "tests/common/FaultyEnv.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
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
        if (!mayTell) {
            EXPECT_EQ(boxes.texts, std::vector<std::u16string>{}) << "the user was told";
        }
        releaseLoad = true;
        UseFaultyEnv(nullptr);
        FrameFixture::TearDown();
    }

    // The frame's load stops before its second chunk until releaseLoad.
    void HoldTheLoadAfterItsFirstChunk()
    {
        releaseLoad = false;
        loadReads = 0;
        const std::thread::id test = std::this_thread::get_id();
        UseFaultyEnv([this, test](const char* operation) {
            if (std::this_thread::get_id() != test && std::strcmp(operation, "read") == 0 && ++loadReads == 2)
                while (!releaseLoad)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return true;
        });
    }

    std::u16string Told() const { return boxes.texts.empty() ? u"" : boxes.texts.back(); }

    static std::vector<Person> Sorted(std::vector<Person> people)
    {
        std::stable_sort(people.begin(), people.end(), [](const Person& a, const Person& b) { return a.name < b.name; });
        return people;
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
    std::atomic<bool> releaseLoad{true};
    std::atomic<int> loadReads{0};
    uiharness::AnsweredMessageBoxes boxes;
    bool mayTell = false;
};

TEST_F(WriteBack, AProtectedDataFileKeepsItsBytesAndTheListGoesToARecoveryFileTheUserIsToldOf)
{
    mayTell = true;
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));
    AddToList({u"Zoe", u""});
    const std::string before = ReadHostFile(dataFile);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    const auto files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".pcd");
    EXPECT_EQ(ReadDataFile(files[0].string()), (std::vector<Person>{people[0], people[1], {u"Zoe", u""}}));
    EXPECT_NE(Told().find(u"No se pudieron guardar"), std::u16string::npos);
    EXPECT_NE(Told().find(Utf8ToUtf16(files[0].string())), std::u16string::npos);

    // A second failure keeps the first recovery file and adds its own.
    ASSERT_EQ(::chmod(dataFile.c_str(), 0644), 0);
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));
    g_contactList.RemoveAt(0);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(RecoveryFiles().size(), 2u);
}

TEST_F(WriteBack, AListWithoutALoadIsNeverWrittenOverTheFileAndTheNextTickLoadsIt)
{
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    const std::string before = ReadHostFile(dataFile);
    UseFaultyEnv([](const char* operation) { return std::string_view(operation) != "thread"; });
    OpenFrame();
    PumpMessages(100);
    EXPECT_EQ(frame->IsLoading(), 0);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_TRUE(RecoveryFiles().empty());

    OpenFrame();
    UseFaultyEnv(nullptr);
    EXPECT_TRUE(WaitForPeople(people));
}

// Contacts the user adds or edits while a load runs join the list once the
// load is whole, in name order and each once: an edit of a contact the load
// had not read yet replaces it.
TEST_F(WriteBack, ContactsSavedDuringALoadJoinTheWholeListInNameOrder)
{
    auto people = ManyPeople(500, 1);
    MakeDataFile(people);
    HoldTheLoadAfterItsFirstChunk();
    OpenFrame();
    ASSERT_TRUE(WaitFor([] { return g_contactList.GetCount() > 0; }));
    ASSERT_TRUE(frame->IsLoading());
    const Person added{u"Contact 000300 new", u"1"};
    AddToList(added);
    const std::unique_ptr<ContactRecord> original(RecordOf(people[400]));
    people[400].telephone = u"edited";
    g_contactList.InsertSortedInstead(RecordOf(people[400]), *original, FieldName);
    releaseLoad = true;
    people.push_back(added);
    EXPECT_TRUE(WaitForPeople(Sorted(people)));
    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), Sorted(people));
}

// Quitting while a load runs: the load ends first and what the user added
// is written with the whole file.
TEST_F(WriteBack, QuittingDuringALoadWritesTheWholeFileWithWhatTheUserAdded)
{
    auto people = ManyPeople(500, 2);
    MakeDataFile(people);
    HoldTheLoadAfterItsFirstChunk();
    OpenFrame();
    ASSERT_TRUE(WaitFor([] { return g_contactList.GetCount() > 0; }));
    const Person added{u"Aaron", u"3"};
    AddToList(added);
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        releaseLoad = true;
    });
    ASSERT_TRUE(frame->IsLoading());
    CloseFrame();
    release.join();
    people.insert(people.begin(), added);
    EXPECT_EQ(ReadDataFile(dataFile), people);
    EXPECT_TRUE(RecoveryFiles().empty());
}

// Another program replaces the file after the last load and before the
// tick: its file stays. A list the user changed goes to a recovery file,
// and the user is told; an unchanged one is simply dropped.
TEST_F(WriteBack, AChangeByAnotherProgramAfterTheLastLoadIsNeverOverwritten)
{
    const auto people = People({u"Ana", u"Bob"});
    const auto theirs = People({u"Carl", u"Dora", u"Eve"});
    mayTell = true;
    for (bool userChanged : {true, false}) {
        SCOPED_TRACE(userChanged);
        MakeDataFile(people);
        OpenFrame();
        ASSERT_TRUE(WaitForPeople(people));
        if (userChanged)
            AddToList({u"Zoe", u""});
        ASSERT_TRUE(WriteDataFile(dataFile, theirs));
        CloseFrame();
        EXPECT_EQ(ReadDataFile(dataFile), theirs);
    }
    const auto files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadDataFile(files[0].string()), (std::vector<Person>{people[0], people[1], {u"Zoe", u""}}));
    EXPECT_NE(Told().find(Utf8ToUtf16(files[0].string())), std::u16string::npos);
}

} // namespace
