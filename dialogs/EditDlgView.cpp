#include "dialogs/EditDlgView.h"
#include "data/ContactRecord.h"
#include "dialogs/ControlPlacement.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/DialogSupport.h"
#include "platform/core/CodePage.h"
#include "platform/core/OleDate.h"
#include "platform/core/Resources.h"
#include "platform/ui/Sip.h"
#include "res/resource.h"
#include <algorithm>

namespace {

constexpr int ScreenHeight = 240;
// The panel, about 80 pixels high, goes above a field that leaves it less
// room than that below, down to y 230.
constexpr int UsableBottom = 230;
constexpr int PanelHeight = 80;

ce::HWND FindInputPanel() { return ce::FindWindowW(ce::SIP_WINDOW_CLASS, nullptr); }

// Whether the data file's code page keeps a typed character. A code page
// stores every character beyond the basic plane or none, so each half of a
// surrogate pair is judged with a stand-in for the other half.
bool Storable(ce::WPARAM unit)
{
    const auto c = char16_t(unit);
    if (c < 0x80)
        return true;
    if (c >= 0xD800 && c <= 0xDBFF)
        return ce::CanStore(std::u16string{c, u'\xDC00'});
    if (c >= 0xDC00 && c <= 0xDFFF)
        return ce::CanStore(std::u16string{u'\xD800', c});
    return ce::CanStore(std::u16string_view(&c, 1));
}

} // namespace

IMPLEMENT_DYNCREATE(CEditDlgView, ce::CFormView)

BEGIN_MESSAGE_MAP(CEditDlgView, ce::CFormView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_CTLCOLORSTATIC()
    ON_WM_CTLCOLORDLG()
END_MESSAGE_MAP()

CEditDlgView::CEditDlgView() : ce::CFormView(IDD_EDIT_FORM) {}

CEditDlgView::~CEditDlgView() = default;

int CEditDlgView::OnCreate(ce::LPCREATESTRUCT create)
{
    if (ce::CFormView::OnCreate(create) == -1)
        return -1;
    LayoutControls();
    return 0;
}

void CEditDlgView::LayoutControls()
{
    const int right = ce::GetSystemMetrics(ce::SM_CXSCREEN) - ce::GetSystemMetrics(ce::SM_CXHSCROLL) - 10;
    ce::RECT parentRect{};
    if (ce::CWnd* parent = GetParent()) {
        parent->GetClientRect(&parentRect);
        contact = g_currentContact;
    }

    int y = 10;
    if (contact) {
        for (int id = 0; id < FieldCount; ++id) {
            const ContactField* field = contact->GetField(id);
            std::u16string label, value, none;
            field->GetLabel(label);
            field->GetText(value);
            int labelY = y, valueY = y;
            PlaceControl(*this, IDC_LABEL_FIRST + id, label, 2, 88, labelY, PlaceLabel, nullptr);
            PlaceControl(*this, IDC_VALUE_FIRST + id, value, 90, right, valueY, PlaceEdit, nullptr);
            int lineY = valueY - 10;
            PlaceControl(*this, IDC_LINE_FIRST + id, none, 90, right, lineY, PlaceLine, nullptr);
            y = std::max(labelY, valueY);
        }
    }

    if (y > parentRect.bottom)
        MoveWindow(parentRect.left, parentRect.top, right - parentRect.left, y + 10 - parentRect.top, ce::TRUE);
}

void CEditDlgView::DoDataExchange(ce::CDataExchange* dx)
{
    ce::CFormView::DoDataExchange(dx);
    ce::DDX_Control(dx, IDC_BIRTHDAY_PICKER, birthdayPicker);
}

void CEditDlgView::OnInitialUpdate()
{
    ce::CFormView::OnInitialUpdate();

    ce::SIPINFO sip{};
    sip.cbSize = sizeof(sip);
    ce::SipGetInfo(&sip);
    sip.fdwFlags = ce::SIPF_ON;
    sip.rcSipRect.top = 0;
    sip.rcSipRect.bottom = 0;
    ce::SipSetInfo(&sip);

    const ce::DATE birthday = contact ? contact->GetField(FieldBirthday)->GetDate() : 0.0;
    ce::SYSTEMTIME time{};
    if (birthday != 0.0 && ce::COleDateTime(birthday).GetAsSystemTime(time))
        birthdayPicker.SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_VALID, reinterpret_cast<ce::LPARAM>(&time));
    else
        birthdayPicker.SendMessage(ce::DTM_SETSYSTEMTIME, ce::GDT_NONE, 0);
}

