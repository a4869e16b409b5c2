// Message maps, default handling, window life, routing, posting, timers,
// pre-translation, focus and disabled windows, classes registered by name, the caption.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;
using uitest::CRecordingWnd;

namespace {

class MessagesTest : public uitest::UiTest {};

class CPlainWnd : public CWnd {};

LRESULT AnswerSeven(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return msg == uitest::WM_TEST ? 7 : DefWindowProcW(hwnd, msg, wParam, lParam);
}

class COwnerDrawn : public CWnd {
public:
    std::vector<UINT> drawnIds;
    void DrawItem(LPDRAWITEMSTRUCT dis) override { drawnIds.push_back(dis->CtlID); }
};

} // namespace

TEST_F(MessagesTest, CreationSizingAndDestructionOrder)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.Make(nullptr, RECT{10, 20, 110, 70}));
    ASSERT_GE(parent.log.size(), 2u);
    EXPECT_EQ(std::vector<UINT>(parent.log.begin(), parent.log.begin() + 2), (std::vector<UINT>{WM_CREATE, WM_SIZE}));
    EXPECT_EQ(std::make_pair(parent.lastSize.cx, parent.lastSize.cy), std::make_pair(100, 50));
    parent.log.clear();
    parent.MoveWindow(0, 0, 40, 30);
    parent.MoveWindow(5, 5, 40, 30); // no new size, no WM_SIZE
    EXPECT_EQ(parent.Count(WM_SIZE), 1);
    EXPECT_EQ(std::make_pair(parent.lastSize.cx, parent.lastSize.cy), std::make_pair(40, 30));

    CRecordingWnd child;
    ASSERT_TRUE(child.Make(&parent, RECT{5, 5, 50, 50}, 7));
    HWND childHandle = child.m_hWnd;
    EXPECT_EQ(parent.GetDlgItem(7), &child);
    using Step = std::pair<const CRecordingWnd*, UINT>;
    std::vector<Step> order;
    parent.destroyOrder = child.destroyOrder = &order;
    parent.DestroyWindow();
    EXPECT_FALSE(IsWindow(childHandle));
    EXPECT_EQ(child.m_hWnd, nullptr);
    // The parent hears WM_DESTROY while its child exists and WM_NCDESTROY after it is gone.
    EXPECT_EQ(order, (std::vector<Step>{{&parent, WM_DESTROY}, {&child, WM_DESTROY}, {&child, WM_NCDESTROY},
                                        {&parent, WM_NCDESTROY}}));

    CRecordingWnd failing;
    failing.createResult = -1;
    EXPECT_FALSE(failing.Make(nullptr, RECT{0, 0, 10, 10}));
    EXPECT_EQ(failing.m_hWnd, nullptr);
    EXPECT_EQ(failing.Count(WM_NCDESTROY), 1);
}

TEST_F(MessagesTest, DefaultHandlingKeepsTextAndFontAndUnknownMessagesReturnZero)
{
    CPlainWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, u"caption", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    EXPECT_EQ(GetWindowText(wnd.m_hWnd), u"caption");
    wnd.SetWindowText(u"changed");
    WCHAR small[4];
    EXPECT_EQ(GetWindowTextW(wnd.m_hWnd, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"cha");

    LOGFONTW lf;
    lf.lfHeight = 16;
    const HFONT font = CreateFontIndirectW(&lf);
    wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(wnd.SendMessage(WM_GETFONT)), font);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 99, 1, 2), 0);
    wnd.DestroyWindow();
    DeleteObject(font);
}

TEST_F(MessagesTest, MapEntriesDispatchMessagesCommandsNotificationsAndDrawItem)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    EXPECT_EQ(wnd.SendMessage(uitest::WM_TEST, 40, 2), 42);

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0); // outside the range
    EXPECT_EQ(wnd.commands, std::vector<UINT>{205});
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
    EXPECT_EQ(wnd.notified, std::vector<UINT>{NM_DBLCLK});

    // WM_DRAWITEM sent to the parent is reflected to the control.
    COwnerDrawn control;
    ASSERT_TRUE(control.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{0, 0, 20, 20}, &wnd, 55));
    DRAWITEMSTRUCT dis;
    dis.CtlID = 55;
    dis.hwndItem = control.m_hWnd;
    EXPECT_EQ(wnd.SendMessage(WM_DRAWITEM, 55, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(control.drawnIds, std::vector<UINT>{55});
}

TEST_F(MessagesTest, PostedMessagesAndTimersArriveThroughThePump)
{
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.Make(nullptr, RECT{0, 0, 50, 50}));
    std::vector<UINT> expected;
    for (UINT i = 0; i < 20; ++i)
        EXPECT_TRUE(PostMessageW(wnd.m_hWnd, WM_COMMAND, expected.emplace_back(200 + i % 10), 0));
    EXPECT_TRUE(wnd.commands.empty());
    PumpMessages();
    EXPECT_EQ(wnd.commands, expected);
    EXPECT_FALSE(PostMessageW(nullptr, uitest::WM_TEST, 0, 0));

    // Timers tick until killed and die with their window.
    EXPECT_EQ(wnd.SetTimer(3, 10, nullptr), 3u);
    ASSERT_TRUE(WaitWhilePumping([&] { return wnd.ticks.size() >= 2; }, 5000));
    EXPECT_EQ(wnd.ticks[0], 3u);
    EXPECT_TRUE(wnd.KillTimer(3));
    std::size_t count = wnd.ticks.size();
    PumpMessages(60);
    EXPECT_EQ(wnd.ticks.size(), count);
    EXPECT_FALSE(wnd.KillTimer(3));

    wnd.SetTimer(4, 5, nullptr);
    HWND gone = wnd.m_hWnd;
    wnd.DestroyWindow();
    PumpMessages(40);
    EXPECT_EQ(wnd.ticks.size(), count);
    EXPECT_EQ(SetTimer(gone, 1, 10, nullptr), 0u);
}

