// The read-only form of the detail dialog: the name in bold, a line under it,
// then one label and value row per filled field.
#pragma once
#include "platform/ui/Dialog.h"

class ContactRecord;

class CDialogView : public ce::CFormView {
    DECLARE_MESSAGE_MAP()
    DECLARE_DYNCREATE(CDialogView)
public:
    CDialogView();
    ~CDialogView() override;

    void LayoutControls();

    ContactRecord* contact;

protected:
    int OnCreate(ce::LPCREATESTRUCT create);
    void OnDestroy();
    void OnLButtonDown(ce::UINT flags, ce::CPoint point);
    ce::HBRUSH OnCtlColor(ce::CDC* dc, ce::CWnd* wnd, ce::UINT ctlColor);

private:
    ce::HFONT nameFont = nullptr;
};
