// The program's own start and message loop, told to end from outside while
// a dialog is open: the dialog is closed first, then the frame, which writes
// the list back.
#include "support/ShellFixtures.h"
#include "platform/ui/App.h"
#include "res/resource.h"
#include "shell/ContactApp.h"

#include <csignal>
#include <sys/stat.h>

using namespace shelltest;
using namespace ce;

namespace {

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

class Quit : public DeviceFixture {};

TEST_F(Quit, ATerminationWhileADialogIsOpenClosesItAndTheFrameWritesTheListBack)
{
    MakePimFolder();
    const auto people = People({u"Ana", u"Bob"});
    ASSERT_TRUE(WriteDataFile(dataFile, people));
    const ino_t before = InodeOf(dataFile);

    CContactApp app;
    bool opened = false;
    bool dialogWasUp = false;
    int polls = 0;
    // Runs inside the program's message loop: once the list is shown, open
    // the first contact; inside the dialog's own loop, the signal arrives.
    std::function<void()> poll = [&] {
        const HWND frame = app.m_pMainWnd ? app.m_pMainWnd->m_hWnd : nullptr;
        auto* mainFrame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        if (++polls > 2000 || !frame)
            return;
        if (!opened && mainFrame && !mainFrame->IsLoading() && g_contactList.GetCount() == 2 &&
            SendMessageW(mainFrame->GetListView(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED | LVNI_SELECTED) == 0) {
            opened = true;
            PostMessageW(frame, WM_COMMAND, ID_CONTACT_OPEN, 0);
            PostTask([&] {
                dialogWasUp = !IsWindowEnabled(frame) || GetActiveWindow() != frame;
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
    EXPECT_NE(InodeOf(dataFile), before) << "the list was not written back";
    EXPECT_EQ(ReadDataFile(dataFile), people);
}

} // namespace
