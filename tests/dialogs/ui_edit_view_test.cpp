// The edit dialog and its form: layout, caption, saving on every way out.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/EditDlgView.h"
#include "platform/core/CodePage.h"
#include "support/DialogTestSupport.h"

namespace {

using EditViewTest = DialogTest;

constexpr int kLabel = 1002;
constexpr int kValue = 1040;
constexpr int kPicker = 1046;
constexpr int kLine = 1080;

ce::CWnd* Picker(const ce::CDialog& dialog) { return Control(Pane(dialog), kPicker); }

ce::LRESULT PickerTime(const ce::CDialog& dialog, ce::SYSTEMTIME& time)
{
    return Picker(dialog)->SendMessage(ce::DTM_GETSYSTEMTIME, 0, reinterpret_cast<ce::LPARAM>(&time));
}

// Types a text into every text field: "v<field id>", the web page a URL.
void FillEveryField(const ce::CDialog& dialog)
{
    for (int id = 0; id < FieldCount; ++id) {
        if (id == FieldBirthday)
            continue;
        const std::u16string text = id == FieldWebPage ? u"www.example.com" : u"v" + ce::AnsiToWide(std::to_string(id));
        ce::SetWindowText(Control(Pane(dialog), kValue + id)->m_hWnd, text);
    }
}

void ExpectEveryFieldFilled(const ContactRecord& contact)
{
    for (int id = 0; id < FieldCount; ++id) {
        if (id == FieldBirthday)
            continue;
        std::u16string text;
        contact.GetField(id)->GetText(text);
        EXPECT_EQ(text, id == FieldWebPage ? u"www.example.com" : u"v" + ce::AnsiToWide(std::to_string(id)))
            << "field " << id;
    }
}

TEST_F(EditViewTest, NewContactShowsNuevoSixteenLabelsEmptyFieldsAndNoDate)
{
    auto contact = MakeContact({});
    auto dialog = std::make_unique<CContactEditDlg>(contact.get(), EditModeNew);
    EXPECT_EQ(g_currentContact, contact.get());
    RunModal(*dialog, [&, &dialog = *dialog] {
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"Nuevo");
        EXPECT_EQ(ScreenRect(&dialog), ce::CRect(0, 0, kScreenWidth, kScreenHeight));
        const ce::CWnd* form = Pane(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_TRUE(form->IsWindowVisible());
        EXPECT_EQ(ce::GetWindowText(Control(form, kLabel)->m_hWnd), u"Nombre:");
        EXPECT_EQ(ce::GetWindowText(Control(form, kLabel + 15)->m_hWnd), u"Pagina web:");
        for (int id = 0; id < FieldCount; ++id) {
            EXPECT_TRUE(Control(form, kLabel + id)->IsWindowVisible()) << id;
            EXPECT_TRUE(Control(form, kValue + id)->IsWindowVisible()) << id;
            if (id != FieldBirthday) {
                EXPECT_EQ(ce::GetWindowText(Control(form, kValue + id)->m_hWnd), u"") << id;
            }
        }
        ce::SYSTEMTIME time;
        EXPECT_EQ(PickerTime(dialog, time), ce::GDT_NONE);
    });
    dialog.reset();
    EXPECT_EQ(g_currentContact, nullptr);
}

TEST_F(EditViewTest, SixteenRowsWithFieldsAtTemplateHeightAndLinesUnderThem)
{
    auto contact = MakeContact({{FieldName, u"Ana"}, {FieldAddress, std::u16string(120, u'M')}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        const int editHeight = ce::MapDialogUnits(ce::RECT{0, 0, 0, 12}).bottom;
        const int pickerHeight = ce::MapDialogUnits(ce::RECT{0, 0, 0, 14}).bottom;
        const int lineHeight = TextExtent(Control(form, kLabel), u"Ag").cy + 6;
        int y = 10;
        bool wrapped = false;
        for (int id = 0; id < FieldCount; ++id) {
            const ce::CRect label = RectInParent(Control(form, kLabel + id));
            const ce::CRect value = RectInParent(Control(form, kValue + id));
            const ce::CRect line = RectInParent(Control(form, kLine + id));
            EXPECT_EQ(label.top, y) << id;
            EXPECT_EQ(value.top, y) << id;
            EXPECT_EQ(label.left, 2);
            EXPECT_EQ(label.right, 88);
            EXPECT_EQ(value.left, 90);
            EXPECT_EQ(value.right, kValueRight);
            EXPECT_EQ(value.Height(), id == FieldBirthday ? pickerHeight : editHeight) << id;
            EXPECT_EQ(line, ce::CRect(90, value.bottom, kValueRight, value.bottom + 1)) << id;
            EXPECT_EQ(label.Height() % lineHeight, 0) << id;
            if (label.Height() > lineHeight) {
                wrapped = true;
                EXPECT_NE(ce::GetWindowText(Control(form, kLabel + id)->m_hWnd).find(u'\n'), std::u16string::npos);
            }
            y = std::max(label.bottom, value.bottom) + 10;
        }
        // "Direccion oficina:" is wider than the label column.
        EXPECT_TRUE(wrapped);
        // The long address is not broken in its edit field.
        EXPECT_EQ(ce::GetWindowText(Control(form, kValue + FieldAddress)->m_hWnd), std::u16string(120, u'M'));
        EXPECT_EQ(RectInParent(form), ce::CRect(0, 0, kValueRight, y + 10));
    });
}

TEST_F(EditViewTest, EnterSavesAllFifteenTextsAndThePickedBirthday)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    const ce::LRESULT result = RunModal(dialog, [&] {
        FillEveryField(dialog);
        ce::SYSTEMTIME picked = SampleBirthday();
        Picker(dialog)->SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_VALID, reinterpret_cast<ce::LPARAM>(&picked));
        ce::SimulateKey(Control(Pane(dialog), kValue)->m_hWnd, ce::WM_KEYDOWN, ce::VK_RETURN);
    });
    EXPECT_EQ(result, 1);
    ExpectEveryFieldFilled(*contact);
    ce::SYSTEMTIME stored;
    ASSERT_TRUE(ce::COleDateTime(contact->GetField(FieldBirthday)->GetDate()).GetAsSystemTime(stored));
    EXPECT_EQ(stored.wYear, 1975);
    EXPECT_EQ(stored.wMonth, 3);
    EXPECT_EQ(stored.wDay, 7);
    std::u16string text;
    contact->GetField(FieldBirthday)->GetText(text);
    EXPECT_EQ(text, u"19750307");
}