ce::BOOL CEditDlgView::OnCommand(ce::WPARAM wParam, ce::LPARAM lParam)
{
    if (ce::HIWORD(wParam) == ce::EN_SETFOCUS) {
        EndRefusal();
        if (ce::CWnd* field = GetDlgItem(ce::LOWORD(wParam))) {
            ce::RECT rc{};
            field->GetWindowRect(&rc);
            if (rc.top < 0 || rc.bottom > ScreenHeight) {
                // Scroll from where the form stands now, so the field lands
                // 10 pixels below the visible top however far it was scrolled.
                ScreenToClient(&rc);
                ScrollToPosition(ce::CPoint(0, GetScrollPosition().y + rc.top - 10));
                field->GetWindowRect(&rc);
            }
            const int panelTop = UsableBottom - rc.bottom < PanelHeight ? rc.top - 120 : rc.bottom + 10;
            ShowInputPanelNear(40, panelTop);
        }
    }
    return ce::CFormView::OnCommand(wParam, lParam);
}

void CEditDlgView::ShowInputPanelNear(int x, int y)
{
    const ce::HWND panel = FindInputPanel();
    if (!panel)
        return;
    ce::RECT rc{};
    ce::GetWindowRect(panel, &rc);
    ce::ShowWindow(panel, ce::SW_SHOW);
    ce::MoveWindow(panel, x, y, rc.right - rc.left, rc.bottom - rc.top, ce::TRUE);
}

void CEditDlgView::HideInputPanel()
{
    if (const ce::HWND panel = FindInputPanel())
        ce::ShowWindow(panel, ce::SW_HIDE);
}

void CEditDlgView::SaveFields()
{
    if (!contact)
        return;
    // A field whose control is missing, or a picker that gives no answer,
    // keeps what the contact holds: nothing is cleared that was not shown.
    for (int id = 0; id < FieldCount; ++id) {
        ce::CWnd* control = GetDlgItem(IDC_VALUE_FIRST + id);
        if (id == FieldBirthday || !control)
            continue;
        std::u16string text;
        control->GetWindowText(text);
        contact->GetField(id)->SetValue(std::move(text), 0.0);
    }

    if (!birthdayPicker.GetSafeHwnd())
        return;
    ce::SYSTEMTIME time{};
    const ce::LRESULT answer =
        birthdayPicker.SendMessage(ce::DTM_GETSYSTEMTIME, 0, reinterpret_cast<ce::LPARAM>(&time));
    if (answer == ce::GDT_NONE) {
        contact->GetField(FieldBirthday)->SetValue(u"", 0.0);
    } else if (answer == ce::GDT_VALID) {
        const ce::COleDateTime picked(time);
        if (picked.GetStatus() == ce::COleDateTime::valid)
            contact->GetField(FieldBirthday)->SetValue(u"", picked.m_dt);
    }
}

void CEditDlgView::Refuse(char16_t unit)
{
    ce::CWnd* dialog = GetParent();
    if (!dialog)
        return;
    if (refused.empty())
        dialog->GetWindowText(captionBeforeRefusal);
    refused.push_back(unit);
    dialog->SetWindowText(ce::LoadStringW(IDS_NOT_STORABLE) + u" " + refused);
}

void CEditDlgView::EndRefusal()
{
    if (refused.empty())
        return;
    refused.clear();
    if (ce::CWnd* dialog = GetParent())
        dialog->SetWindowText(captionBeforeRefusal);
}

ce::BOOL CEditDlgView::PreTranslateMessage(ce::MSG* msg)
{
    if (msg->message == ce::WM_CHAR && !Storable(msg->wParam)) {
        Refuse(char16_t(msg->wParam));
        return ce::TRUE;
    }
    // In the fields, the character 195 is the letter A with tilde; the
    // device key 195 comes as a key press.
    const bool typedLetter = msg->message == ce::WM_CHAR && msg->wParam == 195;
    if (IsDialogEndKey(*msg) && !typedLetter) {
        SaveFields();
        ce::EndDialog(ce::GetParent(m_hWnd), 1);
    }
    return ce::CFormView::PreTranslateMessage(msg);
}

void CEditDlgView::OnClose()
{
    SaveFields();
    ce::CFormView::OnClose();
}

void CEditDlgView::OnDestroy()
{
    ce::CFormView::OnDestroy();
    HideInputPanel();
}

ce::HBRUSH CEditDlgView::OnCtlColor(ce::CDC* dc, ce::CWnd*, ce::UINT) { return WhiteFormBrush(dc); }
