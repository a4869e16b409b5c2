// Frame windows and the control bars docked along their top edge.
#pragma once
#include "platform/ui/Menu.h"
#include "platform/ui/Wnd.h"
#include <string>

namespace ce {

// Control bar styles. A bar keeps them apart from its window style
// (GetBarStyle); the window gets the style without them.
constexpr DWORD CBRS_FLOATING = 0x0001;
constexpr DWORD CBRS_SIZE_FIXED = 0x0002;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM; // 0x2800
constexpr DWORD CBRS_ALL = 0x0040FFFF;

// Frame style: the title is the frame's string resource.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// The framework's quit command ("Salir"): closes the main frame.
constexpr UINT ID_APP_EXIT = 0xE141;

// A bar that its frame stacks at the top of its client area, in creation
// order, above the pane AFX_IDW_PANE_FIRST. WM_COMMAND messages that the bar
// does not handle itself go on to its parent, the frame.
class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style & CBRS_ALL; }
    // The bar's size when docked. The default keeps the window's height.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    // F10, or a key pressed with Alt, while the frame has the keyboard: a bar
    // with a menu opens it. TRUE when the key was the bar's.
    virtual BOOL OnMenuKey(UINT key) { (void)key; return FALSE; }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // Creates the window: the CBRS_ bits of style become the bar style, the
    // rest the window style.
    BOOL CreateBar(LPCWSTR className, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    DWORD m_dwStyle = 0;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    // Creates the frame as a top-level window over the whole device screen,
    // titled with string resource `id` unless PreCreateWindow names it
    // otherwise, and lays out its bars. The frame deletes itself when its
    // window is destroyed, except when the creation itself fails: then the
    // caller still owns the object. TRUE on success.
    virtual BOOL LoadFrame(UINT id, DWORD defaultStyle = FWS_ADDTOTITLE, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    // Places the control bars (CBRS_ALIGN_TOP, in creation order) from the
    // top of the client area and gives the pane AFX_IDW_PANE_FIRST the rest;
    // neighbours overlap by one row, so their edge lines show as one.
    virtual void RecalcLayout(BOOL notify = TRUE);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;
    // Offers F10 and keys pressed with Alt to the control bars first.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnSetFocus(CWnd* oldWnd);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    void OnAppExit();
    DECLARE_MESSAGE_MAP()

    std::u16string m_strTitle;

private:
    bool inLoadFrame = false;
};

} // namespace ce
