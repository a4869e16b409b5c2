// The modal detail dialog: covers the screen and hosts a CDialogView. A form
// taller than the screen scrolls with the arrow and page keys and by dragging
// the stylus over it.
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
    void ScrollForKey(ce::CFormView& form, ce::UINT key);
    void DragForm(ce::CFormView& form, const ce::MSG& msg);

    CDialogView* view = nullptr;
    ContactRecord* contact;
    bool dragging = false;
    int dragStartY = 0;      // on the screen
    int dragStartScroll = 0; // the form's scroll position then
};
