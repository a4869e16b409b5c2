#include "dialogs/ContactShowDlg.h"
#include "data/ContactRecord.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/DialogView.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

namespace {

// What an arrow key scrolls; a page key scrolls a screenful less this.
constexpr int kScrollStep = 20;

} // namespace

BEGIN_MESSAGE_MAP(CContactShowDlg, ce::CDialog)
    ON_WM_SIZE()
END_MESSAGE_MAP()

CContactShowDlg::CContactShowDlg(ContactRecord* contact, ce::CWnd* parent)
    : ce::CDialog(IDD_SHOW_DIALOG, parent), contact(contact)
{
    g_currentContact = contact;
}

// The caller deletes the contact next; leave no pointer to it behind.
CContactShowDlg::~CContactShowDlg()
{
    if (g_currentContact == contact)
        g_currentContact = nullptr;
}

ce::BOOL CContactShowDlg::OnInitDialog()
{
    ce::CDialog::OnInitDialog();
    std::u16string caption;
    if (contact)
        contact->GetField(FieldName)->GetText(caption);
    else
        caption = ce::LoadStringW(IDS_CONTACTS);
    SetWindowText(caption);
    MoveWindow(0, 0, 320, 240, ce::TRUE);

    view = static_cast<CDialogView*>(CreateDialogPane(*this, RUNTIME_CLASS(CDialogView)));
    if (view) {
        view->contact = contact;
        view->OnInitialUpdate();
        view->ShowWindow(ce::SW_SHOWNORMAL);
    }
    return ce::TRUE;
}

void CContactShowDlg::OnSize(ce::UINT type, int cx, int cy)
{
    ce::CDialog::OnSize(type, cx, cy);
    FitPane(*this, cx, cy);
}

ce::BOOL CContactShowDlg::PreTranslateMessage(ce::MSG* msg)
{
    if (IsDialogEndKey(*msg)) {
        EndDialog(1);
    } else if (auto* form = dynamic_cast<ce::CFormView*>(GetDlgItem(int(ce::AFX_IDW_PANE_FIRST)))) {
        if (msg->message == ce::WM_KEYDOWN)
            ScrollForKey(*form, ce::UINT(msg->wParam));
        else
            DragForm(*form, *msg);
    }
    return ce::CDialog::PreTranslateMessage(msg);
}

void CContactShowDlg::ScrollForKey(ce::CFormView& form, ce::UINT key)
{
    ce::CRect client;
    GetClientRect(&client);
    const int page = client.Height() - kScrollStep;
    const int y = form.GetScrollPosition().y;
    switch (key) {
    case ce::VK_DOWN: form.ScrollToPosition(ce::CPoint(0, y + kScrollStep)); break;
    case ce::VK_UP: form.ScrollToPosition(ce::CPoint(0, y - kScrollStep)); break;
    case ce::VK_NEXT: form.ScrollToPosition(ce::CPoint(0, y + page)); break;
    case ce::VK_PRIOR: form.ScrollToPosition(ce::CPoint(0, y - page)); break;
    default: break;
    }
}

// Mouse messages come in the coordinates of whichever control lies under the
// stylus, and the controls move while the form scrolls: work on the screen.
void CContactShowDlg::DragForm(ce::CFormView& form, const ce::MSG& msg)
{
    if (msg.message != ce::WM_LBUTTONDOWN && msg.message != ce::WM_MOUSEMOVE && msg.message != ce::WM_LBUTTONUP)
        return;
    ce::POINT point{ce::GET_X_LPARAM(msg.lParam), ce::GET_Y_LPARAM(msg.lParam)};
    ce::ClientToScreen(msg.hwnd, &point);
    if (msg.message == ce::WM_LBUTTONDOWN) {
        dragging = true;
        dragStartY = point.y;
        dragStartScroll = form.GetScrollPosition().y;
    } else if (msg.message == ce::WM_MOUSEMOVE && dragging && (msg.wParam & ce::MK_LBUTTON)) {
        form.ScrollToPosition(ce::CPoint(0, dragStartScroll + dragStartY - point.y));
    } else if (msg.message == ce::WM_LBUTTONUP) {
        dragging = false;
    }
}
