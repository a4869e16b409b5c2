// The soft input panel beside the field being typed into.
#include "dialogs/ContactEditDlg.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

using InputPanelTest = DialogTest;

ce::HWND Panel() { return ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr); }

ce::CRect PanelRect()
{
    ce::CRect rect;
    ce::GetWindowRect(Panel(), &rect);
    return rect;
}

std::unique_ptr<ContactRecord> SomeContact()
{
    return MakeContact({{FieldName, u"Ana"}, {FieldAddress, u"Calle Mayor 12"}, {FieldWebPage, u"www.example.com"}});
}

// Focuses the field, then checks it is in sight with the panel beside it.
void FocusAndCheck(const ce::CDialog& dialog, int fieldId)
{
    ce::CWnd* field = Control(Pane(dialog), kValue + fieldId);
    field->SetFocus();
    ce::PumpMessages();
    const ce::CRect rc = ScreenRect(field);
    EXPECT_GE(rc.top, 0) << fieldId;
    EXPECT_LE(rc.bottom, kScreenHeight) << fieldId;
    ASSERT_TRUE(ce::IsWindowVisible(Panel()));
    EXPECT_EQ(PanelRect().left, 40) << fieldId;
    EXPECT_EQ(PanelRect().top, rc.bottom > 150 ? rc.top - 120 : rc.bottom + 10) << fieldId;
}

TEST_F(InputPanelTest, PanelShowsAtStartFollowsTheFieldAndHidesWithTheForm)
{
    ASSERT_NE(Panel(), nullptr);
    ce::ShowWindow(Panel(), ce::SW_HIDE);
    auto contact = SomeContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        EXPECT_TRUE(ce::IsWindowVisible(Panel()));
        ce::SIPINFO info;
        info.cbSize = sizeof(info);
        ASSERT_TRUE(ce::SipGetInfo(&info));
        EXPECT_EQ(info.fdwFlags & ce::SIPF_ON, ce::SIPF_ON);

        // A field in sight is not moved; one off the screen is scrolled into
        // sight first, also when the form is already scrolled.
        const ce::CWnd* form = Pane(dialog);
        int high = 0, low = 0; // rows in sight on both sides of 150
        for (int id = 0; id < FieldCount; ++id) {
            const ce::CRect before = ScreenRect(Control(form, kValue + id));
            if (id == FieldBirthday || before.bottom > kScreenHeight)
                continue;
            FocusAndCheck(dialog, id);
            EXPECT_EQ(ScreenRect(Control(form, kValue + id)), before) << id;
            ++(before.bottom > 150 ? low : high);
        }
        EXPECT_TRUE(high > 0 && low > 0);
        ASSERT_GT(ScreenRect(Control(form, kValue + FieldWebPage)).bottom, kScreenHeight);
        for (int id : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 15, 9, 2, 12, 1})
            FocusAndCheck(dialog, id);
    });
    EXPECT_FALSE(ce::IsWindowVisible(Panel()));
}

// Taps the key in `column` and `row` of the panel's ten by five keys.
void TapKey(int column, int row)
{
    const ce::CRect panel = PanelRect();
    const int width = panel.Width() / 10, height = panel.Height() / 5;
    ce::SimulateTap(panel.left + column * width + width / 2, panel.top + row * height + height / 2);
    ce::PumpMessages();
}

TEST_F(InputPanelTest, TypingOnThePanelReachesTheFocusedFieldAndItsEnterSaves)
{
    auto contact = SomeContact();
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
