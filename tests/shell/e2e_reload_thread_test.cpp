// Another program rewrites a large data file over and over while the window
// repaints its rows and letter buttons are pressed: every reload is stopped
// or finished cleanly, and the list ends as the last file.
#include "support/ShellFixtures.h"
#include "platform/ui/CommandBar.h"
#include "platform/ui/ToolBar.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

using namespace shelltest;
using namespace ce;

namespace {

constexpr int ContactCount = 5000;
constexpr int Rewrites = 200;
constexpr int Versions = 4;

class ReloadUnderLoad : public FrameFixture {
protected:
    // The buttons of the letter bar: the bar that is no command bar.
    std::vector<HWND> LetterButtons() const
    {
        std::vector<HWND> buttons;
        for (HWND child = GetWindow(frameWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (dynamic_cast<CToolBar*>(CWnd::FromHandlePermanent(child))) {
                for (HWND b = GetWindow(child, GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT))
                    buttons.push_back(b);
            }
        }
        return buttons;
    }

    std::vector<Person> Version(int v) const { return ManyPeople(ContactCount - 7 * v, v); }
};

TEST_F(ReloadUnderLoad, RewritesWhileRowsRepaintAndButtonsArePressedEndWithTheLastFile)
{
    MakePimFolder();
    std::vector<std::string> bytes;
    for (int v = 0; v < Versions; ++v) {
        const std::string scratch = root + "/version" + std::to_string(v);
        ASSERT_TRUE(WriteDataFile(scratch, Version(v)));
        bytes.push_back(ReadBytes(scratch));
    }
    ASSERT_TRUE(WriteDataFile(dataFile, Version(0)));
    OpenFrame();
    const std::vector<HWND> buttons = LetterButtons();
    ASSERT_EQ(buttons.size(), 9u);

    // The other program: a new file beside the data file, renamed over it.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const std::string scratch = pimFolder + "/other.tmp";
        for (int i = 0; i < Rewrites; ++i) {
            {
                std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
                out << bytes[std::size_t(i % Versions)];
            }
            std::rename(scratch.c_str(), dataFile.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        done = true;
    });

    int round = 0;
    while (!done) {
        // A watch tick, which stops a running load and starts the next.
        if (round % 3 == 0)
            SendMessageW(frameWindow, WM_TIMER, CMainFrame::WatchTimer, 0);
        InvalidateRect(ListView(), nullptr, TRUE);
        UpdateWindow(ListView());
        const HWND button = buttons[std::size_t(round % 9)];
        SimulateMouse(button, WM_LBUTTONDOWN, 4, 4);
        SimulateMouse(button, WM_LBUTTONUP, 4, 4);
        PumpMessages(5);
        ++round;
    }
    writer.join();

    const auto last = Version((Rewrites - 1) % Versions);
    SendMessageW(frameWindow, WM_TIMER, CMainFrame::WatchTimer, 0);
    ASSERT_TRUE(WaitFor([&] { return !frame->IsLoading() && ListedPeople() == last; }, 60000));
    ASSERT_TRUE(WaitForLoad(60000));
    EXPECT_EQ(ViewCount(), int(last.size()));
    EXPECT_EQ(CurrentRow(), 0);

    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), last);
}

} // namespace
