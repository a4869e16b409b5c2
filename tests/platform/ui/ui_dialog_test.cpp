// Modal dialogs and form views from the templates of the resource script
// (the contact dialogs' tests scroll the forms and walk their tab stops), and
// the keys of the form's date picker and edit fields that those tests leave alone.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "tests/platform/ui/support/UiTest.h"
#include "res/resource.h"

using namespace ce;
using uitest::CRecordingWnd;
using uitest::UiTest;

namespace {

int g_formsAlive = 0;

class CTestForm : public CFormView {
public:
    CTestForm() : CFormView(IDD_EDIT_FORM) { ++g_formsAlive; }
    ~CTestForm() override { --g_formsAlive; }
};

class DialogTest : public UiTest {};

} // namespace

// The contact dialogs' tests see the form's controls; only here is a form
// seen to go with its window.
TEST_F(DialogTest, AFormViewIsDeletedWithItsWindow)
{
    CRecordingWnd host;
    ASSERT_TRUE(host.Make(nullptr, RECT{0, 0, 320, 240}));
    auto* form = new CTestForm;
    ASSERT_TRUE(form->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, RECT{}, &host, AFX_IDW_PANE_FIRST));
    EXPECT_EQ(g_formsAlive, 1);
    form->DestroyWindow();
    EXPECT_EQ(g_formsAlive, 0);
}

TEST_F(DialogTest, ModalDialogDisablesItsOwnerAndEndsByEndDialogCloseBoxEscapeOrOwner)
{
    CRecordingWnd owner;
    ASSERT_TRUE(owner.Make(nullptr, RECT{0, 0, 320, 240}));
    owner.SetFocus();
    CDialog dialog(IDD_SHOW_DIALOG, &owner);
    PostTask([&] {
        EXPECT_TRUE(dialog.IsWindowVisible());
        EXPECT_FALSE(owner.IsWindowEnabled());
        EXPECT_EQ(GetParent(dialog.m_hWnd), owner.m_hWnd);
        dialog.EndDialog(5);
    });
    EXPECT_EQ(dialog.DoModal(), 5);
    EXPECT_TRUE(owner.IsWindowEnabled());

    CDialog closed(IDD_SHOW_DIALOG, &owner);
    PostTask([&] { // the close box sits at the right end of the caption
        CRect rc;
        closed.GetWindowRect(&rc);
        SimulateTap(rc.right - 8, rc.top + 1 + GetSystemMetrics(SM_CYCAPTION) / 2);
    });
    EXPECT_EQ(closed.DoModal(), IDCANCEL);

    // A dialog without controls holds the focus itself, so typed keys reach
    // its pre-translation; the focus then goes back.
    CDialog escaped(IDD_SHOW_DIALOG, &owner);
    PostTask([&] {
        EXPECT_EQ(GetFocus(), escaped.m_hWnd);
        DeliverKeyStroke(VK_ESCAPE, 27);
    });
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    EXPECT_EQ(GetFocus(), owner.m_hWnd);

    // Destroying the owner takes the dialog along and ends its loop.
    CDialog owned(IDD_SHOW_DIALOG, &owner);
    PostTask([&] { owner.DestroyWindow(); });
    EXPECT_EQ(owned.DoModal(), IDCANCEL);
    EXPECT_EQ(owned.m_hWnd, nullptr);
}

// Left and Right choose the day, month or year ("d de MMMM de yyyy") that Up
// and Down change; an impossible date is refused; tapping the check box takes
// the date away.
TEST_F(DialogTest, PickerKeysStepTheChosenPartAndTheCheckBoxClearsTheDate)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 320, 240}));
    CDateTimeCtrl picker;
    ASSERT_TRUE(picker.Create(WS_VISIBLE | DTS_SHOWNONE | DTS_LONGDATEFORMAT, RECT{10, 10, 210, 34}, &parent, 1046));
    SYSTEMTIME st{1990, 12, 0, 31, 0, 0, 0, 0};
    picker.SetTime(&st);
    picker.SetFocus();
    const std::pair<UINT, int> steps[] = {{VK_UP, 19910101},   {VK_RIGHT, 19910101}, {VK_UP, 19910201},
                                          {VK_RIGHT, 19910201}, {VK_UP, 19920201},    {VK_RIGHT, 19920201},
                                          {VK_DOWN, 19910201},  {VK_LEFT, 19910201},  {VK_LEFT, 19910201},
                                          {VK_LEFT, 19910201},  {VK_DOWN, 19910131}};
    for (auto [key, date] : steps) {
        DeliverKeyStroke(key, 0);
        ASSERT_EQ(picker.GetTime(&st), DWORD(GDT_VALID));
        EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, date) << "after key " << key;
    }
    SYSTEMTIME impossible{2001, 2, 0, 30, 0, 0, 0, 0};
    EXPECT_FALSE(picker.SetTime(&impossible));
    picker.GetTime(&st);
    EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, 19910131) << "the date is kept";
    SimulateMouse(picker.m_hWnd, WM_LBUTTONDOWN, 5, 12);
    EXPECT_EQ(picker.GetTime(&st), DWORD(GDT_NONE));
}

// Typing stops at the limit (by default 32,767 units); a text set is kept whole.
// A right-aligned label ends at its right edge.
TEST_F(DialogTest, EditLimitHoldsTypingButNotTheTextSetAndALabelAlignsRight)
{
    CRecordingWnd parent;
    ASSERT_TRUE(parent.Make(nullptr, RECT{0, 0, 320, 240}));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, RECT{10, 10, 200, 30}, &parent, 1041));
    const std::u16string longText(40000, u'a');
    edit.SetWindowText(longText);
    EXPECT_EQ(GetWindowTextLengthW(edit.m_hWnd), 40000);
    SetFocus(edit.m_hWnd);
    edit.SetSel(40000, 40000);
    DeliverKeyStroke('B', u'b');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), longText);
    edit.LimitText(5);
    edit.SetWindowText(u"1234");
    edit.SetSel(4, 4);
    DeliverKeyStroke('X', u'x');
    DeliverKeyStroke('Y', u'y');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"1234x");
    edit.SetSel(0, 3);
    DeliverKeyStroke('Z', u'z');
    EXPECT_EQ(GetWindowText(edit.m_hWnd), u"z4x") << "a selection is replaced";

    // The forms' field labels are right-aligned statics.
    CStatic label;
    ASSERT_TRUE(label.Create(u"Ana", WS_VISIBLE | SS_RIGHT, RECT{0, 20, 150, 40}, &parent, 2));
    const ScreenImage shot = GrabWindow(label.m_hWnd);
    for (int x = 0; x < 110; ++x)
        for (int y = 0; y < shot.height; ++y)
            ASSERT_EQ(shot.Pixel(x, y), shot.Pixel(0, 0)) << x << "," << y;
}
