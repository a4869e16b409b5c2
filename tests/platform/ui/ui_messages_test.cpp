// Messages no window of the program shows a fault of: posted messages keep
// their order, a killed timer stops, a notification reaches the handler of
// the control it comes from, a child of a disabled window gets no tap, and a
// parent outlives its children.
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;

namespace {

using MessagesTest = uitest::UiTest;

// Handles one notification for two controls; sees whether its child lives at
// WM_DESTROY and at WM_NCDESTROY.
class CProbeParent : public CWnd {
public:
    std::vector<UINT> heard;
    HWND child = nullptr;
    std::vector<bool> childLives;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY || message == WM_NCDESTROY)
            childLives.push_back(IsWindow(child) != FALSE);
        return CWnd::WindowProc(message, wParam, lParam);
    }

protected:
    void OnFirstClick(NMHDR*, LRESULT*) { heard.push_back(7); }
    void OnSecondClick(NMHDR*, LRESULT*) { heard.push_back(8); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeParent, CWnd)
    ON_NOTIFY(NM_CLICK, 7, OnFirstClick)
    ON_NOTIFY(NM_CLICK, 8, OnSecondClick)
END_MESSAGE_MAP()

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
}

TEST_F(MessagesTest, AParentRoutesNotificationsByControlPassesNoTapWhenDisabledAndOutlivesItsChild)
{
    CProbeParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, u"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0));
    uitest::CRecordingWnd child;
    ASSERT_TRUE(child.Make(&parent, RECT{10, 10, 50, 50}));
    parent.child = child.m_hWnd;
    for (UINT id : {6u, 8u, 9u}) {
        NMHDR hdr{nullptr, id, UINT(NM_CLICK)};
        parent.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&hdr));
    }
    EXPECT_EQ(parent.heard, std::vector<UINT>{8});

    SimulateTap(20, 20);
    EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 1);
    parent.EnableWindow(FALSE);
    SimulateTap(20, 20);
    EXPECT_EQ(child.Count(WM_LBUTTONDOWN), 1) << "the parent is disabled";

    parent.DestroyWindow();
    EXPECT_EQ(parent.childLives, (std::vector<bool>{true, false}));
    EXPECT_EQ(child.m_hWnd, nullptr);
}
