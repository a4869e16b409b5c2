// Dialogs and form views built from the dialog templates of the resource
// script. Template units are dialog units of the device font.
#pragma once
#include "platform/ui/Wnd.h"

namespace ce {

namespace impl {
class ModalLoop;
}

// The style of a view created by CDialog::CreateView.
constexpr DWORD AFX_WS_DEFAULT_VIEW = WS_CHILD;

// Dialog units to pixels with the device font (x * baseX / 4, y * baseY / 8).
RECT MapDialogUnits(const RECT& dialogUnits);
// The device font's dialog base units: cx the average character width, cy
// the character height.
SIZE GetDialogBaseUnits();

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the template's pop-up window with its controls over the device
    // screen, disables the owner (the parent, else the active top-level
    // window), runs WM_INITDIALOG and a modal loop until EndDialog, destroys
    // the window and returns EndDialog's result; -1 when the template or the
    // window cannot be made.
    virtual LRESULT DoModal();
    using CWnd::Create;
    // Modeless creation from the template; TRUE on success.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends the modal loop with this result (the last call's result counts).
    void EndDialog(int nResult);

    // Runs the data exchange (binding DDX_Control members); TRUE sets the
    // focus to the first tab-stop control.
    virtual BOOL OnInitDialog();
    virtual void OnOK();     // EndDialog(IDOK)
    virtual void OnCancel(); // EndDialog(IDCANCEL)
    // Tab moves to the next tab-stop control, Shift+Tab to the previous one
    // (a control of a form view is scrolled into sight); Enter and Escape
    // send IDOK and IDCANCEL unless the dialog is already ending.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Creates the view class that the context names as this dialog's child
    // with the given id (AFX_WS_DEFAULT_VIEW, empty rectangle); the view's
    // WM_CREATE runs inside. Null on failure.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // A dialog destroyed from outside (its owner went) ends its modal loop
    // with IDCANCEL.
    void PostNcDestroy() override;
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    void HandleOK() { OnOK(); }
    void HandleCancel() { OnCancel(); }
    DECLARE_MESSAGE_MAP()

private:
    impl::ModalLoop* modalLoop = nullptr; // while DoModal runs
    int modalResult = -1;
    bool ending = false;
};

// A child window whose controls come from a dialog template, with a scroll
// position: scrolling moves the controls. Taller than the part of it that
// its parent shows, it has a scroll bar at the right of the parent's client
// area and scrolls with the wheel; a control of it that takes the focus is
// first scrolled into sight. A form view deletes itself when its window is
// destroyed.
class CFormView : public CWnd {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT nIDTemplate);
    ~CFormView() override;

    // Creates the template's window as a child with the template's
    // controls (created before WM_CREATE, so OnCreate finds them).
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context = nullptr) override;
    // The default runs the data exchange (UpdateData(FALSE)).
    virtual void OnInitialUpdate();

    // Scrolls the content so that `pt` of the form is at the top left.
    // y is kept between 0 and the point where the last control's bottom
    // reaches the bottom of the part of the view its parent shows; x stays 0.
    void ScrollToPosition(POINT pt);
    CPoint GetScrollPosition() const;

    UINT m_nIDTemplate;

protected:
    void PostNcDestroy() override;
};

} // namespace ce