TEST_F(MessagesTest, KeysArePreTranslatedFromTheFocusUpAndTrueSwallowsThem)
{
    CRecordingWnd top, middle, leaf;
    ASSERT_TRUE(top.Make(nullptr, RECT{0, 0, 100, 100}));
    ASSERT_TRUE(middle.Make(&top, RECT{0, 0, 80, 80}, 1));
    ASSERT_TRUE(leaf.Make(&middle, RECT{0, 0, 40, 40}, 2));
    leaf.SetFocus();
    DeliverKeyStroke('A', u'a');
    EXPECT_EQ(leaf.pretranslated, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(middle.pretranslated, leaf.pretranslated);
    EXPECT_EQ(top.pretranslated, leaf.pretranslated);
    EXPECT_EQ(leaf.Count(WM_KEYDOWN), 1);
    EXPECT_EQ(leaf.Count(WM_CHAR), 1);

    // The middle window swallows: the walk stops there, the leaf gets no key and no character follows.
    leaf.pretranslated.clear(), top.pretranslated.clear();
    middle.swallowKeys = TRUE;
    DeliverKeyStroke(VK_RETURN, 13);
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

TEST_F(MessagesTest, FocusFollowsActivationAndSetFocusAndDisabledWindowsGetNoInput)
{
    CRecordingWnd top, a, b;
    ASSERT_TRUE(top.Make(nullptr, RECT{0, 0, 100, 100}));
    ASSERT_TRUE(a.Make(&top, RECT{10, 10, 50, 50}, 1));
    ASSERT_TRUE(b.Make(&top, RECT{0, 60, 10, 70}, 2));
    EXPECT_EQ(GetFocus(), top.m_hWnd) << "showing a top-level window activates it";
    EXPECT_EQ(SetFocus(a.m_hWnd), top.m_hWnd);
    EXPECT_EQ(SetFocus(b.m_hWnd), a.m_hWnd);
    ShowWindow(FindWindowW(SIP_WINDOW_CLASS, nullptr), SW_SHOW);
    EXPECT_EQ(CWnd::GetFocus(), &b) << "the input panel does not take the focus";
    b.DestroyWindow();
    EXPECT_EQ(GetFocus(), nullptr);

    SimulateTap(20, 20);
    EXPECT_EQ(a.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(a.Count(WM_LBUTTONUP), 1);
    top.EnableWindow(FALSE);
    SimulateTap(20, 20);
    EXPECT_EQ(a.Count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(top.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(MessagesTest, ClassesRegisteredByNameAndTemporaryWrappers)
{
    WNDCLASSW wc;
    wc.lpfnWndProc = &AnswerSeven;
    wc.lpszClassName = u"TestProcClass";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND hwnd = CreateWindowExW(0, u"testprocclass", u"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SendMessageW(hwnd, uitest::WM_TEST, 0, 0), 7);
    EXPECT_EQ(FindWindowW(u"TestProcClass", nullptr), hwnd);
    // A window without a framework object gets a temporary wrapper that
    // stays the same while the window lives.
    CWnd* wrapper = CWnd::FromHandle(hwnd);
    ASSERT_NE(wrapper, nullptr);
    EXPECT_EQ(CWnd::FromHandle(hwnd), wrapper);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    DestroyWindow(hwnd);
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr);
}

TEST_F(MessagesTest, CaptionShowsTheTextOnTheCaptionColour)
{
    CRecordingWnd dialog;
    ASSERT_TRUE(dialog.CreateEx(0, nullptr, u"Contactos", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
                                RECT{0, 0, 320, 240}, nullptr, 0));
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    auto pixelsOf = [&](int colour) { // left half of the caption
        const ScreenImage shot = GrabScreen();
        int n = 0;
        for (int y = 1; y <= caption; ++y)
            for (int x = 1; x < 120; ++x)
                n += shot.Pixel(x, y) == GetSysColor(colour);
        return n;
    };
    EXPECT_GT(pixelsOf(COLOR_CAPTIONTEXT), 20);
    dialog.SetWindowText(u"");
    EXPECT_EQ(pixelsOf(COLOR_ACTIVECAPTION), 119 * caption) << "renaming redraws it";
}
