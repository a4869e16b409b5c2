// The frame's background load, its file watch and the write-back at the end,
// on a temporary device root.
#include "support/ShellFixtures.h"
#include "platform/core/File.h"
#include "platform/core/FileSystem.h"
#include "platform/core/Resources.h"
#include "res/resource.h"
#include "platform/ui/Host.h"
#include "platform/ui/ListView.h"
#include "shell/MainFrm.h"

#include <chrono>
#include <fstream>

using namespace shelltest;
using namespace ce;

namespace {

using Clock = std::chrono::steady_clock;

class FileWatch : public FrameFixture {
protected:
    // Waits for the list to show exactly these contacts and row 0 to be current.
    bool WaitForPeople(const std::vector<Person>& people, int timeoutMs = 10000)
    {
        return WaitFor([&] { return !frame->IsLoading() && ListedPeople() == people; }, timeoutMs) &&
               WaitForLoad(timeoutMs);
    }
};

TEST_F(FileWatch, StartsEmptyWithoutFileShowsAnotherProgramsFileAndWritesItBackIntoANewFolder)
{
    OpenFrame();
    ASSERT_TRUE(WaitForLoad());
    EXPECT_EQ(g_contactList.GetCount(), 0);
    EXPECT_EQ(ViewCount(), 0);
    EXPECT_EQ(CurrentRow(), -1);

    // Another program creates the file: it shows up with the next tick,
    // its first contact current.
    MakePimFolder();
    const auto people = People({u"Ana", u"Bob", u"Carl"});
    const auto written = Clock::now();
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    ASSERT_TRUE(WaitForPeople(people));
    EXPECT_LT(Clock::now() - written, std::chrono::milliseconds(CMainFrame::WatchPeriodMs + 2500));
    EXPECT_EQ(ViewCount(), 3);
    EXPECT_EQ(CurrentRow(), 0);

    // Closing without the folder creates it and writes the file there.
    std::filesystem::remove_all(pimFolder);
    CloseFrame();
    ASSERT_TRUE(FileExists(dataFile));
    EXPECT_EQ(ReadDataFile(dataFile), people);
    EXPECT_EQ(g_contactList.GetCount(), 0);
}

TEST_F(FileWatch, ClosingWithoutAnyFileWritesAnEmptyFile)
{
    OpenFrame();
    ASSERT_TRUE(WaitForLoad());
    CloseFrame();
    ASSERT_TRUE(FileExists(dataFile));
    EXPECT_EQ(ReadBytes(dataFile).size(), 0u);
}

TEST_F(FileWatch, ReloadsOnANewWriteTimeOrLowSizeWordButNotOnContentAlone)
{
    MakePimFolder();
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana"})));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'000));
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(People({u"Ana"})));

    // Same length, same time: not seen as a change.
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Bea"})));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'000));
    PumpMessages(2 * int(CMainFrame::WatchPeriodMs) + 500);
    EXPECT_EQ(ListedPeople(), People({u"Ana"}));

    // Same length, a new last-write time.
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'001));
    ASSERT_TRUE(WaitForPeople(People({u"Bea"})));

    // Same time, another length.
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Beatriz"})));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'001));
    ASSERT_TRUE(WaitForPeople(People({u"Beatriz"})));
}

TEST_F(FileWatch, AVanishedFileEmptiesTheListAndItsReturnFillsItAgain)
{
    MakePimFolder();
    const auto people = People({u"Ana", u"Bob"});
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(people));

    std::filesystem::remove(dataFile);
    ASSERT_TRUE(WaitForPeople({}));
    EXPECT_EQ(ViewCount(), 0);

    ASSERT_TRUE(WriteDataFile(dataFile, people));
    ASSERT_TRUE(WaitForPeople(people));
    EXPECT_EQ(CurrentRow(), 0);
}

