// Another program rewrites a large data file over and over while the window
// repaints its rows and letter buttons are pressed: every reload is stopped
// or finished cleanly, and the list ends as the last file.
#include "platform/ui/testing/SimulatedInput.h"
#include "support/ShellFixtures.h"
#include "platform/ui/ToolBar.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <thread>

using namespace shelltest;
using namespace ce;

namespace {

constexpr int Rewrites = 200;
constexpr int Versions = 4;

std::vector<Person> Version(int v) { return ManyPeople(5000 - 7 * v, v); }

class ReloadUnderLoad : public FrameFixture {};

TEST_F(ReloadUnderLoad, RewritesWhileRowsRepaintAndButtonsArePressedEndWithTheLastFile)
{
    MakeDataFile(Version(0));
    std::vector<std::string> bytes;
    for (int v = 0; v < Versions; ++v) {
        const std::string scratch = root + "/version" + std::to_string(v);
        ASSERT_TRUE(WriteDataFile(scratch, Version(v)));
        bytes.push_back(ReadHostFile(scratch));
    }
    OpenFrame();
    std::vector<HWND> buttons;
    for (HWND b = GetWindow(ChildOf<CToolBar>(frameWindow)->m_hWnd, GW_CHILD); b; b = GetWindow(b, GW_HWNDNEXT))
        buttons.push_back(b);
    ASSERT_EQ(buttons.size(), 9u);

    // The other program: a new file beside the data file, renamed over it.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const std::string scratch = pimFolder + "/other.tmp";
        for (int i = 0; i < Rewrites; ++i) {
            std::ofstream(scratch, std::ios::binary | std::ios::trunc) << bytes[std::size_t(i % Versions)];
            std::rename(scratch.c_str(), dataFile.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        done = true;
    });
    for (int round = 0; !done; ++round) {
        if (round % 3 == 0) // a watch tick stops a running load and starts the next
            SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
        InvalidateRect(ListView(), nullptr, TRUE);
        UpdateWindow(ListView());
        SimulateMouse(buttons[std::size_t(round % 9)], WM_LBUTTONDOWN, 4, 4);
        SimulateMouse(buttons[std::size_t(round % 9)], WM_LBUTTONUP, 4, 4);
        PumpMessages(5);
    }
    writer.join();

    const auto last = Version((Rewrites - 1) % Versions);
    SendMessageW(frameWindow, WM_TIMER, CContactFileKeeper::WatchTimer, 0);
    ASSERT_TRUE(WaitForPeople(last, 60000));
    EXPECT_EQ(ViewCount(), int(last.size()));
    EXPECT_EQ(CurrentRow(), 0);
    CloseFrame();
    EXPECT_EQ(ReadDataFile(dataFile), last);
}

} // namespace
