// The edit dialog and its form: the stored contact shown, saving on every
// way out, what the fields take from the keyboard and input methods, the
// stylus dragging the form and the birthday's calendar.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/EditDlgView.h"
#include "platform/core/CodePage.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"
#include "tests/data/support/DataFixture.h"

namespace {

using EditViewTest = DialogTest;
using ::TextOf; // of a control, beside the contact's
using testdata::TextOf;

ce::CWnd* Picker(const ce::CDialog& dialog) { return Control(Pane(dialog), IDC_BIRTHDAY_PICKER); }

// The birthday picker's day as yyyymmdd; 0 without a date.
int PickedDay(const ce::CDialog& dialog)
{
    ce::SYSTEMTIME time{};
    const ce::LRESULT valid = Picker(dialog)->SendMessage(ce::DTM_GETSYSTEMTIME, 0, reinterpret_cast<ce::LPARAM>(&time));
    return valid == ce::GDT_VALID ? time.wYear * 10000 + time.wMonth * 100 + time.wDay : 0;
}

TEST_F(EditViewTest, EditingShowsTheStoredContactAndAPickerWithoutDateClearsTheBirthday)
{
    auto contact = MakeContact({{FieldName, u"王小明"}, {FieldMobile, u"600 123 456"}}, ToDate(SampleBirthday()));
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        EXPECT_EQ(TextOf(Pane(dialog), IDC_VALUE_FIRST), u"王小明");
        EXPECT_EQ(TextOf(Pane(dialog), IDC_VALUE_FIRST + FieldMobile), u"600 123 456");
        Picker(dialog)->SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_NONE, 0);
        ce::SimulateKey(Pane(dialog)->m_hWnd, ce::WM_KEYDOWN, ce::VK_ESCAPE);
    });
    EXPECT_EQ(contact->GetField(FieldBirthday)->GetDate(), 0.0);
    EXPECT_TRUE(contact->GetField(FieldBirthday)->IsEmpty());
}

// Enter and Escape, as key or character, the device key and the close box
// all save; so does closing the form. The dialog leaves no pointer to the
// contact behind.
TEST_F(EditViewTest, EveryWayOutSavesAllFifteenTextsAndThePickedBirthday)
{
    const std::pair<ce::UINT, ce::WPARAM> ways[] = {{ce::WM_KEYDOWN, 13}, {ce::WM_KEYDOWN, 27}, {ce::WM_KEYDOWN, 195},
                                                    {ce::WM_CHAR, 13},    {ce::WM_CHAR, 27},    {ce::WM_CLOSE, 0}};
    const auto filled = FilledContact();
    for (const auto& [message, key] : ways) {
        SCOPED_TRACE(testing::Message() << message << " " << key);
        auto contact = MakeContact({{FieldName, u"Ana"}});
        CContactEditDlg dialog(contact.get(), EditModeEdit);
        const ce::LRESULT result = RunModal(dialog, [&] {
            for (FieldId id = 0; id < FieldCount; ++id)
                if (id != FieldBirthday)
                    ce::SetWindowText(Control(Pane(dialog), IDC_VALUE_FIRST + id)->m_hWnd, FilledText(id));
            ce::SYSTEMTIME picked = SampleBirthday();
            Picker(dialog)->SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_VALID, reinterpret_cast<ce::LPARAM>(&picked));
            if (message == ce::WM_CLOSE)
                dialog.SendMessage(ce::WM_CLOSE);
            else
                ce::SimulateKey(Control(Pane(dialog), IDC_VALUE_FIRST)->m_hWnd, message, key);
        });
        EXPECT_EQ(result, message == ce::WM_CLOSE ? ce::IDCANCEL : 1);
        EXPECT_TRUE(contact->HasSameValues(*filled));
        EXPECT_EQ(TextOf(*contact, FieldBirthday), u"19750307");
    }

    auto contact = MakeContact({{FieldName, u"Bea"}});
    {
        CContactEditDlg dialog(contact.get(), EditModeEdit);
        RunModal(dialog, [&] {
            ce::SetWindowText(Control(Pane(dialog), IDC_VALUE_FIRST + FieldWebPage)->m_hWnd, u"bea.example.com");
            Pane(dialog)->SendMessage(ce::WM_CLOSE);
            dialog.SendMessage(ce::WM_CLOSE);
        });
    }
    EXPECT_EQ(TextOf(*contact, FieldWebPage), u"bea.example.com");
    EXPECT_EQ(g_currentContact, nullptr);
}

