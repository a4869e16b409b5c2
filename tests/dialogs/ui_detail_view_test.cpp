// The read-only detail dialog and its form.
#include "dialogs/ContactShowDlg.h"
#include "dialogs/CurrentContact.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

using DetailViewTest = DialogTest;

TEST_F(DetailViewTest, NameOnlyContactShowsNameLineAndNoRows)
{
    auto contact = MakeContact({{FieldName, u"Ana Lopez"}});
    auto dialog = std::make_unique<CContactShowDlg>(contact.get());
    EXPECT_EQ(g_currentContact, contact.get());
    RunModal(*dialog, [&, &dialog = *dialog] {
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"Ana Lopez");
        EXPECT_EQ(ScreenRect(&dialog), ce::CRect(0, 0, kScreenWidth, kScreenHeight));
        const ce::CWnd* form = Pane(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(TextOf(form, kName), u"Ana Lopez");
        const ce::CRect name = RectInParent(Control(form, kName));
        EXPECT_EQ(name, ce::CRect(2, 10, kValueRight, name.bottom));
        // The rows do not reach below the dialog: line and form keep the screen's width.
        EXPECT_EQ(RectInParent(Control(form, kLine)), ce::CRect(0, name.bottom + 10, kScreenWidth, name.bottom + 11));
        ce::CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ(RectInParent(form), client);
        for (int k = 0; k < 30; ++k)
            EXPECT_FALSE(Shown(form, kLabel + k) || Shown(form, kValue + k)) << k;
    });
    dialog.reset();
    EXPECT_EQ(g_currentContact, nullptr);

    CContactShowDlg empty(nullptr);
    RunModal(empty, [&] {
        EXPECT_EQ(ce::GetWindowText(empty.m_hWnd), u"Contactos");
        EXPECT_EQ(RectInParent(Control(Pane(empty), kName)), ce::CRect(2, 10, kValueRight, 11));
        EXPECT_FALSE(Shown(Pane(empty), kLabel));
    });
}

TEST_F(DetailViewTest, EmptyFieldsTakeNoControlsAndShownFieldsTakeTheNextPair)
{
    auto contact = MakeContact({{FieldName, u"Ana"}, {FieldAddress, u""}, {FieldTelephone, u"555 1234"},
                                {FieldEmail, u"ana@example.com"}});
    contact->GetField(FieldBirthday)->SetValue(u"19750307", 0.0); // no date: no birthday
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        EXPECT_EQ(TextOf(form, kLabel), u"Telefono:");
        EXPECT_EQ(TextOf(form, kValue), u"555 1234");
        EXPECT_EQ(TextOf(form, kLabel + 1), u"E-Mail:");
        EXPECT_EQ(TextOf(form, kValue + 1), u"ana@example.com");
        EXPECT_FALSE(Shown(form, kLabel + 2) || Shown(form, kValue + 2));
        const ce::CRect label0 = RectInParent(Control(form, kLabel));
        const ce::CRect value0 = RectInParent(Control(form, kValue));
        EXPECT_EQ(label0, ce::CRect(2, RectInParent(Control(form, kLine)).bottom + 10, 88, label0.bottom));
        EXPECT_EQ(value0, ce::CRect(90, label0.top, kValueRight, value0.bottom));
        EXPECT_EQ(RectInParent(Control(form, kLabel + 1)).top, std::max(label0.bottom, value0.bottom) + 10);
    });
}

TEST_F(DetailViewTest, AllFieldsUseFifteenPairsStretchTheFormAndScrollWithKeys)
{
    auto contact = MakeContact({{FieldName, u"Ana"}, {FieldAddress, u"Calle Mayor 12, 3 izquierda, 28013 Madrid, Espana"},
                        {FieldTelephone, u"912 345 678"}, {FieldMobile, u"600 123 456"}, {FieldFax, u"912 345 679"},
                        {FieldEmail, u"ana@example.com"}, {FieldCompany, u"Zelk"}, {FieldJobTitle, u"Ingeniera"},
                        {FieldDepartment, u"Sistemas"}, {FieldOfficeAddress, u"Gran Via 1"},
                        {FieldOfficeTelephone, u"913 000 000"}, {FieldOfficeFax, u"913 000 001"},
                        {FieldEmail2, u"ana@work.example"}, {FieldEmail3, u"ana@home.example"},
                        {FieldWebPage, u"www.example.com"}},
                       ToDate(SampleBirthday()));
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        ce::CWnd* form = Pane(dialog);
        int bottom = 0;
        for (int k = 0; k < 15; ++k) {
            ASSERT_TRUE(Shown(form, kLabel + k) && Shown(form, kValue + k)) << k;
            bottom = std::max({bottom, RectInParent(Control(form, kLabel + k)).bottom,
                               RectInParent(Control(form, kValue + k)).bottom});
        }
        for (int k = 15; k < 30; ++k)
            EXPECT_FALSE(Shown(form, kLabel + k) || Shown(form, kValue + k)) << k;
        EXPECT_EQ(TextOf(form, kLabel + 5), u"Cumpleanios:");
        EXPECT_EQ(TextOf(form, kValue + 5), u"19750307");
        EXPECT_EQ(TextOf(form, kValue + 14), u"www.example.com");
        // The rows reach below the dialog: the form grows, the line ends at the value column.
        EXPECT_EQ(RectInParent(form), ce::CRect(0, 0, kValueRight, bottom + 20));
        EXPECT_EQ(RectInParent(Control(form, kLine)).Width(), kValueRight);

        // The keys bring the rows below the screen into sight.
        const ce::CWnd* name = Control(form, kName);
        const ce::CWnd* last = Control(form, kValue + 14);
        const int nameTop = ScreenRect(name).top;
        ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_DOWN);
        EXPECT_EQ(ScreenRect(name).top, nameTop - 20);
        for (int page = 0; page < 10 && ScreenRect(last).bottom > kScreenHeight; ++page)
            ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_NEXT);
        EXPECT_LE(ScreenRect(last).bottom, kScreenHeight);
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
    EXPECT_EQ(RunModal(dialog, [&] { ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_CHAR, 'a'); }), kLeftOpen);
}

} // namespace
