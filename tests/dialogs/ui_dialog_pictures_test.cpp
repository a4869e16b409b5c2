// Pictures of both dialogs on the device screen, saved under docs/, with a
// Chinese name and an address long enough to wrap.
#include "dialogs/ContactEditDlg.h"
#include "dialogs/ContactShowDlg.h"
#include "support/DialogTestSupport.h"
#include <vector>

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

// Every shown control of the form lies within the screen's width, and no two
// of them overlap.
void ExpectNothingOverlaps(const ce::CWnd* form)
{
    std::vector<std::pair<int, ce::CRect>> shown;
    for (ce::HWND child = ce::GetWindow(form->m_hWnd, ce::GW_CHILD); child;
         child = ce::GetWindow(child, ce::GW_HWNDNEXT)) {
        if (!ce::IsWindowVisible(child))
            continue;
        ce::CRect rect;
        ce::GetWindowRect(child, &rect);
        EXPECT_GE(rect.left, 0) << ce::GetDlgCtrlID(child);
        EXPECT_LE(rect.right, kScreenWidth) << ce::GetDlgCtrlID(child);
        shown.emplace_back(ce::GetDlgCtrlID(child), rect);
    }
    ASSERT_GT(shown.size(), 8u);
    for (std::size_t i = 0; i < shown.size(); ++i)
        for (std::size_t j = i + 1; j < shown.size(); ++j) {
            ce::RECT common;
            EXPECT_FALSE(ce::IntersectRect(&common, &shown[i].second, &shown[j].second))
                << shown[i].first << " overlaps " << shown[j].first;
        }
}

// Pixels that are not white inside the rectangle.
int InkIn(const ce::ScreenImage& screen, const ce::CRect& rect)
{
    int ink = 0;
    for (int y = std::max(0, int(rect.top)); y < std::min(screen.height, int(rect.bottom)); ++y)
        for (int x = std::max(0, int(rect.left)); x < std::min(screen.width, int(rect.right)); ++x)
            ink += screen.Pixel(x, y) != ce::RGB(255, 255, 255);
    return ink;
}

const std::string kDocs = std::string(CONTACTS_SOURCE_DIR) + "/docs/";

TEST_F(DialogPicturesTest, DetailDialog)
{
    auto contact = SampleContact();
    CContactShowDlg dialog(contact.get());
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        ExpectNothingOverlaps(form);
        const ce::ScreenImage screen = ce::GrabScreen();
        // The Chinese name and the second line of the wrapped address are drawn.
        EXPECT_GT(InkIn(screen, ScreenRect(Control(form, 1000))), 30);
        const ce::CRect address = ScreenRect(Control(form, 1040));
        EXPECT_NE(ce::GetWindowText(Control(form, 1040)->m_hWnd).find(u'\n'), std::u16string::npos);
        EXPECT_GT(InkIn(screen, ce::CRect(address.left, address.top + address.Height() / 2, address.right,
                                          address.bottom)),
                  10);
        EXPECT_TRUE(screen.SavePng(kDocs + "dialog-detail.png"));
    });
}

TEST_F(DialogPicturesTest, EditDialog)
{
    auto contact = SampleContact();
    CContactEditDlg dialog(contact.get(), EditModeEdit);
    RunModal(dialog, [&] {
        const ce::CWnd* form = Pane(dialog);
        ExpectNothingOverlaps(form);
        Control(form, 1041)->SetFocus();
        ce::PumpMessages();
        const ce::ScreenImage screen = ce::GrabScreen();
        EXPECT_GT(InkIn(screen, ScreenRect(Control(form, 1040))), 30);
        EXPECT_TRUE(screen.SavePng(kDocs + "dialog-edit.png"));
    });
}

} // namespace
