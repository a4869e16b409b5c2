// The toolbar as a control bar of a frame: styles, button settings, its
// place at the top and the commands it passes on.
#include "platform/ui/Button.h"
#include "platform/ui/ToolBar.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

using namespace ce;

class CRecordingFrame : public CFrameWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
    std::vector<UINT> commands;
};

using ToolBarTest = uitest::UiTest;

TEST_F(ToolBarTest, ButtonSettingsAddAtTheEndAndReplaceInPlace)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(&parent, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY,
                             CRect(0, 2, 0, 2), 0xE800));
    EXPECT_EQ(bar.GetBarStyle(), CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY);
    EXPECT_EQ(bar.GetStyle() & CBRS_ALL, 0u) << "the bar styles are not window styles";
    EXPECT_EQ(bar.GetCount(), 0);

    bar.SetButtonInfo(0, 100, TBBS_BUTTON, 3);
    bar.SetButtonInfo(0, 101, TBBS_BUTTON, 4);
    EXPECT_EQ(bar.GetCount(), 1) << "index 0 is replaced";
    bar.SetButtonInfo(1, 102, TBBS_SEPARATOR, 8);
    bar.SetButtonInfo(5, 103, TBBS_BUTTON, 0);
    EXPECT_EQ(bar.GetCount(), 2) << "an index past the end is ignored";
    UINT id = 0, style = 0;
    int image = 0;
    ASSERT_TRUE(bar.GetButtonInfo(1, id, style, image));
    EXPECT_EQ(id, 102u);
    EXPECT_EQ(style, TBBS_SEPARATOR);
    EXPECT_EQ(image, 8);
    EXPECT_EQ(bar.GetItemID(0), 101u);
    EXPECT_EQ(bar.GetItemID(2), 0u);
    EXPECT_FALSE(bar.GetButtonInfo(-1, id, style, image));

    const CSize size = bar.CalcFixedLayout(FALSE, TRUE);
    EXPECT_EQ(size.cx, 320);
    EXPECT_EQ(size.cy, CToolBar::BarHeight + 4);
}

TEST_F(ToolBarTest, FrameDocksTheBarAtTheTopAndGetsItsButtonsCommands)
{
    auto* frame = new CRecordingFrame;
    ASSERT_TRUE(frame->LoadFrame(128));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE800));
    CWnd pane;
    ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), frame, AFX_IDW_PANE_FIRST));
    frame->RecalcLayout();

    CRect barRect, paneRect, client;
    bar.GetWindowRect(&barRect);
    pane.GetWindowRect(&paneRect);
    frame->GetClientRect(&client);
    EXPECT_EQ(barRect.Height(), CToolBar::BarHeight);
    EXPECT_GE(barRect.Height(), 20);
    EXPECT_EQ(barRect.Width(), client.Width());
    EXPECT_EQ(paneRect.top, barRect.bottom);
    EXPECT_EQ(paneRect.Height(), client.Height() - CToolBar::BarHeight);

    // A button on the bar: its click goes through the bar to the frame.
    CButton button;
    ASSERT_TRUE(button.Create(u"x", WS_CHILD | WS_VISIBLE, CRect(1, 3, 34, 19), &bar, 32783));
    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 3, 3);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(frame->commands, std::vector<UINT>{32783});
    button.DestroyWindow();
    bar.DestroyWindow();
    pane.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace
