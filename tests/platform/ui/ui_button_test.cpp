// The owner-drawn button: tap, capture and click, its state bits, drawing
// through the parent's reflection; the toolbar as a control bar of a frame
// that passes its buttons' commands on.
#include "platform/ui/Button.h"
#include "platform/ui/ToolBar.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/common/UiHarness.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

using namespace ce;

constexpr COLORREF ProbeColor = 0x00123456;

// Records every DrawItem and paints the face it is given in one colour.
class CProbeButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        actions.push_back(item->itemAction);
        states.push_back(item->itemState);
        CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, ProbeColor);
    }
    bool Drew(UINT action) const { return std::find(actions.begin(), actions.end(), action) != actions.end(); }
    std::vector<UINT> actions, states;
};

// Records the commands it gets.
template <class Base>
class CCommandRecorder : public Base {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return TRUE;
    }
    struct Command {
        UINT id, code;
        HWND from;
        bool operator==(const Command&) const = default;
    };
    std::vector<Command> commands;
};

using ButtonTest = uitest::UiTest;

TEST_F(ButtonTest, OwnerDrawnButtonIsDrawnByItsDrawItemAndClicksOnRelease)
{
    CCommandRecorder<CWnd> parent;
    ASSERT_TRUE(uiharness::CreateScreenWindow(parent));
    CProbeButton button;
    ASSERT_TRUE(button.Create(u"go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 30), &parent, 42));
    EXPECT_EQ(GrabWindow(button.m_hWnd).Pixel(5, 5), ProbeColor) << "WM_PAINT draws through DrawItem";
    EXPECT_TRUE(button.Drew(ODA_DRAWENTIRE));
    EXPECT_EQ(button.GetState(), 0u);

    button.actions.clear();
    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button.GetState() & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
    EXPECT_EQ(GetCapture(), button.m_hWnd);
    EXPECT_EQ(button.states.back(), ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(button.Drew(ODA_FOCUS) && button.Drew(ODA_SELECT));
    EXPECT_TRUE(parent.commands.empty()) << "no click before the release";

    // Sliding off releases it; lifting there is no click. Sliding back and
    // lifting clicks.
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 80, 5);
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 80, 5);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);
    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 5, 5);
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 80, 5);
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 6, 6);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(parent.commands, (decltype(parent.commands){{42, BN_CLICKED, button.m_hWnd}}));
    EXPECT_EQ(button.GetState(), BST_FOCUS);

    button.actions.clear();
    SetFocus(parent.m_hWnd);
    ASSERT_FALSE(button.actions.empty());
    EXPECT_EQ(button.actions.back(), ODA_FOCUS);
    EXPECT_EQ(button.states.back(), 0u);
}

// The frame's tests check how it stacks its bars.
TEST_F(ButtonTest, ToolBarKeepsButtonSettingsAndPassesCommandsOn)
{
    auto* frame = new CCommandRecorder<CFrameWnd>;
    ASSERT_TRUE(frame->LoadFrame(128));
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE800));
    bar.SetButtonInfo(0, 100, TBBS_BUTTON, 3);
    bar.SetButtonInfo(0, 101, TBBS_BUTTON, 4); // replaces index 0
    bar.SetButtonInfo(1, 102, TBBS_SEPARATOR, 8);
    bar.SetButtonInfo(5, 103, TBBS_BUTTON, 0); // past the end: ignored
    EXPECT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.GetItemID(0), 101u);
    EXPECT_EQ(bar.GetItemID(1), 102u);

    // The bar does not handle its button's command: it goes on to the frame.
    CButton button;
    ASSERT_TRUE(button.Create(u"x", WS_CHILD | WS_VISIBLE, CRect(1, 3, 34, 19), &bar, 32783));
    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 3, 3);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(frame->commands, (decltype(frame->commands){{32783, BN_CLICKED, button.m_hWnd}}));
    button.DestroyWindow();
    bar.DestroyWindow();
    frame->DestroyWindow();
}

} // namespace
