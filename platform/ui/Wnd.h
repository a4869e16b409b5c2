// The framework's object model (run-time classes, message maps, command
// routing) and its window class CWnd.
#pragma once
#include "platform/ui/Gdi.h"
#include "platform/ui/WinDef.h"
#include "platform/ui/WinUser.h"
#include <string>

namespace ce {

class CObject;
class CCmdTarget;
class CWnd;
class CMenu;
class CDataExchange;
struct CCreateContext;

// ---------------------------------------------------------------------------
// Run-time classes

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();              // null: not dynamically creatable
    const CRuntimeClass* (*m_pfnGetBaseClass)(); // null for CObject

    // A new object of the class, or null when it is not creatable.
    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    static const CRuntimeClass* GetThisClass();
    virtual const CRuntimeClass* GetRuntimeClass() const;
    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(theClass) (theClass::GetThisClass())

#define DECLARE_DYNAMIC(theClass)                                                                  \
public:                                                                                            \
    static const ::ce::CRuntimeClass* GetThisClass();                                              \
    const ::ce::CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(theClass)                                                                \
    DECLARE_DYNAMIC(theClass)                                                                      \
    static ::ce::CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, creator)                                   \
    const ::ce::CRuntimeClass* theClass::GetThisClass()                                            \
    {                                                                                              \
        static const ::ce::CRuntimeClass record{#theClass, int(sizeof(theClass)), creator,         \
                                                &baseClass::GetThisClass};                         \
        return &record;                                                                            \
    }                                                                                              \
    const ::ce::CRuntimeClass* theClass::GetRuntimeClass() const { return GetThisClass(); }

#define IMPLEMENT_DYNAMIC(theClass, baseClass) AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, nullptr)

#define IMPLEMENT_DYNCREATE(theClass, baseClass)                                                   \
    ::ce::CObject* theClass::CreateObject() { return new theClass; }                               \
    AFX_IMPLEMENT_RUNTIMECLASS(theClass, baseClass, &theClass::CreateObject)

// ---------------------------------------------------------------------------
// Message maps

// What a message-map handler receives. For WM_COMMAND entries wParam is the
// command id; for WM_NOTIFY entries wParam is the control id and extra the
// AFX_NOTIFY.
struct AFX_MSGARGS {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    void* extra = nullptr;
};
using AFX_PMSG = LRESULT (*)(CCmdTarget* target, const AFX_MSGARGS& args);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // window message, WM_COMMAND or WM_NOTIFY; 0 ends the map
    UINT nCode;    // control notification code (low word for WM_NOTIFY)
    UINT nID;      // first control or command id
    UINT nLastID;  // last id of a range
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for the root
    const AFX_MSGMAP_ENTRY* lpEntries;
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// OnCmdMsg with this info only asks whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget = nullptr;
};

// OnCmdMsg nCode values.
constexpr int CN_COMMAND = 0;

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const ::ce::AFX_MSGMAP* GetThisMessageMap();                                            \
    const ::ce::AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const ::ce::AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }        \
    const ::ce::AFX_MSGMAP* theClass::GetThisMessageMap()                                          \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                                             \
        using TheBaseClass = baseClass;                                                            \
        static const ::ce::AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    {0, 0, 0, 0, nullptr}                                                                          \
    }                                                                                              \
    ;                                                                                              \
    static const ::ce::AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
    return &messageMap;                                                                            \
    }

// Handler thunks. Each expands to a lambda inside the class's own member
// function, so protected handlers are reachable.
#define AFX_MSG_THUNK(body) [](::ce::CCmdTarget* t, const ::ce::AFX_MSGARGS& a) -> ::ce::LRESULT { \
    [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(t);                                 \
    [[maybe_unused]] const ::ce::AFX_MSGARGS& args = a;                                            \
    body                                                                                           \
}
#define AFX_WM_ENTRY(msg, body) {msg, 0, 0, 0, AFX_MSG_THUNK(body)},
#define AFX_POINT_OF(lp) ::ce::CPoint(::ce::GET_X_LPARAM(lp), ::ce::GET_Y_LPARAM(lp))

