// Sends, posts, timers and repaints from other threads: a send waits for the
// user-interface thread, which serves it in any loop that processes events
// and in a wait for the sending thread.
#include "tests/platform/ui/support/UiTest.h"
#include "platform/core/System.h"
#include "res/resource.h"
#include <atomic>
#include <chrono>
#include <thread>

using namespace ce;
using uitest::WM_TEST;

namespace {

class CThreadProbe : public uitest::CRecordingWnd {
public:
    std::atomic<int> handled{0};
    std::thread::id handlerThread;
    std::vector<std::pair<int, int>> posted; // (sender, sequence)

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TEST) {
            handlerThread = std::this_thread::get_id();
            ++handled;
        } else if (message == WM_TEST + 1) {
            posted.emplace_back(int(wParam), int(lParam));
        }
        return CRecordingWnd::WindowProc(message, wParam, lParam);
    }
};

class SendThreadTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
        hwnd = wnd.m_hWnd;
    }
    CThreadProbe wnd;
    HWND hwnd = nullptr;
};

} // namespace

TEST_F(SendThreadTest, SendFromAnotherThreadWaitsUntilTheUserInterfaceThreadRanIt)
{
    std::atomic<bool> returned{false};
    LRESULT result = 0;
    std::thread worker([&] {
        result = SendMessageW(hwnd, WM_TEST, 40, 2);
        returned = true;
    });
    // Nothing is served while this thread does not process events.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(wnd.handled.load(), 0);
    EXPECT_TRUE(WaitWhilePumping([&] { return returned.load(); }, 10000));
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(wnd.handlerThread, std::this_thread::get_id());

    // Many sends finish while the user-interface thread pumps for the sender.
    std::atomic<bool> done{false};
    std::atomic<LRESULT> sum{0};
    std::thread many([&] {
        for (int i = 0; i < 200; ++i)
            sum += SendMessageW(hwnd, WM_TEST, WPARAM(i), 0);
        done = true;
    });
    EXPECT_TRUE(WaitWhilePumping([&] { return done.load(); }, 20000));
    many.join();
    EXPECT_EQ(wnd.handled.load(), 201);
    EXPECT_EQ(sum.load(), 199 * 200 / 2);

    // A wait for a thread serves its sends and nothing else: what was posted
    // waits for the message loop.
    PostMessageW(hwnd, WM_TEST + 1, 7, 0);
    const HANDLE sender = CreateThread(
        nullptr, 0, [](LPVOID window) { return DWORD(SendMessageW(HWND(window), WM_TEST, 1, 0)); }, hwnd, 0, nullptr);
    ASSERT_NE(sender, nullptr);
    WaitServingSentMessages(sender);
    CloseHandle(sender);
    EXPECT_EQ(wnd.handled.load(), 202);
    EXPECT_TRUE(wnd.posted.empty());
    PumpMessages();
    EXPECT_EQ(wnd.posted.size(), 1u);
}

TEST_F(SendThreadTest, SendsAreServedInsideAModalLoop)
{
    CDialog dialog(IDD_SHOW_DIALOG);
    std::atomic<int> answered{0};
    std::thread worker;
    PostTask([&] {
        worker = std::thread([&] {
            for (int i = 0; i < 50; ++i)
                answered += SendMessageW(hwnd, WM_TEST, 1, 0) == 1 ? 1 : 0;
            PostTask([&] { dialog.EndDialog(7); });
        });
    });
    EXPECT_EQ(dialog.DoModal(), 7);
    worker.join();
    EXPECT_EQ(answered.load(), 50);
}

TEST_F(SendThreadTest, PostsFromEachThreadKeepTheirOrder)
{
    std::vector<std::thread> senders;
    for (int s = 0; s < 3; ++s)
        senders.emplace_back([this, s] {
            for (int i = 0; i < 100; ++i)
                PostMessageW(hwnd, WM_TEST + 1, WPARAM(s), LPARAM(i));
        });
    for (auto& t : senders)
        t.join();
    PumpMessages();
    ASSERT_EQ(wnd.posted.size(), 300u);
    int next[3] = {0, 0, 0};
    for (auto [sender, sequence] : wnd.posted)
        EXPECT_EQ(sequence, next[sender]++);
}

TEST_F(SendThreadTest, TimersAndRepaintsAskedFromAnotherThreadRunOnTheUserInterfaceThread)
{
    UINT_PTR armed = 0;
    std::thread([&] { armed = SetTimer(hwnd, 1, 10, nullptr); }).join();
    EXPECT_EQ(armed, 1u);
    EXPECT_TRUE(WaitWhilePumping([&] { return !wnd.ticks.empty(); }, 5000));
    std::thread([&] { KillTimer(hwnd, 1); }).join();
    PumpMessages();
    std::size_t count = wnd.ticks.size();
    PumpMessages(50);
    EXPECT_EQ(wnd.ticks.size(), count);

    wnd.UpdateWindow();
    wnd.log.clear();
    BOOL invalidated = FALSE, updated = FALSE;
    std::thread([&] {
        invalidated = InvalidateRect(hwnd, nullptr, TRUE);
        updated = UpdateWindow(hwnd);
    }).join();
    EXPECT_TRUE(invalidated && updated);
    EXPECT_EQ(wnd.Count(WM_PAINT), 0);
    PumpMessages();
    EXPECT_EQ(wnd.Count(WM_PAINT), 1);
}
