// The write-back at the end: a list that cannot be written over the data
// file goes to a recovery file and the user is told; a list that did not
// come from a complete load is never written over the file.
#include "support/ShellFixtures.h"
#include "tests/common/FaultyEnv.h"
#include "tests/common/UiHarness.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

using namespace shelltest;
using namespace ce;
namespace fs = std::filesystem;

namespace {

class WriteBack : public FrameFixture {
protected:
    void TearDown() override
    {
        releaseLoad = true;
        UseFaultyEnv(nullptr);
        FrameFixture::TearDown();
    }

    // The frame's load stops before its second chunk until releaseLoad, or
    // until it is told to stop.
    void HoldTheLoadAfterItsFirstChunk()
    {
        releaseLoad = false;
        loadReads = 0;
        const std::thread::id test = std::this_thread::get_id();
        UseFaultyEnv([this, test](const char* operation) {
            if (std::this_thread::get_id() != test && std::strcmp(operation, "read") == 0 && ++loadReads == 2)
                while (!releaseLoad && !g_abortLoad)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return true;
        });
    }

    // The recovery files, each shown to the user in a message of its own.
    std::vector<fs::path> RecoveryFiles() const
    {
        std::vector<fs::path> files;
        if (fs::is_directory(stateDir + "/contacts"))
            for (const auto& entry : fs::directory_iterator(stateDir + "/contacts"))
                files.push_back(entry.path());
        EXPECT_EQ(boxes.texts.size(), files.size()) << "the user was told of each recovery file";
        for (const std::u16string& text : boxes.texts)
            EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const fs::path& file) {
                return text.find(u"No se pudieron guardar") == 0 && text.find(Utf8ToUtf16(file.string())) != text.npos;
            })) << Utf16ToUtf8(text);
        return files;
    }

    std::atomic<bool> releaseLoad{true};
    std::atomic<int> loadReads{0};
    uiharness::AnsweredMessageBoxes boxes;
    const std::vector<Person> people = People({u"Ana", u"Bob"});
    const std::vector<Person> withZoe = {people[0], people[1], {u"Zoe", u""}};
};

TEST_F(WriteBack, AProtectedDataFileKeepsItsBytesAndTheListGoesToARecoveryFileTheUserIsToldOf)
{
    ASSERT_TRUE(OpenFrameOn(people));
    AddToList({u"Zoe", u""});
    const std::string before = ReadHostFile(dataFile);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    const auto files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].extension(), ".pcd");
    EXPECT_EQ(ReadDataFile(files[0].string()), withZoe);

    // A second failure keeps the first recovery file and adds its own.
    ASSERT_EQ(::chmod(dataFile.c_str(), 0644), 0);
    ASSERT_TRUE(OpenFrameOn(people));
    g_contactList.RemoveAt(0);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    CloseFrame();
    EXPECT_EQ(RecoveryFiles().size(), 2u);
}

// No load could start: what the user adds goes to a recovery file, and the
// next tick loads the file.
TEST_F(WriteBack, AListWithoutALoadIsNeverWrittenOverTheFileAndTheNextTickLoadsIt)
{
    MakeDataFile(people);
    const std::string before = ReadHostFile(dataFile);
    UseFaultyEnv([](const char* operation) { return std::string_view(operation) != "thread"; });
    OpenFrame();
    PumpMessages(100);
    EXPECT_EQ(frame->IsLoading(), 0);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    AddToList({u"Zoe", u""});
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_EQ(RecoveryFiles().size(), 1u);

    OpenFrame();
    UseFaultyEnv(nullptr);
    EXPECT_TRUE(WaitForPeople(people));
}

// Contacts the user adds or edits while a load runs join the list once the
// load is whole, in name order and each once (an edit of a contact the load
// had not read yet replaces it); quitting meanwhile lets the load end first
// and writes them with the whole file.
TEST_F(WriteBack, ContactsSavedDuringALoadJoinTheWholeListInNameOrder)
{
    for (bool quitDuringTheLoad : {false, true}) {
        SCOPED_TRACE(quitDuringTheLoad);
        auto many = ManyPeople(500, 1);
        MakeDataFile(many);
        HoldTheLoadAfterItsFirstChunk();
        OpenFrame();
        ASSERT_TRUE(WaitFor([] { return g_contactList.GetCount() > 0; }));
        ASSERT_TRUE(frame->IsLoading());
        const Person added[] = {{u"Aaron", u"3"}, {u"Contact 000300 new", u"1"}};
        for (const Person& person : added)
            AddToList(person);
        const std::unique_ptr<ContactRecord> original(RecordOf(many[400]));
        many[400].telephone = u"edited";
        g_contactList.InsertSortedInstead(RecordOf(many[400]), *original, FieldName);
        many.insert(many.begin(), added[0]);
        many.insert(many.begin() + 302, added[1]);
        std::thread release([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            releaseLoad = true;
        });
        if (!quitDuringTheLoad) {
            EXPECT_TRUE(WaitForPeople(many));
        }
        CloseFrame();
        release.join();
        EXPECT_EQ(ReadDataFile(dataFile), many);
    }
    EXPECT_TRUE(RecoveryFiles().empty());
}

// A change the watch sees while a load runs stops that load before the next
// begins: the list, and the file written back, are the new file alone.
TEST_F(WriteBack, AChangeSeenDuringALoadStopsItAndTheNewFileIsLoadedAlone)
{
    MakeDataFile(ManyPeople(500, 1));
    HoldTheLoadAfterItsFirstChunk();
    OpenFrame();
    ASSERT_TRUE(WaitFor([] { return g_contactList.GetCount() > 0; }));
    const auto theirs = People({u"Carl", u"Dora", u"Eve"});
    // The other program writes a new file and renames it over the one being read.
    ASSERT_TRUE(WriteDataFile(root + "/theirs.pcd", theirs));
    ASSERT_EQ(std::rename((root + "/theirs.pcd").c_str(), dataFile.c_str()), 0);
    SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
    EXPECT_TRUE(WaitForPeople(theirs));
    releaseLoad = true;
    PumpMessages(200);
    EXPECT_TRUE(WaitForPeople(theirs));
    AddToList({u"Zoe", u""});
    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), (std::vector<Person>{theirs[0], theirs[1], theirs[2], {u"Zoe", u""}}));
    EXPECT_TRUE(RecoveryFiles().empty());
}

// Another program replaces the file after the last load and before the
// tick: its file stays. A list the user changed goes to a recovery file,
// and the user is told; an unchanged one is simply dropped.
TEST_F(WriteBack, AChangeByAnotherProgramAfterTheLastLoadIsNeverOverwritten)
{
    const auto theirs = People({u"Carl", u"Dora", u"Eve"});
    for (bool userChanged : {true, false}) {
        SCOPED_TRACE(userChanged);
        ASSERT_TRUE(OpenFrameOn(people));
        if (userChanged)
            AddToList({u"Zoe", u""});
        ASSERT_TRUE(WriteDataFile(dataFile, theirs));
        CloseFrame();
        EXPECT_EQ(ReadDataFile(dataFile), theirs);
    }
    const auto files = RecoveryFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(ReadDataFile(files[0].string()), withZoe);
}

} // namespace
