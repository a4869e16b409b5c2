// The program's own start and message loop, told to end from outside: a
// dialog open then closes first, the frame writes back what the user
// changed, and the exit status says whether the list was kept.
#include "support/ShellFixtures.h"
#include "platform/ui/App.h"
#include "shell/ContactApp.h"

#include <csignal>

using namespace shelltest;
using namespace ce;
namespace fs = std::filesystem;

namespace {

class Quit : public DeviceFixture {
protected:
    ino_t DataFileInode()
    {
        struct stat info {};
        ::stat(dataFile.c_str(), &info);
        return info.st_ino;
    }

    // Runs the program until SIGTERM, which arrives once the list shows
    // `count` contacts and `act` has run; standard error goes to errorFile.
    // Returns the exit status.
    int RunUntilTerminated(int count, const std::function<void(CMainFrame&)>& act)
    {
        CContactApp app;
        int polls = 0;
        std::function<void()> poll = [&] {
            auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
            if (++polls > 2000 || !app.m_pMainWnd)
                return;
            if (frame && !frame->IsLoading() && g_contactList.GetCount() == count &&
                CurrentRowOf(frame->GetListView()) == 0) {
                acted = true;
                act(*frame);
                return;
            }
            Sleep(5);
            PostTask(poll);
        };
        PostTask(poll);
        std::fflush(stderr);
        const int savedError = ::dup(STDERR_FILENO);
        const int errors = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(errors, STDERR_FILENO);
        ::close(errors);
        const int status = AfxWinMain({});
        std::fflush(stderr);
        ::dup2(savedError, STDERR_FILENO);
        ::close(savedError);
        EXPECT_TRUE(acted);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        return status;
    }

    std::string errorFile = root + "/errors.txt";
    bool acted = false;
};

TEST_F(Quit, ATerminationWhileADialogIsOpenClosesItAndTheFrameWritesTheListBack)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    const ino_t before = DataFileInode();
    bool dialogWasUp = false;
    const int status = RunUntilTerminated(2, [&](CMainFrame& frame) {
        AddToList({u"Cid", u""});
        const HWND window = frame.m_hWnd;
        PostMessageW(window, WM_COMMAND, ID_CONTACT_OPEN, 0);
        PostTask([&, window] {
            dialogWasUp = !IsWindowEnabled(window) || GetActiveWindow() != window;
            std::raise(SIGTERM);
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(dialogWasUp);
    EXPECT_NE(DataFileInode(), before) << "the list was not written back";
    auto expected = People({u"Ana", u"Bob"});
    expected.push_back({u"Cid", u""});
    EXPECT_EQ(ReadDataFile(dataFile), expected);
}

// The data file is read-only and the recovery folder refuses too: the list
// is kept nowhere, standard error says so and the exit status is 1.
TEST_F(Quit, AListKeptNowhereEndsWithExitStatus1)
{
    const std::string state = root + "/state";
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    MakeDataFile(People({u"Ana", u"Bob"}));
    const std::string before = ReadHostFile(dataFile);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    // A file where the recovery folder should be.
    std::ofstream(state) << "not a folder";
    const int status = RunUntilTerminated(2, [&](CMainFrame&) {
        AddToList({u"Cid", u""});
        std::raise(SIGTERM);
    });
    ::unsetenv("XDG_STATE_HOME");
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadHostFile(dataFile), before);
    const std::string said = ReadHostFile(errorFile);
    EXPECT_NE(said.find("No se pudieron guardar los contactos."), std::string::npos) << said;
}

} // namespace