TEST_F(FileWatch, AnEditIsLostToAnotherProgramsChangeWhoseContentsAreShownAndSaved)
{
    MakePimFolder();
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana"})));
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(People({u"Ana"})));

    // An edit in the program: a new contact in the list.
    auto* added = new ContactRecord;
    added->GetField(FieldName)->SetValue(u"Zoe", 0.0);
    g_contactList.InsertSorted(added, FieldName);
    ASSERT_EQ(g_contactList.GetCount(), 2);

    const auto theirs = People({u"Maria", u"Mario"});
    ASSERT_TRUE(WriteDataFile(dataFile, theirs));
    ASSERT_TRUE(WaitForPeople(theirs));
    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), theirs);
}

TEST_F(FileWatch, OnlyTimerOneLooksAtTheFile)
{
    MakePimFolder();
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana"})));
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(People({u"Ana"})));
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Bob", u"Carl"})));

    SendMessageW(frameWindow, WM_TIMER, 2, 0);
    EXPECT_EQ(frame->IsLoading(), 0);
    EXPECT_EQ(ListedPeople(), People({u"Ana"}));

    SendMessageW(frameWindow, WM_TIMER, CMainFrame::WatchTimer, 0);
    EXPECT_TRUE(WaitForPeople(People({u"Bob", u"Carl"}), 2000));
}

TEST_F(FileWatch, ClosingDuringALoadStopsItAndKeepsTheFile)
{
    MakePimFolder();
    ASSERT_TRUE(WriteDataFile(dataFile, ManyPeople(100'000, 1)));
    const std::string before = ReadBytes(dataFile);
    OpenFrame();
    ASSERT_EQ(frame->IsLoading(), 1);
    CloseFrame();
    EXPECT_EQ(ReadBytes(dataFile), before);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    EXPECT_EQ(g_abortLoad.load(), 0);
}

TEST_F(FileWatch, AFileHeldByAnotherProgramIsNeitherEmptiedNorForgotten)
{
    MakePimFolder();
    const auto people = People({u"Ana", u"Bob"});
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    const std::string before = ReadBytes(dataFile);

    {
        CFile holder;
        ASSERT_EQ(holder.Open(Utf8ToUtf16(dataFile), CFile::modeRead | CFile::shareExclusive), 1);
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
        EXPECT_EQ(g_contactList.GetCount(), 0);
        // Closed now, the empty list would wipe the file out.
        CloseFrame();
        EXPECT_EQ(ReadBytes(dataFile), before);
    }

    {
        CFile holder;
        ASSERT_EQ(holder.Open(Utf8ToUtf16(dataFile), CFile::modeRead | CFile::shareExclusive), 1);
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
    }
    // Once the other program lets go, the next tick loads the file although
    // it did not change.
    EXPECT_TRUE(WaitForPeople(people));
}

TEST_F(FileWatch, AFrameWhoseCreationFailsStopsItsLoadAndWritesNothing)
{
    MakePimFolder();
    ASSERT_TRUE(WriteDataFile(dataFile, ManyPeople(100'000, 1)));
    const std::string before = ReadBytes(dataFile);
    // Resources without the frame's menu: the command bar cannot be made
    // after the load has started.
    const std::string script = root + "/nomenu.mui";
    std::ofstream(script) << "STRINGTABLE BEGIN 128 \"Contactos\" 132 \"Contactos\" END\n";
    HMODULE resources = LoadResourceModule(script);
    ASSERT_NE(resources, nullptr);
    AfxSetResourceHandle(resources);

    auto* failed = new CMainFrame;
    EXPECT_FALSE(failed->LoadFrame(IDR_MAINFRAME, FWS_ADDTOTITLE, nullptr, nullptr));
    EXPECT_EQ(failed->IsLoading(), 0);
    delete failed;
    FreeLibrary(resources);

    EXPECT_EQ(g_abortLoad.load(), 0);
    PumpMessages(200);
    EXPECT_EQ(ReadBytes(dataFile), before);
}

} // namespace
