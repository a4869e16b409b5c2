#include "dialogs/ContactEditDlg.h"
#include "data/ContactRecord.h"
#include "dialogs/CurrentContact.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/EditDlgView.h"
#include "platform/core/Resources.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CContactEditDlg, ce::CDialog)
    ON_WM_SIZE()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CContactEditDlg::CContactEditDlg(ContactRecord* contact, EditMode mode, ce::CWnd* parent)
    : ce::CDialog(IDD_EDIT_DIALOG, parent), mode(mode), contact(contact)
{
    g_currentContact = contact;
}

// The caller deletes or hands on the contact next; leave no pointer to it behind.
CContactEditDlg::~CContactEditDlg()
{
    if (g_currentContact == contact)
        g_currentContact = nullptr;
}

ce::BOOL CContactEditDlg::OnInitDialog()
{
    ce::CDialog::OnInitDialog();
    std::u16string caption;
    if (mode == EditModeEdit && contact)
        contact->GetField(FieldName)->GetText(caption);
    else
        caption = ce::LoadStringW(IDS_NEW_CONTACT);
    SetWindowText(caption);
    MoveWindow(0, 0, 320, 240, ce::TRUE);

    view = static_cast<CEditDlgView*>(CreateDialogPane(*this, RUNTIME_CLASS(CEditDlgView)));
    if (view) {
        view->OnInitialUpdate();
        view->ShowWindow(ce::SW_SHOWNORMAL);
    }
    return ce::TRUE;
}

void CContactEditDlg::OnSize(ce::UINT type, int cx, int cy)
{
    ce::CDialog::OnSize(type, cx, cy);
    FitPane(*this, cx, cy);
}

ce::BOOL CContactEditDlg::PreTranslateMessage(ce::MSG* msg)
{
    drag.Filter(*this, *msg);
    return ce::CDialog::PreTranslateMessage(msg);
}

// The form is looked up: closing it may have destroyed it already.
void CContactEditDlg::OnClose()
{
    if (auto* form = dynamic_cast<CEditDlgView*>(DialogForm(*this)))
        form->SaveFields();
    ce::CDialog::OnClose();
}
