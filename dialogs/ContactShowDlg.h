// The modal detail dialog: covers the screen and hosts a CDialogView. A form
// taller than the screen scrolls with the arrow and page keys and by dragging
// the stylus over it.
#pragma once
#include "dialogs/DialogSupport.h"
#include "platform/ui/Dialog.h"

class CDialogView;
class ContactRecord;

class CContactShowDlg : public ce::CDialog {
    DECLARE_MESSAGE_MAP()
public:
    // contact may be null; it is not owned.
    explicit CContactShowDlg(ContactRecord* contact, ce::CWnd* parent = nullptr);
    ~CContactShowDlg() override;

    ce::BOOL PreTranslateMessage(ce::MSG* msg) override;
    ce::BOOL OnInitDialog() override;

protected:
    void OnSize(ce::UINT type, int cx, int cy);

private:
    CDialogView* view = nullptr;
    ContactRecord* contact;
    FormDrag drag;
};