// Bytes of the file that the code page cannot decode survive an edit of
// another field of the contact.
TEST_F(EditViewTest, KeptUndecodableBytesSurviveEditingAnotherField)
{
    const std::u16string kept(1, ce::UndecodableByteUnit(0xFF));
    const std::u16string name = u"Ana" + kept, address = kept + u" Calle";
    auto contact = MakeContact({{FieldName, name}, {FieldAddress, address}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        Control(Pane(dialog), IDC_VALUE_FIRST + FieldMobile)->SetFocus();
        for (char16_t c : std::u16string(u"600"))
            ce::DeliverKeyStroke(c, c);
        ce::DeliverKeyStroke(ce::VK_RETURN, 13);
    });
    EXPECT_EQ(TextOf(*contact, FieldName), name);
    EXPECT_EQ(TextOf(*contact, FieldAddress), address);
    EXPECT_EQ(TextOf(*contact, FieldMobile), u"600");
}

// A character the data file's code page cannot store is refused as it is
// typed, and the caption names it until another field takes the focus.
class EditTypingTest : public DialogTest {
protected:
    void TearDown() override { ce::SetACP(936); }
};

void Type(const ce::CWnd* field, const std::u16string& text)
{
    for (char16_t c : text)
        ce::SimulateKey(field->m_hWnd, ce::WM_CHAR, c);
}

TEST_F(EditTypingTest, WhatTheCodePageCannotStoreIsRefusedAndNamedInTheCaption)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    const ce::LRESULT result = RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        ce::CWnd* name = Control(form, IDC_VALUE_FIRST + FieldName);
        ce::CWnd* address = Control(form, IDC_VALUE_FIRST + FieldAddress);
        name->SetFocus();
        ce::PumpMessages();
        ce::SetWindowText(name->m_hWnd, u"");

        // Under 936: ñ, Ukrainian yi and a character beyond the basic plane
        // (both halves) are refused; é, ü, Cyrillic and Chinese are kept.
        Type(name, u"Nu\u00f1ez \u0457\U00020BB7 Jos\u00e9 M\u00fcller \u0416 \u738b");
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST + FieldName), u"Nuez  Jos\u00e9 M\u00fcller \u0416 \u738b");
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"El archivo de datos no admite: \u00f1\u0457\U00020BB7");

        // Input method text takes the same way.
        ce::SimulateInputMethod(u"\u00f1a");
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST + FieldName), u"Nuez  Jos\u00e9 M\u00fcller \u0416 \u738ba");
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"El archivo de datos no admite: \u00f1\u0457\U00020BB7\u00f1");

        // The next field gets the caption back; under 1252 the same field
        // keeps ñ and refuses Chinese.
        address->SetFocus();
        ce::PumpMessages();
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"Ana");
        ce::SetACP(1252);
        Type(address, u"Ca\u00f1o \u738b");
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST + FieldAddress), u"Ca\u00f1o ");
        EXPECT_EQ(ce::GetWindowText(dialog.m_hWnd), u"El archivo de datos no admite: \u738b");

        // The letter A with tilde (195, the device key's number) is typed and
        // does not end the dialog.
        Type(address, u"\u00c3");
        EXPECT_EQ(TextOf(form, IDC_VALUE_FIRST + FieldAddress), u"Ca\u00f1o \u00c3");
    });
    EXPECT_EQ(result, ce::IDCANCEL) << "nothing typed ended the dialog: it was closed after";
}

// The device has no keys to reach the rows below the screen: the stylus drags the form.
TEST_F(EditViewTest, StylusDragsTheFormButATapDoesNotMoveIt)
{
    auto contact = MakeContact({{FieldName, u"Ana"}});
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* label = Control(Pane(dialog), IDC_LABEL_FIRST + 4);
        const ce::CWnd* web = Control(Pane(dialog), IDC_VALUE_FIRST + FieldWebPage);
        const ce::CRect labelRect = ScreenRect(label);
        const int distance = ScreenRect(web).bottom - ScreenHeight + 5;
        ASSERT_GT(distance, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONDOWN, 5, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, 2);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONUP, 5, 2);
        EXPECT_EQ(ScreenRect(label), labelRect);
        ce::SimulateMouse(label->m_hWnd, ce::WM_LBUTTONDOWN, 5, 5);
        ce::SimulateMouse(label->m_hWnd, ce::WM_MOUSEMOVE, 5, 5 - distance);
        ce::SimulateMouse(web->m_hWnd, ce::WM_LBUTTONUP, 5, 5);
        // The form stops where its last row reaches the bottom of the dialog.
        EXPECT_LE(ScreenRect(web).bottom, ScreenHeight);
        EXPECT_GE(ScreenRect(web).bottom, ScreenHeight - 5);
    });
}

