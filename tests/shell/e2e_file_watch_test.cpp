// The frame's background load, its file watch and the write-back at the end,
// on a temporary device root.
#include "support/ShellFixtures.h"
#include "platform/core/File.h"
#include "platform/core/Resources.h"

#include <fstream>

using namespace shelltest;
using namespace ce;

namespace {

class FileWatch : public FrameFixture {};

TEST_F(FileWatch, ReloadsOnEachChangeOfTheFileAndAnEditIsLostToIt)
{
    MakeDataFile(People({u"Ana"}));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'000));
    OpenFrame();
    ASSERT_TRUE(WaitForPeople(People({u"Ana"})));

    // Same length, a new last-write time; a timer of another id ignores it.
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Bea"})));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'001));
    SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer + 1, 0);
    EXPECT_EQ(frame->IsLoading(), 0);
    EXPECT_EQ(ListedPeople(), People({u"Ana"}));
    ASSERT_TRUE(WaitForPeople(People({u"Bea"})));

    // Same time, only the size changed.
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Beatriz"})));
    ASSERT_TRUE(SetWriteTime(dataFile, 1'600'000'001));
    ASSERT_TRUE(WaitForPeople(People({u"Beatriz"})));

    // The file vanishes and comes back.
    std::filesystem::remove(dataFile);
    ASSERT_TRUE(WaitForPeople({}));
    EXPECT_EQ(ViewCount(), 0);
    ASSERT_TRUE(WriteDataFile(dataFile, People({u"Ana", u"Bob"})));
    ASSERT_TRUE(WaitForPeople(People({u"Ana", u"Bob"})));
    EXPECT_EQ(CurrentRow(), 0);

    // An edit in the program, then another program's change.
    AddToList({u"Zoe", u""});
    const auto theirs = People({u"Maria", u"Mario"});
    ASSERT_TRUE(WriteDataFile(dataFile, theirs));
    EXPECT_TRUE(WaitForPeople(theirs));
}

TEST_F(FileWatch, AFileHeldByAnotherProgramIsNeitherEmptiedNorForgotten)
{
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    const std::string before = ReadHostFile(dataFile);
    for (bool closeWhileHeld : {true, false}) {
        CFile holder;
        ASSERT_EQ(holder.Open(Utf8ToUtf16(dataFile), CFile::modeRead | CFile::shareExclusive), 1);
        OpenFrame();
        ASSERT_TRUE(WaitForLoad());
        EXPECT_EQ(g_contactList.GetCount(), 0);
        if (closeWhileHeld) {
            CloseFrame();
            EXPECT_EQ(ReadHostFile(dataFile), before);
        }
    }
    // Let go, the next tick loads the unchanged file.
    EXPECT_TRUE(WaitForPeople(people));
}

TEST_F(FileWatch, AFrameClosedOrFailingDuringItsLoadStopsItAndWritesNothing)
{
    MakeDataFile(ManyPeople(100'000, 1));
    const std::string before = ReadHostFile(dataFile);
    OpenFrame();
    ASSERT_EQ(frame->IsLoading(), 1);
    CloseFrame();
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_EQ(g_contactList.GetCount(), 0);
    EXPECT_EQ(g_abortLoad.load(), 0);

    // Resources without the frame's menu: the command bar fails after the load started.
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
    EXPECT_EQ(ReadHostFile(dataFile), before);
}

} // namespace
