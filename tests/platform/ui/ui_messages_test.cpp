// Message maps, default handling, creation and destruction order, command
// and notification routing, posted messages, timers and pre-translation.
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

class MessagesTest : public UiTest {};

// A window whose map has no entries of its own: everything is default.
class CPlainWnd : public CWnd {
};

// Reflection target for owner drawing.
class COwnerDrawn : public CWnd {
public:
    int drawn = 0;
    UINT lastId = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override
    {
        ++drawn;
        lastId = dis->CtlID;
    }
};

} // namespace

TEST_F(MessagesTest, CreationRunsHooksInOrderAndSizeFollowsMoves)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{10, 20, 110, 70}));
    EXPECT_TRUE(wnd.preCreateCalled);
    ASSERT_GE(wnd.log.size(), 2u);
    EXPECT_EQ(wnd.log[0], WM_CREATE);
    EXPECT_EQ(wnd.log[1], WM_SIZE);
    EXPECT_EQ(wnd.lastSize.cx, 100);
    EXPECT_EQ(wnd.lastSize.cy, 50);

    wnd.log.clear();
    wnd.MoveWindow(0, 0, 40, 30);
    EXPECT_EQ(wnd.Count(WM_SIZE), 1);
    EXPECT_EQ(wnd.lastSize.cx, 40);
    // Moving without a new size sends no WM_SIZE.
    wnd.MoveWindow(5, 5, 40, 30);
    EXPECT_EQ(wnd.Count(WM_SIZE), 1);

    RECT rc;
    wnd.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 5);
    EXPECT_EQ(rc.bottom, 35);
}

TEST_F(MessagesTest, CreationFailureDestroysTheWindow)
{
    CRecordingWnd wnd;
    wnd.createResult = -1;
    EXPECT_FALSE(wnd.Make(nullptr, RECT{0, 0, 10, 10}));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(wnd.Count(WM_DESTROY), 1);
    EXPECT_EQ(wnd.Count(WM_NCDESTROY), 1);
}

TEST_F(MessagesTest, ChildrenAreDestroyedWithTheirParentAfterIt)
{
    CRecordingWnd parent;
    CRecordingWnd child;
    ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 100, 100}));
    ASSERT_TRUE(child.Make(&parent, RECT{5, 5, 50, 50}, 7));
    HWND childHandle = child.m_hWnd;
    std::vector<std::pair<const CRecordingWnd*, UINT>> order;
    parent.destroyOrder = &order;
    child.destroyOrder = &order;
    EXPECT_EQ(GetParent(childHandle), parent.m_hWnd);
    EXPECT_EQ(GetDlgItem(parent.m_hWnd, 7), childHandle);
    EXPECT_EQ(parent.GetDlgItem(7), &child);

    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_EQ(child.m_hWnd, nullptr);
    EXPECT_EQ(parent.m_hWnd, nullptr);
    // The parent hears WM_DESTROY first, while its child still exists; the
    // child is gone completely before the parent's WM_NCDESTROY.
    using Step = std::pair<const CRecordingWnd*, UINT>;
    EXPECT_EQ(order, (std::vector<Step>{{&parent, WM_DESTROY}, {&child, WM_DESTROY}, {&child, WM_NCDESTROY},
                                        {&parent, WM_NCDESTROY}}));
}

TEST_F(MessagesTest, DefaultHandlingKeepsTextAndFontAndUnknownMessagesReturnZero)
{
    CPlainWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, u"caption", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    std::u16string text;
    wnd.GetWindowText(text);
    EXPECT_EQ(text, u"caption");
    wnd.SetWindowText(u"changed");
    EXPECT_EQ(GetWindowText(wnd.m_hWnd), u"changed");
    WCHAR small[4];
    EXPECT_EQ(GetWindowTextW(wnd.m_hWnd, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"cha");

    LOGFONTW lf;
    lf.lfHeight = 16;
    HFONT font = CreateFontIndirectW(&lf);
    wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(wnd.SendMessage(WM_GETFONT)), font);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 99, 1, 2), 0);
    wnd.DestroyWindow();
    DeleteObject(font);
}

TEST_F(MessagesTest, MapEntriesDispatchMessagesCommandsAndNotifications)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    EXPECT_EQ(wnd.SendMessage(uitest::WM_TEST, 40, 2), 42);

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0); // outside the range: not handled
    ASSERT_EQ(wnd.commands.size(), 1u);
    EXPECT_EQ(wnd.commands[0], 205u);

    AFX_CMDHANDLERINFO info;
    EXPECT_TRUE(wnd.OnCmdMsg(203, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &wnd);
    EXPECT_EQ(wnd.commands.size(), 1u); // only asked, not run
    EXPECT_FALSE(wnd.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));

    NMHDR hdr;
    hdr.idFrom = 7;
    hdr.code = NM_DBLCLK;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr)), 42);
    hdr.idFrom = 8;
    EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&hdr)), 0);
    ASSERT_EQ(wnd.notified.size(), 1u);
    EXPECT_EQ(wnd.notified[0], NM_DBLCLK);
}

TEST_F(MessagesTest, DrawItemSentToTheParentIsReflectedToTheControl)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 100, 100}));
    COwnerDrawn control;
    ASSERT_TRUE(control.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, &parent, 55));
    DRAWITEMSTRUCT dis;
    dis.CtlID = 55;
    dis.hwndItem = control.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 55, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(control.drawn, 1);
    EXPECT_EQ(control.lastId, 55u);
}

