// Messages no window of the program shows a fault of: posted messages keep
// their order, and a killed timer stops.
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;

namespace {

using MessagesTest = uitest::UiTest;

} // namespace

TEST_F(MessagesTest, PostedMessagesKeepTheirOrderAndTimersTickUntilKilled)
{
    uitest::CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    std::vector<UINT> posted;
    for (UINT i = 0; i < 8; ++i)
        EXPECT_TRUE(PostMessageW(wnd.m_hWnd, posted.emplace_back(WM_USER + i), 0, 0));
    EXPECT_TRUE(wnd.log.empty());
    PumpMessages();
    EXPECT_EQ(wnd.log, posted);

    EXPECT_EQ(wnd.SetTimer(3, 5, nullptr), 3u);
    ASSERT_TRUE(WaitWhilePumping([&] { return wnd.Count(WM_TIMER) >= 2; }, 5000));
    EXPECT_TRUE(wnd.KillTimer(3));
    const int ticks = wnd.Count(WM_TIMER);
    PumpMessages(50);
    EXPECT_EQ(wnd.Count(WM_TIMER), ticks);
    EXPECT_FALSE(wnd.KillTimer(3));
}
