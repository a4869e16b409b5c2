// The read-only detail dialog and its form.
#include "dialogs/ContactShowDlg.h"
#include "dialogs/CurrentContact.h"
#include "support/DialogTestSupport.h"

namespace {

using DetailViewTest = DialogTest;

constexpr int kName = 1000;
constexpr int kLine = 1080;
constexpr int kLabel = 1002;
constexpr int kValue = 1040;

bool Shown(const ce::CWnd* form, int id)
{
    const ce::CWnd* control = Control(form, id);
    return control && control->IsWindowVisible();
}

std::u16string TextOf(const ce::CWnd* form, int id) { return ce::GetWindowText(Control(form, id)->m_hWnd); }

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
        EXPECT_TRUE(form->IsWindowVisible());

        EXPECT_TRUE(Shown(form, kName));
        EXPECT_EQ(TextOf(form, kName), u"Ana Lopez");
        const ce::CRect name = RectInParent(Control(form, kName));
        EXPECT_EQ(name.left, 2);
        EXPECT_EQ(name.top, 10);
        EXPECT_EQ(name.right, kValueRight);

        // The line spans the screen: the rows do not reach below the dialog.
        EXPECT_TRUE(Shown(form, kLine));
        EXPECT_EQ(RectInParent(Control(form, kLine)), ce::CRect(0, name.bottom + 10, kScreenWidth, name.bottom + 11));
        ce::CRect client;
        dialog.GetClientRect(&client);
        EXPECT_EQ(RectInParent(form), client);

        for (int k = 0; k < 30; ++k) {
            EXPECT_FALSE(Shown(form, kLabel + k)) << k;
            EXPECT_FALSE(Shown(form, kValue + k)) << k;
        }
    });
    dialog.reset();
    EXPECT_EQ(g_currentContact, nullptr);
}

TEST_F(DetailViewTest, WithoutContactCaptionIsContactosAndNothingIsShown)
{
    CContactShowDlg dialog(nullptr);
    RunModal(dialog, [&] {
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"Contactos");
        const ce::CWnd* form = Pane(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(RectInParent(Control(form, kName)), ce::CRect(2, 10, kValueRight, 11));
        EXPECT_EQ(RectInParent(Control(form, kLine)).top, 21);
        EXPECT_FALSE(Shown(form, kLabel));
        EXPECT_FALSE(Shown(form, kValue));
    });
}

TEST_F(DetailViewTest, EmptyFieldsTakeNoControlsAndShownFieldsTakeTheNextPair)
{
    auto contact = MakeContact({{FieldName, u"Ana"}, {FieldAddress, u""}, {FieldTelephone, u"555 1234"},
                                {FieldEmail, u"ana@example.com"}});
    // A birthday text without a date is no birthday.
    contact->GetField(FieldBirthday)->SetValue(u"19750307", 0.0);
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        EXPECT_EQ(TextOf(form, kLabel), u"Telefono:");
        EXPECT_EQ(TextOf(form, kValue), u"555 1234");
        EXPECT_EQ(TextOf(form, kLabel + 1), u"E-Mail:");
        EXPECT_EQ(TextOf(form, kValue + 1), u"ana@example.com");
        EXPECT_FALSE(Shown(form, kLabel + 2));
        EXPECT_FALSE(Shown(form, kValue + 2));

        const ce::CRect line = RectInParent(Control(form, kLine));
        const ce::CRect label0 = RectInParent(Control(form, kLabel));
        const ce::CRect value0 = RectInParent(Control(form, kValue));
        const ce::CRect label1 = RectInParent(Control(form, kLabel + 1));
        EXPECT_EQ(label0.top, line.bottom + 10);
        EXPECT_EQ(value0.top, label0.top);
        EXPECT_EQ(label0.left, 2);
        EXPECT_EQ(label0.right, 88);
        EXPECT_EQ(value0.left, 90);
        EXPECT_EQ(value0.right, kValueRight);
        EXPECT_EQ(label1.top, std::max(label0.bottom, value0.bottom) + 10);
    });
}

std::unique_ptr<ContactRecord> FullContact()
{
    return MakeContact({{FieldName, u"Ana"},
                                {FieldAddress, u"Calle Mayor 12, 3 izquierda, 28013 Madrid, Espana"},
                                {FieldTelephone, u"912 345 678"}, {FieldMobile, u"600 123 456"},
                                {FieldFax, u"912 345 679"}, {FieldEmail, u"ana@example.com"},
                                {FieldCompany, u"Zelk"}, {FieldJobTitle, u"Ingeniera"},
                                {FieldDepartment, u"Sistemas"}, {FieldOfficeAddress, u"Gran Via 1"},
                                {FieldOfficeTelephone, u"913 000 000"}, {FieldOfficeFax, u"913 000 001"},
                                {FieldEmail2, u"ana@work.example"}, {FieldEmail3, u"ana@home.example"},
                                {FieldWebPage, u"www.example.com"}},
                               ToDate(SampleBirthday()));
}

