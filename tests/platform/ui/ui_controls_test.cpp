// The static, edit and date-time picker controls.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"
#include "res/resource.h"

using namespace ce;

namespace {

// A parent that records its controls' WM_COMMAND and date change traffic.
class CParent : public uitest::CRecordingWnd {
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
        if (reinterpret_cast<NMHDR*>(lParam)->code == DTN_DATETIMECHANGE)
            dateChanges.push_back(*reinterpret_cast<NMDATETIMECHANGE*>(lParam));
        return CRecordingWnd::OnNotify(wParam, lParam, result);
    }
    int Count(UINT id, UINT code) const
    {
        return int(std::count(commandCodes.begin(), commandCodes.end(), std::make_pair(id, code)));
    }
};

class ControlsTest : public uitest::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 320, 240}));
    }
    CParent parent;
};

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
    EXPECT_EQ(st.wYear, 1) << "left alone";

    SYSTEMTIME birthday{1975, 3, 0, 7, 18, 30, 15, 0}; // year, month, weekday, day, time
    EXPECT_EQ(picker.SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&birthday)), TRUE);
    ASSERT_EQ(picker.SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), GDT_VALID);
    EXPECT_EQ(std::vector<WORD>({st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond}),
              std::vector<WORD>({1975, 3, 7, 5, 18, 30, 15}));

    // An impossible date is refused and the picker keeps its date.
    SYSTEMTIME bad{2001, 2, 0, 30, 0, 0, 0, 0};
    EXPECT_EQ(picker.SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&bad)), FALSE);
    COleDateTime kept;
    ASSERT_TRUE(picker.GetTime(kept));
    EXPECT_EQ(kept.GetYear(), 1975);

    // Without DTS_SHOWNONE there is no no-date state.
    CDateTimeCtrl plain;
    ASSERT_TRUE(plain.Create(WS_VISIBLE, RECT{10, 40, 210, 64}, &parent, 1047));
    EXPECT_FALSE(plain.SetTime(nullptr));
    EXPECT_EQ(plain.GetTime(&st), DWORD(GDT_VALID));

    // The check box toggles the date and notifies the parent; keys move it.
    birthday = SYSTEMTIME{1990, 12, 0, 31, 0, 0, 0, 0};
    picker.SetTime(&birthday);
    SimulateMouse(picker.m_hWnd, WM_LBUTTONDOWN, 5, 12);
    EXPECT_EQ(GetFocus(), picker.m_hWnd);
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_NONE));
    ASSERT_EQ(parent.dateChanges.size(), 1u);
    EXPECT_EQ(parent.dateChanges[0].dwFlags, DWORD(GDT_NONE));
    EXPECT_EQ(parent.dateChanges[0].nmhdr.idFrom, 1046u);
    DeliverKeyStroke(VK_SPACE, u' ');
    ASSERT_EQ(picker.GetTime(&st), DWORD(GDT_VALID));
    EXPECT_EQ(st.wDay, 31);
    DeliverKeyStroke(VK_UP, 0);
    picker.GetTime(&st);
    EXPECT_EQ(st.wYear, 1991);
    EXPECT_EQ(st.wDay, 1);
    EXPECT_EQ(parent.dateChanges.back().dwFlags, DWORD(GDT_VALID));
}

