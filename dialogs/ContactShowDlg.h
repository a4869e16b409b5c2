// The modal detail dialog: covers the screen and hosts a CDialogView.
#pragma once
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
};