// The birthday's calendar in two languages: it drops down inside the screen
// with six week rows and the language's words, answers taps, and a tap
// outside or on a day closes only the calendar.
TEST_F(EditViewTest, BirthdayCalendarByKeysAndPointerInSpanishAndChinese)
{
    struct Language {
        const char* id;
        const char16_t* march2026;
        const char16_t* april2026;
        const char* picture;
    };
    const Language languages[] = {{"0c0a", u"marzo de 2026", u"abril de 2026", "calendar-es"},
                                  {"0804", u"2026年3月", u"2026年4月", "calendar-zh"}};
    for (const Language& language : languages) {
        SCOPED_TRACE(language.id);
        const uiharness::InterfaceLanguage speaking(language.id);
        ASSERT_NE(speaking.module, nullptr);
        auto contact = MakeContact({{FieldName, u"Ana"}}, ToDate(ce::SYSTEMTIME{2026, 3, 0, 7, 18, 30, 0, 0}));
        CContactEditDlg dialog(contact.get(), EditModeEdit);
        RunModal(dialog, [&] {
            ce::CWnd* picker = Picker(dialog);
            auto calendar = [&] { return ce::HWND(picker->SendMessage(ce::DTM_GETMONTHCAL)); };
            auto title = [&] { return ce::GetWindowText(calendar()); };
            auto stillOpen = [&] {
                EXPECT_EQ(calendar(), nullptr);
                EXPECT_TRUE(ce::IsWindow(dialog.m_hWnd)) << "the dialog stays open";
                EXPECT_EQ(ce::GetFocus(), picker->m_hWnd) << "the focus is back on the field";
            };

            // A tap on the date opens it inside the screen; the sixth row holds the 30th and 31st.
            ce::SimulateMouse(picker->m_hWnd, ce::WM_LBUTTONDOWN, 60, 6);
            ce::SimulateMouse(picker->m_hWnd, ce::WM_LBUTTONUP, 60, 6);
            ASSERT_NE(calendar(), nullptr);
            ce::CRect onScreen, client;
            ce::GetWindowRect(calendar(), &onScreen);
            ce::GetClientRect(calendar(), &client);
            EXPECT_TRUE(onScreen.left >= 0 && onScreen.top >= 0 && onScreen.right <= ScreenWidth &&
                        onScreen.bottom <= ScreenHeight);
            EXPECT_EQ(title(), language.march2026);
            const int column = client.Width() / 7;
            for (ce::UINT day = 0; day < 7; ++day) {
                const std::u16string heading = ce::LoadStringW(61212 + day);
                EXPECT_FALSE(heading.empty());
                EXPECT_LE(uiharness::TextExtent(calendar(), heading).cx, column - 2) << "heading " << day;
            }
            EXPECT_TRUE(uiharness::SavePicture(language.picture));
            // The arrows change the month; a tap outside only closes.
            ce::SimulateMouse(calendar(), ce::WM_LBUTTONDOWN, client.right - 5, 5);
            EXPECT_EQ(title(), language.april2026);
            ce::SimulateMouse(calendar(), ce::WM_LBUTTONDOWN, 5, 5);
            EXPECT_EQ(title(), language.march2026);
            ASSERT_LT(onScreen.right, ScreenWidth - 4);
            ce::SimulateTap(ScreenWidth - 2, onScreen.top + 5);
            stillOpen();
            EXPECT_EQ(PickedDay(dialog), 20260307);
            // A tap on the second day of the sixth row picks 31 March.
            ce::SimulateMouse(picker->m_hWnd, ce::WM_LBUTTONDOWN, 60, 6);
            ce::SimulateMouse(calendar(), ce::WM_LBUTTONDOWN, column + column / 2, client.bottom - 4);
            ce::SimulateMouse(calendar(), ce::WM_LBUTTONUP, column + column / 2, client.bottom - 4);
            stillOpen();
            EXPECT_EQ(PickedDay(dialog), 20260331);

            ce::DeliverKeyStroke(ce::VK_RETURN, 13); // in the field, Return ends the dialog
        });
        // The picked day keeps the birthday's time of day.
        EXPECT_EQ(contact->GetField(FieldBirthday)->GetDate(), ToDate(ce::SYSTEMTIME{2026, 3, 0, 31, 18, 30, 0, 0}));
    }
}

} // namespace