// Left and Right choose the day, month or year ("d de MMMM de yyyy") that Up
// and Down change; the field shows its focus with and without a date; F4 and
// Alt+Down open the calendar, which leaves the focus on the field.
TEST_F(ControlsTest, PickerPartsFocusMarkAndCalendarKeys)
{
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_VISIBLE | DTS_SHOWNONE | DTS_LONGDATEFORMAT, RECT{10, 10, 210, 34}, &parent, 1046));
    SYSTEMTIME st{1990, 12, 0, 31, 0, 0, 0, 0};
    picker.SetTime(&st);
    picker.SetFocus();
    auto shown = [&] {
        picker.GetTime(&st);
        return st.wYear * 10000 + st.wMonth * 100 + st.wDay;
    };
    const std::pair<UINT, int> steps[] = {{VK_UP, 19910101},   {VK_RIGHT, 19910101}, {VK_UP, 19910201},
                                          {VK_RIGHT, 19910201}, {VK_UP, 19920201},    {VK_RIGHT, 19920201},
                                          {VK_DOWN, 19910201},  {VK_LEFT, 19910201},  {VK_LEFT, 19910201},
                                          {VK_LEFT, 19910201},  {VK_DOWN, 19910131}};
    for (auto [key, date] : steps) {
        DeliverKeyStroke(key, 0);
        EXPECT_EQ(shown(), date) << "after key " << key;
    }

    // Pixels of one colour in the field's text, between the check box and the button.
    auto countIn = [&](COLORREF colour) {
        const ScreenImage image = GrabWindow(picker.m_hWnd);
        int n = 0;
        for (int y = 2; y < image.height - 2; ++y)
            for (int x = 17; x < image.width - 18; ++x)
                n += image.Pixel(x, y) == colour;
        return n;
    };
    const COLORREF navy = RGB(0, 0, 128), black = RGB(0, 0, 0);
    EXPECT_GT(countIn(navy), 20) << "the chosen part is highlighted";
    SetFocus(parent.m_hWnd);
    EXPECT_EQ(countIn(navy), 0);
    picker.SetTime(nullptr);
    EXPECT_EQ(countIn(black), 0) << "the text is gray without a date";
    picker.SetFocus();
    EXPECT_GT(countIn(black), 20) << "a dotted frame without a date";

    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN}) {
        SimulateKey(picker.m_hWnd, message, message == WM_KEYDOWN ? VK_F4 : VK_DOWN);
        const HWND calendar = HWND(picker.SendMessage(DTM_GETMONTHCAL));
        ASSERT_NE(calendar, nullptr) << message;
        EXPECT_EQ(GetFocus(), picker.m_hWnd);
        DeliverKeyStroke(VK_ESCAPE, 27);
        EXPECT_FALSE(IsWindow(calendar));
        EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_NONE)) << "Escape picks nothing";
    }
    DeliverKeyStroke(VK_F4, 0);
    DeliverKeyStroke(VK_RETURN, 13);
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_VALID)) << "Return picks the calendar's day";
    EXPECT_EQ(parent.dateChanges.back().dwFlags, DWORD(GDT_VALID));
}

TEST_F(ControlsTest, EditReportsFocusTypesAndKeepsItsText)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL | WS_TABSTOP, RECT{10, 10, 200, 30}, &parent, 1040));
    edit.SetWindowText(u"Ana");
    SimulateMouse(edit.m_hWnd, WM_LBUTTONDOWN, 50, 5);
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
    EXPECT_EQ(parent.Count(1040, EN_SETFOCUS), 1);

    edit.SetSel(0, -1);
    const std::pair<UINT, char16_t> strokes[] = {{'L', u'L'}, {'I', u'i'},    {'Z', u'z'},         {VK_BACK, 8},
                                                 {VK_HOME, 0}, {VK_DELETE, 0}, {0xE5, u'\u00C1'}};
    for (auto [key, ch] : strokes)
        DeliverKeyStroke(key, ch);
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"\u00C1i");
    EXPECT_GE(parent.Count(1040, EN_CHANGE), 4);

    SetFocus(parent.m_hWnd);
    EXPECT_EQ(parent.Count(1040, EN_KILLFOCUS), 1);
}

TEST_F(ControlsTest, EditLimitHoldsTypingButNotTheTextSet)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{10, 10, 200, 30}, &parent, 1041));
    // A text longer than the default limit of 32,767 units is kept whole.
    std::u16string longText(40000, u'a');
    longText.back() = u'z';
    edit.SetWindowText(longText);
    EXPECT_EQ(GetWindowText(edit.m_hWnd), longText);
    EXPECT_EQ(GetWindowTextLengthW(edit.m_hWnd), 40000);
    SetFocus(edit.m_hWnd);
    edit.SetSel(40000, 40000);
    DeliverKeyStroke('B', u'b');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), longText) << "typing stops at the limit";
    edit.SetSel(0, 8000);
    DeliverKeyStroke('B', u'b');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"b" + longText.substr(8000)) << "a selection is replaced";

    edit.LimitText(5);
    edit.SetWindowText(u"1234567");
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"1234567");
    edit.SetSel(0, 3);
    DeliverKeyStroke('X', u'x');
    DeliverKeyStroke('Y', u'y');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"x4567");
}

TEST_F(ControlsTest, StaticPaintsRightAlignedOnTheParentsBrush)
{
    CBrush white(RGB(255, 255, 255));
    parent.ctlColorBrush = white;
    CStatic label;
    ASSERT_TRUE(label.Create(u"Ana", WS_VISIBLE | SS_RIGHT, RECT{0, 20, 150, 40}, &parent, 2));
    ScreenImage shot = GrabScreen();
    auto inkIn = [&](int x0, int x1) {
        int n = 0;
        for (int y = 20; y < 40; ++y)
            for (int x = x0; x < x1; ++x)
                n += shot.Pixel(x, y) != RGB(255, 255, 255);
        return n;
    };
    EXPECT_EQ(inkIn(0, 110), 0);
    EXPECT_GT(inkIn(110, 150), 5);
}
