// The modal edit dialog for a new or an existing contact: covers the screen
// and hosts a CEditDlgView. Every way out stores the input in the contact.
// The stylus drags the form to reach the rows below the screen.
#pragma once
#include "dialogs/DialogSupport.h"
#include "platform/ui/Dialog.h"

class CEditDlgView;
class ContactRecord;

enum EditMode {
    EditModeNew = 1,
    EditModeEdit = 2,
};

class CContactEditDlg : public ce::CDialog {
    DECLARE_MESSAGE_MAP()
public:
    // contact is required and not owned; mode only chooses the caption.
    CContactEditDlg(ContactRecord* contact, EditMode mode, ce::CWnd* parent = nullptr);
    ~CContactEditDlg() override;

    ce::BOOL PreTranslateMessage(ce::MSG* msg) override;
    ce::BOOL OnInitDialog() override;

protected:
    void OnSize(ce::UINT type, int cx, int cy);
    void OnClose();

private:
    EditMode mode;
    CEditDlgView* view = nullptr;
    ContactRecord* contact;
    FormDrag drag;
};
