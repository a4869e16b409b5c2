#include "DialogTestSupport.h"
#include "platform/core/OleDate.h"
#include "platform/ui/testing/SimulatedInput.h"

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

std::unique_ptr<ContactRecord> FilledContact()
{
    return MakeContact({{FieldName, u"王小明"}, {FieldAddress, u"Calle de Alcalá 123"}, {FieldTelephone, u"914 123 456"},
                        {FieldMobile, u"600 123 456"}, {FieldFax, u"914 123 457"}, {FieldEmail, u"xiaoming@example.com"},
                        {FieldCompany, u"北京科技"}, {FieldJobTitle, u"Ingeniero"}, {FieldDepartment, u"I+D"},
                        {FieldOfficeAddress, u"Gran Via 1"}, {FieldOfficeTelephone, u"915 000 000"},
                        {FieldOfficeFax, u"915 000 001"}, {FieldEmail2, u"wang@example.org"},
                        {FieldEmail3, u"w@example.net"}, {FieldWebPage, u"www.example.com"}},
                       ToDate(SampleBirthday()));
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
                dialog.EndDialog(int(LeftOpen));
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

ce::HWND InputPanel() { return ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr); }

ce::POINT KeyCentre(int column, int row)
{
    ce::CRect panel;
    ce::GetWindowRect(InputPanel(), &panel);
    const int width = panel.Width() / 10, height = panel.Height() / 5;
    return {panel.left + column * width + width / 2, panel.top + row * height + height / 2};
}

void TapKey(int column, int row)
{
    const ce::POINT at = KeyCentre(column, row);
    ce::SimulateTap(at.x, at.y);
    ce::PumpMessages();
}

ce::SYSTEMTIME SampleBirthday() { return ce::SYSTEMTIME{1975, 3, 0, 7, 18, 30, 0, 0}; }

ce::DATE ToDate(const ce::SYSTEMTIME& time) { return ce::COleDateTime(time).m_dt; }
