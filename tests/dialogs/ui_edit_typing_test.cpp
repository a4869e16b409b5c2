// What the edit fields take from the keyboard, the input panel and input
// methods: a character the data file's code page cannot store is refused as
// it is typed, and the caption names it until another field takes the focus.
#include "dialogs/ContactEditDlg.h"
#include "platform/core/CodePage.h"
#include "platform/ui/testing/SimulatedInput.h"
#include "support/DialogTestSupport.h"

namespace {

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
    EXPECT_EQ(result, LeftOpen) << "nothing typed ended the dialog";
}

} // namespace
