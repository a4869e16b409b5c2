#include "DialogTestSupport.h"
#include "platform/core/CodePage.h"
#include "platform/core/OleDate.h"
#include "platform/ui/testing/ScreenGrab.h"
#include <algorithm>
#include <cstdlib>

void DialogTest::SetUpTestSuite()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("CONTACTS_UI_LANGUAGE", "0c0a", 1);
    ce::SetACP(936);
    ce::InitPlatform();
}

std::unique_ptr<ContactRecord> MakeContact(std::initializer_list<std::pair<FieldId, std::u16string>> texts,
                                           ce::DATE birthday)
{
    auto contact = std::make_unique<ContactRecord>();
    contact->LoadLabels();
    for (const auto& [id, text] : texts)
        contact->GetField(id)->SetValue(text, 0.0);
    contact->GetField(FieldBirthday)->SetValue(u"", birthday);
    return contact;
}

ce::LRESULT RunModal(ce::CDialog& dialog, const std::function<void()>& whileOpen)
{
    // The fallback may outlive the dialog in the queue: it ends the dialog
    // only while DoModal has not returned.
    auto returned = std::make_shared<bool>(false);
    ce::PostTask([&dialog, whileOpen, returned] {
        whileOpen();
        ce::PostTask([&dialog, returned] {
            if (!*returned)
                dialog.EndDialog(int(kLeftOpen));
        });
    });
    const ce::LRESULT result = dialog.DoModal();
    *returned = true;
    ce::PumpMessages();
    return result;
}

ce::CWnd* Pane(const ce::CDialog& dialog) { return dialog.GetDlgItem(int(ce::AFX_IDW_PANE_FIRST)); }
ce::CWnd* Control(const ce::CWnd* form, int id) { return form ? form->GetDlgItem(id) : nullptr; }
std::u16string TextOf(const ce::CWnd* form, int id) { return ce::GetWindowText(Control(form, id)->m_hWnd); }

bool Shown(const ce::CWnd* form, int id)
{
    const ce::CWnd* control = Control(form, id);
    return control && control->IsWindowVisible();
}

ce::CRect ScreenRect(const ce::CWnd* wnd)
{
    ce::CRect rect;
    if (wnd)
        wnd->GetWindowRect(&rect);
    return rect;
}

ce::CRect RectInParent(const ce::CWnd* wnd)
{
    ce::CRect rect = ScreenRect(wnd);
    if (const ce::CWnd* parent = wnd ? wnd->GetParent() : nullptr)
        parent->ScreenToClient(&rect);
    return rect;
}

ce::SIZE TextExtent(const ce::CWnd* wnd, const std::u16string& text)
{
    ce::HDC dc = ce::GetDC(wnd->m_hWnd);
    ce::SIZE size{};
    ce::GetTextExtentExPointW(dc, text.c_str(), int(text.size()), -1, nullptr, nullptr, &size);
    ce::ReleaseDC(wnd->m_hWnd, dc);
    return size;
}

int InkIn(const ce::ScreenImage& screen, const ce::CRect& rect)
{
    int ink = 0;
    for (int y = std::max(0, int(rect.top)); y < std::min(screen.height, int(rect.bottom)); ++y)
        for (int x = std::max(0, int(rect.left)); x < std::min(screen.width, int(rect.right)); ++x)
            ink += screen.Pixel(x, y) != kWhite;
    return ink;
}

ce::SYSTEMTIME SampleBirthday()
{
    return ce::SYSTEMTIME{1975, 3, 0, 7, 18, 30, 0, 0};
}

ce::DATE ToDate(const ce::SYSTEMTIME& time) { return ce::COleDateTime(time).m_dt; }
