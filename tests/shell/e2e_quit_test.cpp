// The program's own start and message loop, told to end from outside while
// a dialog is open: the dialog closes, then the frame writes the list back.
#include "support/ShellFixtures.h"
#include "platform/ui/App.h"
#include "shell/ContactApp.h"

#include <csignal>

using namespace shelltest;
using namespace ce;

namespace {

class Quit : public DeviceFixture {
protected:
    ino_t DataFileInode()
    {
        struct stat info {};
        ::stat(dataFile.c_str(), &info);
        return info.st_ino;
    }
};

TEST_F(Quit, ATerminationWhileADialogIsOpenClosesItAndTheFrameWritesTheListBack)
{
    const auto people = People({u"Ana", u"Bob"});
    MakeDataFile(people);
    const ino_t before = DataFileInode();

    CContactApp app;
    bool opened = false, dialogWasUp = false;
    int polls = 0;
    // Inside the message loop: once the list is shown, open the first contact;
    // the signal arrives inside the dialog's own loop.
    std::function<void()> poll = [&] {
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        if (++polls > 2000 || !app.m_pMainWnd)
            return;
        if (frame && !frame->IsLoading() && g_contactList.GetCount() == 2 && CurrentRowOf(frame->GetListView()) == 0) {
            opened = true;
            const HWND window = frame->m_hWnd;
            PostMessageW(window, WM_COMMAND, ID_CONTACT_OPEN, 0);
            PostTask([&, window] {
                dialogWasUp = !IsWindowEnabled(window) || GetActiveWindow() != window;
                std::raise(SIGTERM);
            });
            return;
        }
        Sleep(5);
        PostTask(poll);
    };
    PostTask(poll);

    char name[] = "contacts";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 0);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(dialogWasUp);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_NE(DataFileInode(), before) << "the list was not written back";
    EXPECT_EQ(ReadDataFile(dataFile), people);
}

} // namespace