TEST_F(EditViewTest, EditingShowsTheStoredContactAndAPickerLeftWithoutDateClearsTheBirthday)
{
    auto contact = MakeContact({{FieldName, u"王小明"}, {FieldMobile, u"600 123 456"}}, ToDate(SampleBirthday()));
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"王小明");
        EXPECT_EQ(ce::GetWindowText(Control(Pane(dialog), kValue)->m_hWnd), u"王小明");
        EXPECT_EQ(ce::GetWindowText(Control(Pane(dialog), kValue + FieldMobile)->m_hWnd), u"600 123 456");
        ce::SYSTEMTIME time;
        ASSERT_EQ(PickerTime(dialog, time), ce::GDT_VALID);
        EXPECT_EQ(time.wYear, 1975);
        EXPECT_EQ(time.wMonth, 3);
        EXPECT_EQ(time.wDay, 7);

        Picker(dialog)->SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_NONE, 0);
        ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_KEYDOWN, ce::VK_ESCAPE);
    });
    EXPECT_EQ(contact->GetField(FieldBirthday)->GetDate(), 0.0);
    EXPECT_TRUE(contact->GetField(FieldBirthday)->IsEmpty());
}

// Saving never clears what the form could not show.
TEST_F(EditViewTest, FieldsWhoseControlsAreGoneKeepTheirValues)
{
    auto contact = MakeContact({{FieldName, u"Ana"}, {FieldEmail, u"ana@example.com"}}, ToDate(SampleBirthday()));
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        Control(Pane(dialog), kValue + FieldEmail)->DestroyWindow();
        Picker(dialog)->DestroyWindow();
        ce::SetWindowText(Control(Pane(dialog), kValue)->m_hWnd, u"Ana Lopez");
        ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_KEYDOWN, ce::VK_RETURN);
    });
    std::u16string text;
    contact->GetField(FieldName)->GetText(text);
    EXPECT_EQ(text, u"Ana Lopez");
    contact->GetField(FieldEmail)->GetText(text);
    EXPECT_EQ(text, u"ana@example.com");
    EXPECT_EQ(contact->GetField(FieldBirthday)->GetDate(), ToDate(SampleBirthday()));
}

