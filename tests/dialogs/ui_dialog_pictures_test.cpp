// Pictures of both dialogs on the device screen, saved in the build tree, with a
// Chinese name and an address long enough to wrap; both are drawn on white.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "platform/ui/testing/ScreenGrab.h"
#include "support/DialogTestSupport.h"

namespace {

using DialogPicturesTest = DialogTest;

std::unique_ptr<ContactRecord> SampleContact()
{
    return MakeContact({{FieldName, u"王小明"},
                        {FieldAddress, u"Calle de Alcalá 123, 4º izquierda, 28009 Madrid, España"},
                        {FieldTelephone, u"914 123 456"},
                        {FieldEmail, u"xiaoming.wang@example.com"},
                        {FieldCompany, u"北京科技有限公司"}},
                       ToDate(SampleBirthday()));
}

const std::string kPictures = std::string(CONTACTS_PICTURES_DIR) + "/";

TEST_F(DialogPicturesTest, DetailDialog)
{
    auto contact = SampleContact();
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        const ce::ScreenImage screen = ce::GrabScreen();
        // The Chinese name and the second line of the wrapped address are drawn.
        EXPECT_GT(InkIn(screen, ScreenRect(Control(form, kName))), 30);
        ce::CRect address = ScreenRect(Control(form, kValue));
        EXPECT_NE(TextOf(form, kValue).find(u'\n'), std::u16string::npos);
        address.top += address.Height() / 2;
        EXPECT_GT(InkIn(screen, address), 10);
        // White form and labels, the black line under the name.
        const ce::CRect label = ScreenRect(Control(form, kLabel)), name = ScreenRect(Control(form, kName));
        EXPECT_EQ(screen.Pixel(label.left + 1, label.top + 1), kWhite);
        EXPECT_EQ(screen.Pixel(1, name.top - 5), kWhite);
        EXPECT_EQ(screen.Pixel(10, kScreenHeight - 5), kWhite);
        EXPECT_EQ(screen.Pixel(ScreenRect(Control(form, kLine)).left + 5, ScreenRect(Control(form, kLine)).top), 0u);
        EXPECT_TRUE(screen.SavePng(kPictures + "dialog-detail.png"));
    });
}

TEST_F(DialogPicturesTest, EditDialog)
{
    auto contact = SampleContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        Control(form, kValue + 1)->SetFocus();
        ce::PumpMessages();
        const ce::ScreenImage screen = ce::GrabScreen();
        const ce::CRect label = ScreenRect(Control(form, kLabel)), value = ScreenRect(Control(form, kValue));
        EXPECT_GT(InkIn(screen, value), 30);
        // White form and labels, the gray line under the field.
        EXPECT_EQ(screen.Pixel(label.left + 1, label.top + 1), kWhite);
        EXPECT_EQ(screen.Pixel(value.left + 20, value.top - 5), kWhite);
        EXPECT_EQ(screen.Pixel(value.left + 5, value.bottom), ce::RGB(128, 128, 128));
        EXPECT_TRUE(screen.SavePng(kPictures + "dialog-edit.png"));
    });
}

} // namespace
