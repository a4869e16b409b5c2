// The program's own start and message loop, told to end from outside: a
// dialog open then closes first, the frame writes back what the user
// changed, and the exit status says whether the list was kept. The texts
// are those of the interface language: the English satellite beside the
// program, or the built-in Spanish ones.
#include "support/ShellFixtures.h"
#include "platform/core/Resources.h"
#include "platform/ui/App.h"
#include "shell/ContactApp.h"

#include <csignal>

using namespace shelltest;
using namespace ce;
namespace fs = std::filesystem;

namespace {

class Quit : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        const fs::path satellite = fs::read_symlink("/proc/self/exe").parent_path() / "Contacts.exe.0409.mui";
        fs::copy_file(CONTACTS_SATELLITE_DIR "/Contacts.exe.0409.mui", satellite, fs::copy_options::overwrite_existing);
    }

    // Runs the program in `language` until SIGTERM, which arrives once the
    // list shows `count` contacts and `act` has run; keeps what it wrote to
    // standard error. Returns the exit status.
    int RunUntilTerminated(const char* language, int count, const std::function<void(CMainFrame&)>& act)
    {
        ::setenv("CONTACTS_UI_LANGUAGE", language, 1);
        CContactApp app;
        bool acted = false;
        int polls = 0;
        std::function<void()> poll = [&] {
            auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
            if (++polls > 2000 || !app.m_pMainWnd)
                return;
            if (frame && !frame->IsLoading() && g_contactList.GetCount() == count &&
                CurrentRowOf(frame->GetListView()) == 0) {
                acted = true;
                return act(*frame);
            }
            Sleep(5);
            PostTask(poll);
        };
        PostTask(poll);
        testing::internal::CaptureStderr();
        const int status = AfxWinMain({});
        errors = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(acted);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle()) << "the satellite is given back";
        return status;
    }

    std::string errors;
};

TEST_F(Quit, ATerminationWhileADialogIsOpenClosesItAndTheFrameWritesTheListBack)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    bool dialogWasUp = false;
    const int status = RunUntilTerminated("0c0a", 2, [&](CMainFrame& frame) {
        EXPECT_EQ(GetWindowText(frame.m_hWnd), u"Contactos");
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
    auto expected = People({u"Ana", u"Bob"});
    expected.push_back({u"Cid", u""});
    EXPECT_EQ(ReadDataFile(dataFile), expected);
}

// The data file is read-only and the recovery folder refuses too: the list
// is kept nowhere, standard error says so and the exit status is 1.
TEST_F(Quit, AListKeptNowhereEndsWithExitStatus1)
{
    MakeDataFile(People({u"Ana", u"Bob"}));
    const std::string before = ReadHostFile(dataFile);
    ASSERT_EQ(::chmod(dataFile.c_str(), 0444), 0);
    // A file where the recovery folder should be.
    std::ofstream(stateDir) << "not a folder";
    const int status = RunUntilTerminated("0409", 2, [&](CMainFrame&) {
        AddToList({u"Cid", u""});
        std::raise(SIGTERM);
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadHostFile(dataFile), before);
    EXPECT_NE(errors.find("The contacts could not be saved."), std::string::npos) << errors;
}

} // namespace