TEST_F(EditViewTest, EveryEndKeySavesAndEndsWithOne)
{
    int round = 0;
    for (const ce::UINT message : {ce::WM_KEYDOWN, ce::WM_CHAR}) {
        for (const ce::WPARAM key : {13, 27, 195}) {
            auto contact = MakeContact({{FieldName, u"Ana"}});
            const std::u16string typed = u"Nombre " + ce::AnsiToWide(std::to_string(++round));
            CContactEditDlg dialog(contact.get(), EditModeEdit);
            const ce::LRESULT result = RunModal(dialog, [&] {
                ce::CWnd* name = Control(Pane(dialog), kValue);
                ce::SetWindowText(name->m_hWnd, typed);
                ce::SimulateKey(name->m_hWnd, message, key);
            });
            EXPECT_EQ(result, 1) << "message " << message << " key " << key;
            std::u16string saved;
            contact->GetField(FieldName)->GetText(saved);
            EXPECT_EQ(saved, typed) << "message " << message << " key " << key;
        }
    }
}

TEST_F(EditViewTest, CloseBoxOfDialogOrCloseOfFormSaves)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    {
        CContactEditDlg dialog(contact.get(), EditModeEdit);
        RunModal(dialog, [&] {
            FillEveryField(dialog);
            dialog.SendMessage(ce::WM_CLOSE);
        });
        ExpectEveryFieldFilled(*contact);
    }
    auto other = MakeContact({{FieldName, u"Bea"}});
    CContactEditDlg dialog(other.get(), EditModeEdit);
    const ce::LRESULT result = RunModal(dialog, [&] {
        ce::SetWindowText(Control(Pane(dialog), kValue + FieldWebPage)->m_hWnd, u"bea.example.com");
        Pane(dialog)->SendMessage(ce::WM_CLOSE);
        dialog.SendMessage(ce::WM_CLOSE);
    });
    EXPECT_EQ(result, ce::IDCANCEL);
    std::u16string web;
    other->GetField(FieldWebPage)->GetText(web);
    EXPECT_EQ(web, u"bea.example.com");
}

// The device has no keys to reach the rows below the screen: the stylus drags the form.
TEST_F(EditViewTest, StylusDragsTheFormButATapDoesNotMoveIt)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        const ce::CWnd* label = Control(form, kLabel + 4);
        const ce::CWnd* web = Control(form, kValue + FieldWebPage);
        const ce::CRect labelRect = ScreenRect(label);
        const ce::CRect webRect = ScreenRect(web);
        ASSERT_GT(webRect.bottom, kScreenHeight);

        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONDOWN, 5, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, 2);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONUP, 5, 2);
        EXPECT_EQ(ScreenRect(label), labelRect);

        const int distance = webRect.bottom - kScreenHeight + 5;
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONDOWN, 5, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, 5 - distance);
        ce::SimulateMouse(web->m_hWnd, ce::WM_LBUTTONUP, 5, 5);
        // The form stops where its last row reaches the bottom of the dialog.
        EXPECT_LE(ScreenRect(web).bottom, kScreenHeight);
        EXPECT_GE(ScreenRect(web).bottom, kScreenHeight - 5);
        EXPECT_EQ(ScreenRect(label).top - labelRect.top, ScreenRect(web).top - webRect.top);
    });
}

TEST_F(EditViewTest, FormAndLabelsAreDrawnOnWhite)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        const ce::ScreenImage screen = ce::GrabScreen();
        const ce::CRect label = ScreenRect(Control(form, kLabel));
        const ce::CRect value = ScreenRect(Control(form, kValue));
        constexpr ce::COLORREF white = ce::RGB(255, 255, 255);
        EXPECT_EQ(screen.Pixel(label.left + 1, label.top + 1), white);
        EXPECT_EQ(screen.Pixel(value.left + 20, value.top - 5), white);
        EXPECT_EQ(screen.Pixel(label.left + 1, value.bottom + 5), white);
        // The gray line under the name field.
        EXPECT_EQ(screen.Pixel(value.left + 5, value.bottom), ce::RGB(128, 128, 128));
    });
}

} // namespace
