// The soft input panel beside the field being typed into.
#include "dialogs/ContactEditDlg.h"
#include "support/DialogTestSupport.h"

namespace {

using InputPanelTest = DialogTest;

constexpr int kValue = 1040;

ce::HWND Panel() { return ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr); }

ce::CRect PanelRect()
{
    ce::CRect rect;
    ce::GetWindowRect(Panel(), &rect);
    return rect;
}

std::unique_ptr<ContactRecord> FullContact()
{
    return MakeContact({{FieldName, u"Ana"}, {FieldAddress, u"Calle Mayor 12"}, {FieldWebPage, u"www.example.com"}});
}

// Focuses the field, then checks it is in sight with the panel beside it.
void FocusAndCheck(const ce::CDialog& dialog, int fieldId)
{
    ce::CWnd* field = Control(Pane(dialog), kValue + fieldId);
    ASSERT_NE(field, nullptr);
    field->SetFocus();
    ce::PumpMessages();
    const ce::CRect rc = ScreenRect(field);
    EXPECT_GE(rc.top, 0) << "field " << fieldId;
    EXPECT_LE(rc.bottom, kScreenHeight) << "field " << fieldId;
    ASSERT_TRUE(ce::IsWindowVisible(Panel()));
    const ce::CRect panel = PanelRect();
    EXPECT_EQ(panel.left, 40) << "field " << fieldId;
    if (rc.bottom > 150)
        EXPECT_EQ(panel.top, rc.top - 120) << "field " << fieldId;
    else
        EXPECT_EQ(panel.top, rc.bottom + 10) << "field " << fieldId;
}

TEST_F(InputPanelTest, PanelShowsAtStartAndHidesWithTheForm)
{
    ASSERT_NE(Panel(), nullptr);
    ce::ShowWindow(Panel(), ce::SW_HIDE);
    auto contact = FullContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        EXPECT_TRUE(ce::IsWindowVisible(Panel()));
        ce::SIPINFO info;
        info.cbSize = sizeof(info);
        ASSERT_TRUE(ce::SipGetInfo(&info));
        EXPECT_EQ(info.fdwFlags & ce::SIPF_ON, ce::SIPF_ON);
    });
    EXPECT_FALSE(ce::IsWindowVisible(Panel()));
}

TEST_F(InputPanelTest, PanelGoesBelowAHighFieldAndAboveALowOne)
{
    auto contact = FullContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        // The first field lies high on the screen; find one whose bottom is
        // between 150 and 240 without scrolling.
        const ce::CRect high = ScreenRect(Control(form, kValue));
        ASSERT_LE(high.bottom, 150);
        FocusAndCheck(dialog, FieldName);
        EXPECT_EQ(PanelRect().top, high.bottom + 10);
        EXPECT_EQ(ScreenRect(Control(form, kValue)), high);

        int low = -1;
        for (int id = 1; id < FieldCount && low < 0; ++id) {
            const ce::CRect rc = ScreenRect(Control(form, kValue + id));
            if (id != FieldBirthday && rc.bottom > 150 && rc.bottom <= kScreenHeight)
                low = id;
        }
        ASSERT_GE(low, 0);
        const ce::CRect lowRect = ScreenRect(Control(form, kValue + low));
        FocusAndCheck(dialog, low);
        EXPECT_EQ(ScreenRect(Control(form, kValue + low)), lowRect);
        EXPECT_EQ(PanelRect().top, lowRect.top - 120);
    });
}

TEST_F(InputPanelTest, FieldsOffTheScreenAreScrolledIntoSightAlsoWhenAlreadyScrolled)
{
    auto contact = FullContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        ASSERT_GT(ScreenRect(Control(form, kValue + FieldWebPage)).bottom, kScreenHeight);
        // Down the form field by field, then back up, jumping over rows.
        for (int id : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 15, 9, 2, 12, 1})
            FocusAndCheck(dialog, id);
    });
}

// Taps the key in `column` and `row` of the panel's ten by five keys.
void TapKey(int column, int row)
{
    const ce::CRect panel = PanelRect();
    const int width = panel.Width() / 10;
    const int height = panel.Height() / 5;
    ce::SimulateTap(panel.left + column * width + width / 2, panel.top + row * height + height / 2);
    ce::PumpMessages();
}

TEST_F(InputPanelTest, TypingOnThePanelReachesTheFocusedFieldAndItsEnterSaves)
{
    auto contact = FullContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    const ce::LRESULT result = RunModal(dialog, [&] {
        ce::CWnd* name = Control(Pane(dialog), kValue);
        ce::SetWindowText(name->m_hWnd, u"");
        name->SetFocus();
        ce::PumpMessages();
        TapKey(5, 2); // h
        TapKey(8, 1); // o
        TapKey(8, 2); // l
        TapKey(0, 2); // a
        EXPECT_EQ(ce::GetWindowText(name->m_hWnd), u"hola");
        EXPECT_EQ(ce::GetFocus(), name->m_hWnd);
        TapKey(9, 3); // Enter
    });
    EXPECT_EQ(result, 1);
    std::u16string saved;
    contact->GetField(FieldName)->GetText(saved);
    EXPECT_EQ(saved, u"hola");
}

} // namespace