// int OnCreate(LPCREATESTRUCT)
#define ON_WM_CREATE() AFX_WM_ENTRY(::ce::WM_CREATE, return self->OnCreate(reinterpret_cast<::ce::LPCREATESTRUCT>(args.lParam));)
// void OnDestroy()
#define ON_WM_DESTROY() AFX_WM_ENTRY(::ce::WM_DESTROY, self->OnDestroy(); return 0;)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() AFX_WM_ENTRY(::ce::WM_SIZE, self->OnSize(::ce::UINT(args.wParam), ::ce::GET_X_LPARAM(args.lParam), ::ce::GET_Y_LPARAM(args.lParam)); return 0;)
// void OnPaint()
#define ON_WM_PAINT() AFX_WM_ENTRY(::ce::WM_PAINT, self->OnPaint(); return 0;)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() AFX_WM_ENTRY(::ce::WM_TIMER, self->OnTimer(::ce::UINT_PTR(args.wParam)); return 0;)
// void OnSetFocus(CWnd* pOldWnd)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(::ce::WM_SETFOCUS, self->OnSetFocus(::ce::CWnd::FromHandle(reinterpret_cast<::ce::HWND>(args.wParam))); return 0;)
// void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(::ce::WM_KILLFOCUS, self->OnKillFocus(::ce::CWnd::FromHandle(reinterpret_cast<::ce::HWND>(args.wParam))); return 0;)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(::ce::WM_ERASEBKGND, return self->OnEraseBkgnd(::ce::CDC::FromHandle(reinterpret_cast<::ce::HDC>(args.wParam)));)
// void OnLButtonDown(UINT nFlags, CPoint point), likewise Up, DblClk, OnMouseMove
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(::ce::WM_LBUTTONDOWN, self->OnLButtonDown(::ce::UINT(args.wParam), AFX_POINT_OF(args.lParam)); return 0;)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(::ce::WM_LBUTTONUP, self->OnLButtonUp(::ce::UINT(args.wParam), AFX_POINT_OF(args.lParam)); return 0;)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(::ce::WM_LBUTTONDBLCLK, self->OnLButtonDblClk(::ce::UINT(args.wParam), AFX_POINT_OF(args.lParam)); return 0;)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(::ce::WM_MOUSEMOVE, self->OnMouseMove(::ce::UINT(args.wParam), AFX_POINT_OF(args.lParam)); return 0;)
// void OnClose()
#define ON_WM_CLOSE() AFX_WM_ENTRY(::ce::WM_CLOSE, self->OnClose(); return 0;)
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags), likewise OnChar
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(::ce::WM_KEYDOWN, self->OnKeyDown(::ce::UINT(args.wParam), ::ce::LOWORD(::ce::UINT_PTR(args.lParam)), ::ce::HIWORD(::ce::UINT_PTR(args.lParam))); return 0;)
#define ON_WM_CHAR() AFX_WM_ENTRY(::ce::WM_CHAR, self->OnChar(::ce::UINT(args.wParam), ::ce::LOWORD(::ce::UINT_PTR(args.lParam)), ::ce::HIWORD(::ce::UINT_PTR(args.lParam))); return 0;)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(::ce::WM_DRAWITEM, self->OnDrawItem(int(args.wParam), reinterpret_cast<::ce::LPDRAWITEMSTRUCT>(args.lParam)); return ::ce::TRUE;)
// void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu); CMenu comes from Menu.h
#define ON_WM_INITMENUPOPUP() AFX_WM_ENTRY(::ce::WM_INITMENUPOPUP, self->OnInitMenuPopup(::ce::CMenu::FromHandle(reinterpret_cast<::ce::HMENU>(args.wParam)), ::ce::LOWORD(::ce::UINT_PTR(args.lParam)), ::ce::HIWORD(::ce::UINT_PTR(args.lParam))); return 0;)
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor): every WM_CTLCOLOR* message,
// or only the static (ON_WM_CTLCOLORSTATIC) or dialog (ON_WM_CTLCOLORDLG) one.
#define AFX_CTLCOLOR_ENTRY(msg) AFX_WM_ENTRY(msg, return reinterpret_cast<::ce::LRESULT>(self->OnCtlColor(::ce::CDC::FromHandle(reinterpret_cast<::ce::HDC>(args.wParam)), ::ce::CWnd::FromHandle(reinterpret_cast<::ce::HWND>(args.lParam)), args.message - ::ce::WM_CTLCOLORMSGBOX));)
#define ON_WM_CTLCOLORSTATIC() AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORSTATIC)
#define ON_WM_CTLCOLORDLG() AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORDLG)
#define ON_WM_CTLCOLOR()                                                                           \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORMSGBOX)                                                    \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLOREDIT)                                                      \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORLISTBOX)                                                   \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORBTN)                                                       \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORDLG)                                                       \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORSCROLLBAR)                                                 \
    AFX_CTLCOLOR_ENTRY(::ce::WM_CTLCOLORSTATIC)
// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) AFX_WM_ENTRY(message, return self->memberFxn(args.wParam, args.lParam);)
// void memberFxn()
#define ON_COMMAND(id, memberFxn) {::ce::WM_COMMAND, 0, ::ce::UINT(id), ::ce::UINT(id), AFX_MSG_THUNK(self->memberFxn(); return ::ce::TRUE;)},
// void memberFxn(UINT id)
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn) {::ce::WM_COMMAND, 0, ::ce::UINT(idFirst), ::ce::UINT(idLast), AFX_MSG_THUNK(self->memberFxn(::ce::UINT(args.wParam)); return ::ce::TRUE;)},
// void memberFxn(): a control's WM_COMMAND notification
#define ON_CONTROL(code, id, memberFxn) {::ce::WM_COMMAND, ::ce::UINT(code), ::ce::UINT(id), ::ce::UINT(id), AFX_MSG_THUNK(self->memberFxn(); return ::ce::TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(::ce::BN_CLICKED, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(::ce::EN_SETFOCUS, id, memberFxn)
// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFxn) {::ce::WM_NOTIFY, ::ce::LOWORD(::ce::UINT(code)), ::ce::UINT(id), ::ce::UINT(id), AFX_MSG_THUNK(auto* n = static_cast<::ce::AFX_NOTIFY*>(args.extra); self->memberFxn(n->pNMHDR, n->pResult); return ::ce::TRUE;)},
// void memberFxn(UINT id, NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY_RANGE(code, idFirst, idLast, memberFxn) {::ce::WM_NOTIFY, ::ce::LOWORD(::ce::UINT(code)), ::ce::UINT(idFirst), ::ce::UINT(idLast), AFX_MSG_THUNK(auto* n = static_cast<::ce::AFX_NOTIFY*>(args.extra); self->memberFxn(::ce::UINT(args.wParam), n->pNMHDR, n->pResult); return ::ce::TRUE;)},

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Finds a WM_COMMAND (nCode = notification code) or WM_NOTIFY (nCode =
    // MAKELONG(code, WM_NOTIFY), pExtra = AFX_NOTIFY*) handler for nID in this
    // object's message maps and calls it; with pHandlerInfo it only reports
    // whether one exists. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The first entry of the maps (this class first, then its bases) for the
    // message; command entries match id and code as well.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

// ---------------------------------------------------------------------------
// Windows

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd() = default;
    // Destroys the window if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to the window, else a temporary wrapper owned by
    // the platform that lives as long as the window. Null for a null handle.
    static CWnd* FromHandle(HWND hwnd);
    // Only the attached object, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    BOOL Attach(HWND hwnd);
    HWND Detach();
    // Attaches this object to an existing window: its messages go through
    // this object's message map first, then the window's class procedure.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Creation: PreCreateWindow, then the window with WM_CREATE and WM_SIZE.
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, CCreateContext* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU idOrMenu,
                          void* param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* param = nullptr);
    virtual BOOL DestroyWindow();
    // Without a class name it supplies the platform's default window class.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    // Message handling: WindowProc tries the message map (OnWndMsg) and
    // falls back to DefWindowProc, the window class's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc with the message being handled.
    LRESULT Default();
    // WM_COMMAND: OnCmdMsg(LOWORD(wParam), HIWORD(wParam)).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: OnCmdMsg(idFrom, MAKELONG(code, WM_NOTIFY)).
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called for a WM_KEYDOWN, WM_CHAR, mouse, timer or posted message on the
    // way from its window up through the parents; TRUE swallows the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // A parent's notification reflected to the child control that caused it
    // (WM_DRAWITEM); TRUE when handled. The default calls DrawItem.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Owner drawing of a control; the default does nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void DoDataExchange(CDataExchange* pDX);
    // After WM_NCDESTROY, when the object has been detached.
    virtual void PostNcDestroy();
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ce::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ce::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) const
    {
        return ce::SetTimer(m_hWnd, id, elapseMs, proc);
    }
    BOOL KillTimer(UINT_PTR id) const { return ce::KillTimer(m_hWnd, id); }

    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return ce::GetDlgCtrlID(m_hWnd); }
    void SetDlgCtrlID(int id);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL ShowWindow(int cmd) { return ce::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ce::IsWindowVisible(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ce::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ce::IsWindowEnabled(m_hWnd); }
    void GetClientRect(LPRECT rect) const { ce::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ce::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(LPPOINT pt) const { ce::ScreenToClient(m_hWnd, pt); }
    void ScreenToClient(LPRECT rect) const;
    void ClientToScreen(LPPOINT pt) const { ce::ClientToScreen(m_hWnd, pt); }
    void ClientToScreen(LPRECT rect) const;

    void SetWindowText(const std::u16string& text) { ce::SetWindowText(m_hWnd, text); }
    void SetWindowText(LPCWSTR text) { ce::SetWindowTextW(m_hWnd, text); }
    void GetWindowText(std::u16string& text) const { text = ce::GetWindowText(m_hWnd); }
    int GetWindowText(LPWSTR buffer, int maxCount) const { return ce::GetWindowTextW(m_hWnd, buffer, maxCount); }
    int GetWindowTextLength() const { return ce::GetWindowTextLengthW(m_hWnd); }

    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;

    void Invalidate(BOOL erase = TRUE) { ce::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ce::InvalidateRect(m_hWnd, rect, erase); }
    void UpdateWindow() { ce::UpdateWindow(m_hWnd); }
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    // Defined by the message box (MessageBox.cpp).
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = 0);

protected:
    // Handlers that the message-map macros call; the defaults run Default().
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnClose();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()
};

// Names the class of the view that a frame or dialog creates.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    void* m_pCurrentDoc = nullptr;
    CWnd* m_pCurrentFrame = nullptr;
};

class CDataExchange {
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds control (once) to the child window `id` of the exchanging window.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

} // namespace ce
