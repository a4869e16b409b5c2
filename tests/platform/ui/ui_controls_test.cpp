// The static, edit and date-time picker controls.
#include "tests/platform/ui/support/UiTest.h"
#include "res/resource.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

// A parent that records its controls' WM_COMMAND and WM_NOTIFY traffic.
class CParent : public CRecordingWnd {
public:
    std::vector<std::pair<UINT, UINT>> commandCodes; // (id, code)
    std::vector<NMDATETIMECHANGE> dateChanges;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        commandCodes.emplace_back(LOWORD(wParam), HIWORD(wParam));
        return CRecordingWnd::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->code == DTN_DATETIMECHANGE)
            dateChanges.push_back(*reinterpret_cast<NMDATETIMECHANGE*>(lParam));
        return CRecordingWnd::OnNotify(wParam, lParam, result);
    }
    int Count(UINT id, UINT code) const
    {
        return int(std::count(commandCodes.begin(), commandCodes.end(), std::make_pair(id, code)));
    }
};

class ControlsTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 320, 240}));
    }
    CParent parent;
};

SYSTEMTIME Date(WORD y, WORD m, WORD d, WORD hh = 0, WORD mm = 0, WORD ss = 0)
{
    SYSTEMTIME st;
    st.wYear = y;
    st.wMonth = m;
    st.wDay = d;
    st.wHour = hh;
    st.wMinute = mm;
    st.wSecond = ss;
    return st;
}

} // namespace

TEST_F(ControlsTest, PickerNoDateStateAndDatesRoundTrip)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_VISIBLE | DTS_SHOWNONE | DTS_LONGDATEFORMAT, RECT{10, 10, 210, 34}, &parent, 1046));
    SYSTEMTIME st;
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_VALID)); // a new picker shows a date

    EXPECT_TRUE(picker.SetTime(nullptr));
    st.wYear = 1;
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_NONE));
    EXPECT_EQ(st.wYear, 1); // left alone

    SYSTEMTIME birthday = Date(1975, 3, 7, 18, 30, 15);
    EXPECT_EQ(picker.SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&birthday)), TRUE);
    ASSERT_EQ(picker.SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
    EXPECT_EQ(st.wYear, 1975);
    EXPECT_EQ(st.wMonth, 3);
    EXPECT_EQ(st.wDay, 7);
    EXPECT_EQ(st.wDayOfWeek, 5);
    EXPECT_EQ(st.wHour, 18);
    EXPECT_EQ(st.wMinute, 30);
    EXPECT_EQ(st.wSecond, 15);

    // An impossible date is refused and the picker keeps its date.
    SYSTEMTIME bad = Date(2001, 2, 30);
    EXPECT_EQ(picker.SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&bad)), FALSE);
    COleDateTime kept;
    ASSERT_TRUE(picker.GetTime(kept));
    EXPECT_EQ(kept.GetYear(), 1975);
    EXPECT_EQ(picker.SendMessage(DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);

    // Without DTS_SHOWNONE there is no no-date state.
    CDateTimeCtrl plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, RECT{10, 40, 210, 64}, &parent, 1047));
    EXPECT_FALSE(plain.SetTime(nullptr));
    EXPECT_EQ(plain.GetTime(&st), DWORD(GDT_VALID));
}

TEST_F(ControlsTest, PickerCheckBoxTogglesTheDateAndNotifiesTheParent)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_VISIBLE | DTS_SHOWNONE, RECT{10, 10, 210, 34}, &parent, 1046));
    SYSTEMTIME birthday = Date(1990, 12, 31);
    picker.SetTime(&birthday);
    SimulateMouse(picker.m_hWnd, WM_LBUTTONDOWN, 5, 12);
    EXPECT_EQ(GetFocus(), picker.m_hWnd);
    SYSTEMTIME st;
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_NONE));
    ASSERT_EQ(parent.dateChanges.size(), 1u);
    EXPECT_EQ(parent.dateChanges[0].dwFlags, DWORD(GDT_NONE));
    EXPECT_EQ(parent.dateChanges[0].nmhdr.idFrom, 1046u);

    // Ticking it again brings the same date back; the keys move it.
    SimulateKeyStroke(VK_SPACE, u' ');
    ASSERT_EQ(picker.GetTime(&st), DWORD(GDT_VALID));
    EXPECT_EQ(st.wDay, 31);
    SimulateKeyStroke(VK_UP, 0);
    picker.GetTime(&st);
    EXPECT_EQ(st.wYear, 1991);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(parent.dateChanges.back().dwFlags, DWORD(GDT_VALID));
}

TEST_F(ControlsTest, EditReportsFocusTypesAndKeepsItsText)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP, RECT{10, 10, 200, 30}, &parent, 1040));
    edit.SetWindowText(u"Ana");
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"Ana");

    SimulateMouse(edit.m_hWnd, WM_LBUTTONDOWN, 50, 5);
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
    EXPECT_EQ(parent.Count(1040, EN_SETFOCUS), 1);

    edit.SetSel(0, -1);
    SimulateKeyStroke('L', u'L');
    SimulateKeyStroke('I', u'i');
    SimulateKeyStroke('Z', u'z');
    SimulateKeyStroke(VK_BACK, 8);
    SimulateKeyStroke(VK_HOME, 0);
    SimulateKeyStroke(VK_DELETE, 0);
    SimulateKeyStroke(0xE5, u'\u00C1');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"\u00C1i");
    EXPECT_GE(parent.Count(1040, EN_CHANGE), 4);

    // The parent hears EN_KILLFOCUS when the focus leaves.
    SetFocus(parent.m_hWnd);
    EXPECT_EQ(parent.Count(1040, EN_KILLFOCUS), 1);
    // A read-only field takes no typing.
    edit.SetReadOnly();
    edit.SetFocus();
    SimulateKeyStroke('X', u'x');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"\u00C1i");
}

TEST_F(ControlsTest, StaticPaintsOnTheParentsBrushWithItsAlignment)
{
    CBrush white(RGB(255, 255, 255));
    parent.ctlColorBrush = white;
    CStatic left;
    CStatic right;
    ASSERT_TRUE(left.Create(u"Ana", WS_VISIBLE | SS_LEFT, RECT{0, 0, 150, 20}, &parent, 1));
    ASSERT_TRUE(right.Create(u"Ana", WS_VISIBLE | SS_RIGHT, RECT{0, 20, 150, 40}, &parent, 2));
    CStatic line;
    ASSERT_TRUE(line.Create(u"#134", WS_VISIBLE | SS_BITMAP, RECT{0, 50, 10, 60}, &parent, 3));
    RECT rc;
    line.GetWindowRect(&rc);
    EXPECT_EQ(rc.right - rc.left, 320); // the bitmap's size
    EXPECT_EQ(rc.bottom - rc.top, 1);
    line.MoveWindow(0, 50, 100, 1);

    ScreenImage shot = GrabScreen();
    auto darkIn = [&](int x0, int x1, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (shot.Pixel(x, y) != RGB(255, 255, 255))
                    ++n;
        return n;
    };
    EXPECT_GT(darkIn(0, 40, 0, 20), 5);
    EXPECT_EQ(darkIn(40, 150, 0, 20), 0);
    EXPECT_EQ(darkIn(0, 110, 20, 40), 0);
    EXPECT_GT(darkIn(110, 150, 20, 40), 5);
    EXPECT_EQ(shot.Pixel(0, 50), RGB(0, 0, 0));
    EXPECT_EQ(shot.Pixel(99, 50), RGB(0, 0, 0));
    EXPECT_NE(shot.Pixel(100, 50), RGB(0, 0, 0));
}