TEST_F(MessagesTest, PostedMessagesArriveInOrderAfterThePump)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    std::vector<WPARAM> seen;
    for (WPARAM i = 0; i < 20; ++i)
        EXPECT_TRUE(PostMessageW(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(WORD(200 + i % 10), 0), 0));
    EXPECT_TRUE(wnd.commands.empty());
    PumpMessages();
    ASSERT_EQ(wnd.commands.size(), 20u);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(wnd.commands[i], 200 + i % 10);
    EXPECT_FALSE(PostMessageW(nullptr, uitest::WM_TEST, 0, 0));
}

TEST_F(MessagesTest, TimersTickUntilKilledAndDieWithTheirWindow)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    EXPECT_EQ(wnd.SetTimer(3, 10, nullptr), 3u);
    ASSERT_TRUE(WaitWhilePumping([&] { return wnd.ticks.size() >= 2; }, 5000));
    EXPECT_EQ(wnd.ticks[0], 3u);
    EXPECT_TRUE(wnd.KillTimer(3));
    std::size_t count = wnd.ticks.size();
    PumpMessages(60);
    EXPECT_EQ(wnd.ticks.size(), count);
    EXPECT_FALSE(wnd.KillTimer(3));

    // A timer of a destroyed window never ticks again.
    wnd.SetTimer(4, 5, nullptr);
    HWND gone = wnd.m_hWnd;
    wnd.DestroyWindow();
    PumpMessages(40);
    EXPECT_EQ(wnd.ticks.size(), count);
    EXPECT_EQ(SetTimer(gone, 1, 10, nullptr), 0u);
}

TEST_F(MessagesTest, KeysArePreTranslatedFromTheFocusUpAndTrueSwallowsThem)
{
    CRecordingWnd top;
    CRecordingWnd middle;
    CRecordingWnd leaf;
    ASSERT_TRUE(top.Make(nullptr, RECT{0, 0, 100, 100}));
    ASSERT_TRUE(middle.Make(&top, RECT{0, 0, 80, 80}, 1));
    ASSERT_TRUE(leaf.Make(&middle, RECT{0, 0, 40, 40}, 2));
    leaf.SetFocus();
    EXPECT_EQ(GetFocus(), leaf.m_hWnd);

    SimulateKeyStroke('A', u'a');
    EXPECT_EQ(leaf.pretranslated, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(middle.pretranslated, leaf.pretranslated);
    EXPECT_EQ(top.pretranslated, leaf.pretranslated);
    EXPECT_EQ(leaf.Count(WM_KEYDOWN), 1);
    EXPECT_EQ(leaf.Count(WM_CHAR), 1);

    // The middle window swallows: the key never reaches the leaf, the walk
    // stops there, and no character follows a swallowed key down.
    leaf.pretranslated.clear();
    top.pretranslated.clear();
    middle.swallowKeys = TRUE;
    SimulateKeyStroke(VK_RETURN, 13);
    EXPECT_EQ(leaf.pretranslated, std::vector<UINT>{WM_KEYDOWN});
    EXPECT_TRUE(top.pretranslated.empty());
    EXPECT_EQ(leaf.Count(WM_KEYDOWN), 1);
    EXPECT_EQ(leaf.Count(WM_CHAR), 1);

    // Posted messages take the same way.
    middle.swallowKeys = FALSE;
    leaf.PostMessage(WM_KEYDOWN, VK_DEVICE_KEY, 0);
    PumpMessages();
    EXPECT_EQ(top.pretranslated.back(), WM_KEYDOWN);
    EXPECT_EQ(leaf.Count(WM_KEYDOWN), 2);
}

TEST_F(MessagesTest, FocusFollowsActivationAndSetFocus)
{
    CRecordingWnd top;
    ASSERT_TRUE(top.Make(nullptr, RECT{0, 0, 100, 100}));
    CRecordingWnd a;
    CRecordingWnd b;
    ASSERT_TRUE(a.Make(&top, RECT{0, 0, 10, 10}, 1));
    ASSERT_TRUE(b.Make(&top, RECT{0, 20, 10, 30}, 2));
    // Showing a top-level window activates it: it takes the focus.
    EXPECT_EQ(GetFocus(), top.m_hWnd);
    EXPECT_EQ(SetFocus(a.m_hWnd), top.m_hWnd);
    EXPECT_EQ(SetFocus(b.m_hWnd), a.m_hWnd);
    // The input panel shows without taking it.
    ShowWindow(FindWindowW(SIP_WINDOW_CLASS, nullptr), SW_SHOW);
    EXPECT_EQ(GetFocus(), b.m_hWnd);
    EXPECT_EQ(CWnd::GetFocus(), &b);
    // Destroying the focused window leaves no focus behind.
    b.DestroyWindow();
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(MessagesTest, GeometryIsInDeviceScreenCoordinates)
{
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CXHSCROLL), 16);

    CRecordingWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, u"t", WS_POPUP | WS_VISIBLE | WS_CAPTION, RECT{20, 30, 220, 180}, nullptr, 0));
    CRecordingWnd child;
    ASSERT_TRUE(child.Make(&top, RECT{10, 5, 60, 25}, 1));
    RECT client;
    top.GetClientRect(&client);
    EXPECT_EQ(client.right, 200 - 2);
    EXPECT_EQ(client.bottom, 150 - 2 - GetSystemMetrics(SM_CYCAPTION));

    RECT rc;
    child.GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 20 + 1 + 10);
    EXPECT_EQ(rc.top, 30 + 1 + GetSystemMetrics(SM_CYCAPTION) + 5);
    POINT pt{rc.left, rc.top};
    child.ScreenToClient(&pt);
    EXPECT_EQ(pt.x, 0);
    EXPECT_EQ(pt.y, 0);
    top.ScreenToClient(&rc);
    EXPECT_EQ(rc.left, 10);
    EXPECT_EQ(rc.top, 5);
}
