// The read-only detail dialog and its form.
#include "dialogs/ContactShowDlg.h"
#include "dialogs/CurrentContact.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

using DetailViewTest = DialogTest;

// The name heads the form with a line under it; only the filled fields take
// a label and a value, in field order, each row below the one before.
TEST_F(DetailViewTest, TheNameHeadsTheFormAndOnlyFilledFieldsTakeRows)
{
    auto contact = MakeContact({{FieldName, u"Ana Lopez"}, {FieldAddress, u""}, {FieldTelephone, u"555 1234"},
                                {FieldEmail, u"ana@example.com"}});
    contact->GetField(FieldBirthday)->SetValue(u"19750307", 0.0); // no date: no birthday
    auto dialog = std::make_unique<CContactShowDlg>(contact.get());
    EXPECT_EQ(g_currentContact, contact.get());
    RunModal(*dialog, [&, &dialog = *dialog] {
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"Ana Lopez");
        const ce::CWnd* form = Pane(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(TextOf(form, IDC_NAME_LINE), u"Ana Lopez");
        const ce::CRect line = RectInParent(Control(form, IDC_LINE_FIRST));
        EXPECT_GT(line.top, RectInParent(Control(form, IDC_NAME_LINE)).bottom);
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST), u"555 1234");
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST + 1), u"ana@example.com");
        const ce::CRect label0 = RectInParent(Control(form, IDC_LABEL_FIRST)), value0 = RectInParent(Control(form, IDC_VALUE_FIRST));
        EXPECT_GT(label0.top, line.bottom);
        EXPECT_EQ(value0.top, label0.top);
        EXPECT_GT(RectInParent(Control(form, IDC_LABEL_FIRST + 1)).top, std::max(label0.bottom, value0.bottom));
        for (int k = 2; k < 30; ++k)
            EXPECT_FALSE(Shown(form, IDC_LABEL_FIRST + k) || Shown(form, IDC_VALUE_FIRST + k)) << k;
        // The rows do not reach below the dialog: line and form keep the screen's width.
        ce::CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ(RectInParent(form), client);
        EXPECT_EQ(line.Width(), ScreenWidth);
    });
    dialog.reset();
    EXPECT_EQ(g_currentContact, nullptr);

    CContactShowDlg empty(nullptr);
    RunModal(empty, [&] {
        EXPECT_EQ(ce::GetWindowText(empty.m_hWnd), u"Contactos");
        EXPECT_FALSE(Shown(Pane(empty), IDC_LABEL_FIRST));
    });
}

TEST_F(DetailViewTest, AllFieldsUseFifteenPairsStretchTheFormAndScrollWithKeys)
{
    auto contact = FilledContact();
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        ce::CWnd* form = Pane(dialog);
        int bottom = 0;
        for (int k = 0; k < 15; ++k) {
            ASSERT_TRUE(Shown(form, IDC_LABEL_FIRST + k) && Shown(form, IDC_VALUE_FIRST + k)) << k;
            bottom = std::max({bottom, RectInParent(Control(form, IDC_LABEL_FIRST + k)).bottom,
                               RectInParent(Control(form, IDC_VALUE_FIRST + k)).bottom});
        }
        EXPECT_FALSE(Shown(form, IDC_LABEL_FIRST + 15) || Shown(form, IDC_VALUE_FIRST + 15));
        // The rows reach below the dialog: the form grows and leaves the
        // scroll bar its strip, the line ends with the form.
        const ce::CRect whole = RectInParent(form);
        EXPECT_GT(whole.bottom, bottom);
        EXPECT_LT(whole.right, ScreenWidth);
        EXPECT_EQ(RectInParent(Control(form, IDC_LINE_FIRST)).Width(), whole.Width());

        // The keys bring the rows below the screen into sight.
        const ce::CWnd* name = Control(form, IDC_NAME_LINE);
        const ce::CWnd* last = Control(form, IDC_VALUE_FIRST + 14);
        const int nameTop = ScreenRect(name).top;
        ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_DOWN);
        EXPECT_EQ(ScreenRect(name).top, nameTop - 20);
        for (int page = 0; page < 10 && ScreenRect(last).bottom > ScreenHeight; ++page)
            ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_NEXT);
        EXPECT_LE(ScreenRect(last).bottom, ScreenHeight);
        for (int page = 0; page < 10; ++page)
            ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_PRIOR);
        EXPECT_EQ(ScreenRect(name).top, nameTop);
    });
}

TEST_F(DetailViewTest, EnterEscapeAndDeviceKeyEndTheDialogAsKeyOrCharacter)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    for (const ce::UINT message : {ce::WM_KEYDOWN, ce::WM_CHAR})
        for (const ce::WPARAM key : {13, 27, 195}) {
            CContactShowDlg dialog(contact.get());
            EXPECT_EQ(RunModal(dialog, [&] { ce::SimulateKey(Pane(dialog)->m_hWnd, message, key); }), 1)
                << message << " " << key;
        }
    CContactShowDlg dialog(contact.get());
    EXPECT_EQ(RunModal(dialog, [&] { ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_CHAR, 'a'); }), ce::IDCANCEL)
        << "closed after, not ended by the key";
}

} // namespace
