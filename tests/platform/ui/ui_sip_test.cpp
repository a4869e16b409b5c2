// The soft input panel: its record, showing and hiding, and typing into the
// focused field without taking the focus.
#include "tests/platform/ui/support/UiTest.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

class SipTest : public UiTest {
protected:
    static HWND Panel() { return FindWindowW(SIP_WINDOW_CLASS, nullptr); }

    // Taps the key at (column, row) of the panel's ten-by-five grid.
    static void TapKey(int column, int row)
    {
        RECT rc;
        GetWindowRect(Panel(), &rc);
        SimulateTap(rc.left + column * 24 + 12, rc.top + row * 16 + 8);
    }
};

} // namespace

TEST_F(SipTest, InfoRecordShowsHidesAndKeepsThePanelsPlace)
{
    HWND panel = Panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(IsWindowVisible(panel));
    RECT rc;
    GetWindowRect(panel, &rc);
    EXPECT_EQ(rc.right - rc.left, 240);
    EXPECT_EQ(rc.bottom - rc.top, 80);

    SIPINFO info;
    info.cbSize = 40;
    EXPECT_FALSE(SipGetInfo(&info));
    info.cbSize = sizeof(SIPINFO);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    EXPECT_EQ(info.rcSipRect.top, rc.top);

    // As the edit view does it: flags on, top and bottom zeroed.
    info.fdwFlags = SIPF_ON;
    info.rcSipRect.top = 0;
    info.rcSipRect.bottom = 0;
    ASSERT_TRUE(SipSetInfo(&info));
    EXPECT_TRUE(IsWindowVisible(panel));
    RECT now;
    GetWindowRect(panel, &now);
    EXPECT_EQ(now.top, rc.top);
    SIPINFO check;
    check.cbSize = sizeof(SIPINFO);
    ASSERT_TRUE(SipGetInfo(&check));
    EXPECT_EQ(check.fdwFlags & SIPF_ON, SIPF_ON);
    EXPECT_EQ(check.rcVisibleDesktop.bottom, rc.top);

    info.fdwFlags = 0;
    ASSERT_TRUE(SipSetInfo(&info));
    EXPECT_FALSE(IsWindowVisible(panel));
}

TEST_F(SipTest, KeysTypeIntoTheFocusedFieldWithoutTakingTheFocus)
{
    CRecordingWnd form;
    ASSERT_TRUE(form.Make(nullptr, RECT{0, 0, 320, 240}));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE, RECT{10, 10, 200, 30}, &form, 1040));
    edit.SetFocus();
    ShowWindow(Panel(), SW_SHOW);
    MoveWindow(Panel(), 40, 150, 240, 80, TRUE);

    TapKey(5, 2); // h
    TapKey(2, 1); // e
    TapKey(0, 3); // shift
    TapKey(7, 2); // k -> K
    TapKey(9, 2); // backspace
    TapKey(8, 2); // l
    TapKey(3, 4); // space
    TapKey(1, 0); // 2
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"hel 2");
    EXPECT_EQ(GetFocus(), edit.m_hWnd);

    TapKey(0, 3); // shift
    TapKey(1, 3); // z -> Z
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"hel 2Z");

    // Enter takes the way of a real key: the form's pre-translation sees it.
    form.pretranslated.clear();
    TapKey(9, 3);
    EXPECT_EQ(form.pretranslated, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
}
