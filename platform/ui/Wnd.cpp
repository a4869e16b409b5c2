// Run-time classes, message maps, command routing and CWnd.
#include "platform/ui/Wnd.h"
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include <vector>

namespace ce {

// ---------------------------------------------------------------------------
// Run-time classes

CObject* CRuntimeClass::CreateObject() const
{
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const
{
    for (const CRuntimeClass* c = this; c; c = c->m_pfnGetBaseClass ? c->m_pfnGetBaseClass() : nullptr)
        if (c == base)
            return true;
    return false;
}

const CRuntimeClass* CObject::GetThisClass()
{
    static const CRuntimeClass record{"CObject", int(sizeof(CObject)), nullptr, nullptr};
    return &record;
}

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return GetThisClass();
}

// ---------------------------------------------------------------------------
// Message maps and command routing

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    bool command = message == WM_COMMAND || message == WM_NOTIFY;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->nMessage; ++e) {
            if (e->nMessage != message)
                continue;
            if (!command || (e->nCode == code && id >= e->nID && id <= e->nLastID))
                return e;
        }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = UINT(nCode);
    if (HIWORD(code) == WM_NOTIFY)
        message = WM_NOTIFY;
    code = LOWORD(code);
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, code, nID);
    if (!entry)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    AFX_MSGARGS args;
    args.message = message;
    args.wParam = nID;
    args.extra = pExtra;
    entry->pfn(this, args);
    return TRUE;
}

// ---------------------------------------------------------------------------
// CWnd

namespace {
// The messages being handled on this thread, innermost last, for Default().
thread_local std::vector<MSG> t_current;
} // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        ce::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    impl::Window* w = IsUiThread() ? impl::FindWindow(hwnd) : nullptr;
    if (!w)
        return nullptr;
    if (w->wnd)
        return w->wnd;
    if (!w->temporary) {
        w->temporary = std::make_unique<CWnd>();
        w->temporary->m_hWnd = hwnd;
    }
    return w->temporary.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    impl::Window* w = IsUiThread() ? impl::FindWindow(hwnd) : nullptr;
    return w ? w->wnd : nullptr;
}

BOOL CWnd::Attach(HWND hwnd)
{
    impl::Window* w = impl::FindWindow(hwnd);
    if (m_hWnd || !w || w->wnd)
        return FALSE;
    m_hWnd = hwnd;
    w->wnd = this;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = std::exchange(m_hWnd, nullptr);
    if (impl::Window* w = impl::FindWindow(hwnd); w && w->wnd == this)
        w->wnd = nullptr;
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    return Attach(hwnd);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(ce::GetDlgItem(parent->m_hWnd, int(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, void* param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs;
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = LONG(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    impl::AttachOnCreate(this);
    HWND hwnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, nullptr, cs.lpCreateParams);
    impl::AttachOnCreate(nullptr);
    return hwnd ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, void* param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), param);
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ce::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        result = handled ? 1 : 0;
    } else if (message == WM_NOTIFY) {
        handled = OnNotify(wParam, lParam, &result);
    } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0)) {
        AFX_MSGARGS args;
        args.message = message;
        args.wParam = wParam;
        args.lParam = lParam;
        result = entry->pfn(this, args);
        handled = TRUE;
    }
    if (pResult)
        *pResult = result;
    return handled;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    impl::Window* w = impl::FindWindow(m_hWnd);
    if (!w)
        return 0;
    return CallWindowProcW(w->cls->proc, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (t_current.empty())
        return 0;
    MSG msg = t_current.back();
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    int code = lParam ? HIWORD(wParam) : CN_COMMAND;
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (!hdr)
        return FALSE;
    LRESULT ignored = 0;
    AFX_NOTIFY notify{pResult ? pResult : &ignored, hdr};
    return OnCmdMsg(UINT(hdr->idFrom), int(MAKELONG(LOWORD(hdr->code), WM_NOTIFY)), &notify, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

void CWnd::DrawItem(LPDRAWITEMSTRUCT) {}

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(ce::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int id) const
{
    return FromHandle(ce::GetDlgItem(m_hWnd, id));
}

void CWnd::SetDlgCtrlID(int id)
{
    SetWindowLongW(m_hWnd, GWL_ID, LONG(id));
}

DWORD CWnd::GetStyle() const
{
    return DWORD(GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return DWORD(GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT)
{
    DWORD style = GetStyle();
    DWORD updated = (style & ~remove) | add;
    if (style == updated)
        return FALSE;
    SetWindowLongW(m_hWnd, GWL_STYLE, LONG(updated));
    return TRUE;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    ce::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint)
{
    if (rect)
        ce::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ce::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    if (!rect)
        return;
    POINT a{rect->left, rect->top};
    POINT b{rect->right, rect->bottom};
    ce::ScreenToClient(m_hWnd, &a);
    ce::ScreenToClient(m_hWnd, &b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    if (!rect)
        return;
    POINT a{rect->left, rect->top};
    POINT b{rect->right, rect->bottom};
    ce::ClientToScreen(m_hWnd, &a);
    ce::ClientToScreen(m_hWnd, &b);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const
{
    auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    return font ? CFont::FromHandle(font) : nullptr;
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(ce::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(ce::GetFocus());
}

CWnd* CWnd::SetCapture()
{
    return FromHandle(ce::SetCapture(m_hWnd));
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(ce::GetDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* dc)
{
    return dc ? ce::ReleaseDC(m_hWnd, dc->m_hDC) : 0;
}

int CWnd::OnCreate(LPCREATESTRUCT)
{
    return int(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

void CWnd::OnSetFocus(CWnd*)
{
    Default();
}

void CWnd::OnKillFocus(CWnd*)
{
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return BOOL(Default());
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    Default();
}

void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL)
{
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return reinterpret_cast<HBRUSH>(Default());
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (!pDX || !pDX->m_pDlgWnd || control.m_hWnd)
        return;
    control.SubclassDlgItem(UINT(id), pDX->m_pDlgWnd);
}

} // namespace ce

namespace ce::impl {

LRESULT CallFrameworkProc(CWnd* wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    MSG current;
    current.hwnd = wnd->m_hWnd;
    current.message = msg;
    current.wParam = wParam;
    current.lParam = lParam;
    t_current.push_back(current);
    LRESULT result = wnd->WindowProc(msg, wParam, lParam);
    t_current.pop_back();
    return result;
}

void DetachAfterNcDestroy(Window& w)
{
    if (w.wnd) {
        w.wnd->m_hWnd = nullptr;
        w.wnd = nullptr;
    }
    if (w.temporary)
        w.temporary->m_hWnd = nullptr;
}

} // namespace ce::impl