TEST_F(DetailViewTest, AllFieldsUseFifteenPairsAndStretchTheForm)
{
    auto contact = FullContact();
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        int bottom = 0;
        for (int k = 0; k < 15; ++k) {
            ASSERT_TRUE(Shown(form, kLabel + k)) << k;
            ASSERT_TRUE(Shown(form, kValue + k)) << k;
            bottom = std::max({bottom, RectInParent(Control(form, kLabel + k)).bottom,
                               RectInParent(Control(form, kValue + k)).bottom});
        }
        for (int k = 15; k < 30; ++k) {
            EXPECT_FALSE(Shown(form, kLabel + k)) << k;
            EXPECT_FALSE(Shown(form, kValue + k)) << k;
        }
        EXPECT_EQ(TextOf(form, kLabel + 5), u"Cumpleanios:");
        EXPECT_EQ(TextOf(form, kValue + 5), u"19750307");
        EXPECT_EQ(TextOf(form, kLabel + 14), u"Pagina web:");
        EXPECT_EQ(TextOf(form, kValue + 14), u"www.example.com");

        // The rows reach below the dialog: the form grows to hold them and
        // the line ends at the value column's right edge.
        const ce::CRect view = RectInParent(form);
        EXPECT_EQ(view, ce::CRect(0, 0, kValueRight, bottom + 20));
        EXPECT_EQ(RectInParent(Control(form, kLine)).Width(), kValueRight);
    });
}

// Rows below the screen can be brought into sight with the keys and the stylus.
TEST_F(DetailViewTest, TallFormScrollsWithKeysAndStylus)
{
    auto contact = FullContact();
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        ce::CWnd* form = Pane(dialog);
        const ce::CWnd* name = Control(form, kName);
        const ce::CWnd* last = Control(form, kValue + 14);
        const int nameTop = ScreenRect(name).top;
        ASSERT_GT(ScreenRect(last).bottom, kScreenHeight);

        ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_DOWN);
        EXPECT_EQ(ScreenRect(name).top, nameTop - 20);
        ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_UP);
        EXPECT_EQ(ScreenRect(name).top, nameTop);

        for (int page = 0; page < 10 && ScreenRect(last).bottom > kScreenHeight; ++page)
            ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_NEXT);
        EXPECT_LE(ScreenRect(last).bottom, kScreenHeight);
        EXPECT_GT(ScreenRect(last).top, 0);
        for (int page = 0; page < 10; ++page)
            ce::SimulateKey(form->m_hWnd, ce::WM_KEYDOWN, ce::VK_PRIOR);
        EXPECT_EQ(ScreenRect(name).top, nameTop);

        // A drag that starts on a label moves the form with the stylus.
        const ce::CWnd* label = Control(form, kLabel + 3);
        const ce::CRect labelRect = ScreenRect(label);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONDOWN, 5, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, -35);
        EXPECT_EQ(ScreenRect(label).top, labelRect.top - 40);
        // Back where the stylus started, the label having moved with the form.
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, 45);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONUP, 5, 45);
        EXPECT_EQ(ScreenRect(name).top, nameTop);
        EXPECT_EQ(ScreenRect(label), labelRect);
        // Once the stylus is up, moving over the form scrolls nothing.
        ce::SimulateMouse(form->m_hWnd, ce::WM_MOUSEMOVE, 5, 5);
        EXPECT_EQ(ScreenRect(label), labelRect);
    });
}

TEST_F(DetailViewTest, EnterEscapeAndDeviceKeyEndTheDialogAsKeyOrCharacter)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    for (const ce::UINT message : {ce::WM_KEYDOWN, ce::WM_CHAR}) {
        for (const ce::WPARAM key : {13, 27, 195}) {
            CContactShowDlg dialog(contact.get());
            const ce::LRESULT result = RunModal(dialog, [&] { ce::SimulateKey(Pane(dialog)->m_hWnd, message, key); });
            EXPECT_EQ(result, 1) << "message " << message << " key " << key;
        }
    }
    CContactShowDlg dialog(contact.get());
    EXPECT_EQ(RunModal(dialog, [&] { ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_CHAR, 'a'); }), kLeftOpen);
}

TEST_F(DetailViewTest, FormAndLabelsAreDrawnOnWhite)
{
    auto contact = MakeContact({{FieldName, u"Ana Lopez"}, {FieldTelephone, u"912 345 678"}});
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        const ce::ScreenImage screen = ce::GrabScreen();
        ASSERT_EQ(screen.width, kScreenWidth);
        const ce::CRect label = ScreenRect(Control(form, kLabel));
        const ce::CRect name = ScreenRect(Control(form, kName));
        const ce::CRect formRect = ScreenRect(form);
        constexpr ce::COLORREF white = ce::RGB(255, 255, 255);
        // The label is right-aligned: its left end is background.
        EXPECT_EQ(screen.Pixel(label.left + 1, label.top + 1), white);
        // Between the label and the bottom of the screen lies bare form.
        EXPECT_EQ(screen.Pixel(formRect.left + 10, label.bottom + 20), white);
        EXPECT_EQ(screen.Pixel(formRect.left + 1, name.top - 5), white);
        // The black line under the name.
        const ce::CRect line = ScreenRect(Control(form, kLine));
        EXPECT_EQ(screen.Pixel(line.left + 5, line.top), ce::RGB(0, 0, 0));
        EXPECT_EQ(screen.Pixel(line.right - 5, line.top), ce::RGB(0, 0, 0));
        // Text is drawn on it.
        int dark = 0;
        for (int y = name.top; y < name.bottom; ++y)
            for (int x = name.left; x < name.right; ++x)
                dark += screen.Pixel(x, y) != white;
        EXPECT_GT(dark, 20);
    });
}

} // namespace
