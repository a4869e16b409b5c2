#include "dialogs/ContactShowDlg.h"
#include "data/ContactRecord.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/DialogView.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

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
    if (IsDialogEndKey(*msg))
        EndDialog(1);
    else if (msg->message == ce::WM_KEYDOWN)
        ScrollFormForKey(*this, ce::UINT(msg->wParam));
    else
        drag.Filter(*this, *msg);
    return ce::CDialog::PreTranslateMessage(msg);
}
