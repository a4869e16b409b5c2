// The push button: tap, capture and click, its state bits, owner drawing
// through the parent's reflection, and its own look.
#include "platform/ui/Button.h"
#include "tests/platform/ui/support/UiTest.h"

namespace {

using namespace ce;

constexpr COLORREF kProbeColor = 0x00123456;

// Records every DrawItem and paints the face in one colour.
class CProbeButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        actions.push_back(item->itemAction);
        states.push_back(item->itemState);
        EXPECT_EQ(item->CtlType, ODT_BUTTON);
        EXPECT_EQ(item->hwndItem, m_hWnd);
        RECT rc{};
        GetClientRect(&rc);
        EXPECT_EQ(CRect(item->rcItem), CRect(rc));
        CDC::FromHandle(item->hDC)->FillSolidRect(&item->rcItem, kProbeColor);
    }
    std::vector<UINT> actions;
    std::vector<UINT> states;
};

// Records the WM_COMMAND messages of its children.
class CCommandParent : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return TRUE;
    }
    struct Command {
        UINT id;
        UINT code;
        HWND from;
        bool operator==(const Command&) const = default;
    };
    std::vector<Command> commands;
};

class ButtonTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr,
                                    nullptr));
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        UiTest::TearDown();
    }
    CCommandParent parent;
};

TEST_F(ButtonTest, OwnerDrawnButtonIsDrawnByItsDrawItemAndClicksOnRelease)
{
    CProbeButton button;
    ASSERT_TRUE(button.Create(u"go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 30), &parent, 42));
    EXPECT_EQ(GrabWindow(button.m_hWnd).Pixel(5, 5), kProbeColor) << "WM_PAINT draws through DrawItem";
    ASSERT_FALSE(button.actions.empty());
    EXPECT_EQ(button.actions.back(), ODA_DRAWENTIRE);
    EXPECT_EQ(button.GetState(), 0u);

    button.actions.clear();
    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(button.GetState() & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
    EXPECT_EQ(GetCapture(), button.m_hWnd);
    EXPECT_EQ(GetFocus(), button.m_hWnd);
    ASSERT_FALSE(button.states.empty());
    EXPECT_EQ(button.states.back(), ODS_SELECTED | ODS_FOCUS);
    EXPECT_NE(std::find(button.actions.begin(), button.actions.end(), ODA_FOCUS), button.actions.end());
    EXPECT_NE(std::find(button.actions.begin(), button.actions.end(), ODA_SELECT), button.actions.end());
    EXPECT_TRUE(parent.commands.empty()) << "no click before the release";

    // Sliding off releases it; lifting there is no click.
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 80, 5);
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 80, 5);
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    SimulateMouse(button.m_hWnd, WM_LBUTTONDOWN, 5, 5);
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 80, 5);
    SimulateMouse(button.m_hWnd, WM_MOUSEMOVE, 6, 6);
    EXPECT_EQ(button.GetState() & BST_PUSHED, BST_PUSHED);
    SimulateMouse(button.m_hWnd, WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(parent.commands, (std::vector<CCommandParent::Command>{{42, BN_CLICKED, button.m_hWnd}}));
    EXPECT_EQ(button.GetState(), BST_FOCUS);
    EXPECT_EQ(button.states.back(), ODS_FOCUS);

    // Losing the focus is drawn as well.
    button.actions.clear();
    SetFocus(parent.m_hWnd);
    ASSERT_FALSE(button.actions.empty());
    EXPECT_EQ(button.actions.back(), ODA_FOCUS);
    EXPECT_EQ(button.states.back(), 0u);
}

TEST_F(ButtonTest, PushButtonDrawsItselfAndClicksWithSpace)
{
    CButton button;
    ASSERT_TRUE(button.Create(u"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 70, 32), &parent, 1));
    ScreenImage image = GrabWindow(button.m_hWnd);
    EXPECT_EQ(image.Pixel(0, 0), 0x00000000u) << "black frame";
    EXPECT_EQ(image.Pixel(59, 21), 0x00000000u);
    EXPECT_EQ(image.Pixel(2, 2), GetSysColor(COLOR_BTNFACE));
    int dark = 0;
    for (COLORREF c : image.pixels)
        dark += c == GetSysColor(COLOR_BTNTEXT);
    EXPECT_GT(dark, 40) << "the caption plus the frame";

    button.SetFocus();
    SimulateKey(button.m_hWnd, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(button.GetState() & BST_PUSHED, BST_PUSHED);
    EXPECT_NE(GrabWindow(button.m_hWnd).Pixel(2, 2), GetSysColor(COLOR_BTNFACE)) << "pushed look";
    SimulateKey(button.m_hWnd, WM_CHAR, u' ');
    EXPECT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(button.GetState() & BST_PUSHED, 0u);

    button.SetCheck(BST_CHECKED);
    EXPECT_EQ(button.GetCheck(), int(BST_CHECKED));
    EXPECT_EQ(button.GetState() & BST_CHECKED, BST_CHECKED);
}

} // namespace
