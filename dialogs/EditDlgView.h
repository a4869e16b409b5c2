// The form of the edit dialog: a label, an edit field (a date picker for the
// birthday) and a gray line for each of the sixteen fields, with the soft
// input panel kept beside the field being typed into.
#pragma once
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class ContactRecord;

class CEditDlgView : public ce::CFormView {
    DECLARE_MESSAGE_MAP()
    DECLARE_DYNCREATE(CEditDlgView)
public:
    CEditDlgView();
    ~CEditDlgView() override;

    ce::BOOL OnCommand(ce::WPARAM wParam, ce::LPARAM lParam) override;
    void DoDataExchange(ce::CDataExchange* dx) override;
    ce::BOOL PreTranslateMessage(ce::MSG* msg) override;
    void OnInitialUpdate() override;

    void LayoutControls();
    // Writes every control back into the contact.
    void SaveFields();
    void ShowInputPanelNear(int x, int y);
    void HideInputPanel();

    ce::CDateTimeCtrl birthdayPicker;
    ContactRecord* contact = nullptr;

protected:
    int OnCreate(ce::LPCREATESTRUCT create);
    void OnDestroy();
    void OnClose();
    ce::HBRUSH OnCtlColor(ce::CDC* dc, ce::CWnd* wnd, ce::UINT ctlColor);
};
