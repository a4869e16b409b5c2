// The form of the edit dialog: a label, an edit field (a date picker for the
// birthday) and a gray line for each of the sixteen fields, with the soft
// input panel kept beside the field being typed into. A typed character that
// the data file's code page cannot store is refused, and the dialog's
// caption names it until another field takes the focus.
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

private:
    void Refuse(char16_t unit);
    void EndRefusal();
    std::u16string refused; // the characters the caption names
    std::u16string captionBeforeRefusal;

protected:
    int OnCreate(ce::LPCREATESTRUCT create);
    void OnDestroy();
    void OnClose();
    ce::HBRUSH OnCtlColor(ce::CDC* dc, ce::CWnd* wnd, ce::UINT ctlColor);
};
