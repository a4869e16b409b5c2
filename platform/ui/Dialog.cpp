// Windows from dialog templates: modal dialogs and form views.
#include "platform/ui/Dialog.h"
#include "platform/core/Resources.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DeviceScrollBar.h"
#include "platform/ui/WindowImpl.h"
#include <algorithm>

namespace ce {

using namespace impl;

namespace {

constexpr const WCHAR* DialogClass = u"#32770";

// Dialog and form view windows: the background comes from WM_CTLCOLORDLG to
// the window itself, and closing asks for IDCANCEL.
LRESULT DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        auto hdc = reinterpret_cast<HDC>(wParam);
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
        if (!brush)
            brush = GetSysColorBrush(COLOR_BTNFACE);
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(hdc, &rc, brush);
        return 1;
    }
    case WM_CLOSE:
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    case WM_MOUSEWHEEL:
        // A form taller than its part shown scrolls by lines of the device
        // font; any other passes the wheel on to its parent.
        if (Window* form = FindWindow(hwnd); form && FormOf(hwnd) == form && FormScrollRange(*form).maxY > 0) {
            const int line = GetDialogBaseUnits().cy;
            const int pixels = GET_WHEEL_DELTA_WPARAM(wParam) * WheelLines * line / WHEEL_DELTA;
            ScrollFormTo(*form, QPoint(0, form->scroll.y() - pixels));
            return 0;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

int Scale(int v, int base, int divisor)
{
    long product = long(v) * long(base);
    return int(product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor));
}

// Template class names to registered class names.
std::u16string ControlClassName(const std::u16string& name)
{
    std::u16string upper = name;
    for (auto& c : upper)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    if (upper == u"STATIC" || upper == u"EDIT" || upper == u"BUTTON")
        return upper;
    return name;
}

void CreateTemplateControls(const DialogTemplate& t, HWND parent)
{
    for (const DialogControl& c : t.controls) {
        // Position and size map separately, so equal template heights stay equal.
        RECT origin = MapDialogUnits(RECT{c.x, c.y, c.x, c.y});
        RECT size = MapDialogUnits(RECT{0, 0, c.cx, c.cy});
        RECT r{origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
        std::u16string text = c.text;
        if (c.imageId && text.empty()) {
            std::string digits = "#" + std::to_string(c.imageId);
            text.assign(digits.begin(), digits.end());
        }
        std::u16string cls = ControlClassName(c.className);
        CreateWindowExW(c.exStyle, cls.c_str(), text.c_str(), c.style | WS_CHILD, r.left, r.top, r.right - r.left,
                        r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(c.id)),
                        nullptr, nullptr);
    }
}

// The template's window with its controls (made before WM_CREATE). A child
// takes `rect` (the parent's client area when empty); a pop-up is centred.
HWND CreateTemplateWindow(const DialogTemplate& t, HWND parent, CWnd* attach, bool child, const RECT& rect,
                          DWORD childStyle, UINT id)
{
    RECT client = MapDialogUnits(RECT{0, 0, t.cx, t.cy});
    DWORD style;
    int x, y, width, height;
    if (child) {
        style = (t.style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE)) | WS_CHILD | childStyle;
        RECT r = rect;
        if (IsRectEmpty(&r))
            GetClientRect(parent, &r);
        x = r.left;
        y = r.top;
        width = r.right - r.left;
        height = r.bottom - r.top;
    } else {
        style = (t.style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;
        Window probe;
        probe.style = style;
        width = client.right + 2 * BorderWidth(probe);
        height = client.bottom + 2 * BorderWidth(probe) + CaptionHeight(probe);
        x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
        y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    }
    AttachOnCreate(attach);
    BeforeCreate([&t](HWND hwnd) {
        if (Window* w = FindWindow(hwnd))
            w->fromTemplate = true;
        CreateTemplateControls(t, hwnd);
    });
    HWND hwnd = CreateWindowExW(t.exStyle, DialogClass, t.caption.c_str(), style, x, y, width, height, parent,
                                child ? reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)) : nullptr,
                                nullptr, nullptr);
    AttachOnCreate(nullptr);
    BeforeCreate(nullptr);
    if (hwnd && child)
        AttachFormScrollBar(hwnd);
    return hwnd;
}

// Tab-stop controls below `root` in creation order.
void CollectTabStops(HWND root, std::vector<HWND>& out)
{
    Window* w = FindWindow(root);
    if (!w)
        return;
    for (HWND h : w->children) {
        Window* c = FindWindow(h);
        if (!c || !(c->style & WS_VISIBLE) || (c->style & WS_DISABLED))
            continue;
        if (c->style & WS_TABSTOP)
            out.push_back(h);
        CollectTabStops(h, out);
    }
}

thread_local CWnd* t_creatingView = nullptr;

} // namespace

RECT MapDialogUnits(const RECT& r)
{
    SIZE base = GetDialogBaseUnits();
    return RECT{Scale(r.left, base.cx, 4), Scale(r.top, base.cy, 8), Scale(r.right, base.cx, 4),
                Scale(r.bottom, base.cy, 8)};
}

BOOL EndDialog(HWND dialog, int result)
{
    auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog));
    if (!dlg)
        return FALSE;
    dlg->EndDialog(result);
    return TRUE;
}

// ---------------------------------------------------------------------------
// CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, HandleOK)
    ON_COMMAND(IDCANCEL, HandleCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog()
{
    DestroyWindow();
}

LRESULT CDialog::DoModal()
{
    const DialogTemplate* t = FindDialogTemplate(m_nIDTemplate);
    if (!t || m_hWnd)
        return -1;
    HWND owner = m_pParentWnd ? TopLevelOf(m_pParentWnd->m_hWnd) : GetActiveWindow();
    HWND previousFocus = ce::GetFocus();
    bool reenable = owner && ce::IsWindowEnabled(owner);
    if (reenable)
        ce::EnableWindow(owner, FALSE);
    ending = false;
    modalResult = -1;
    HWND hwnd = CreateTemplateWindow(*t, owner, this, false, RECT{}, 0, 0);
    if (hwnd) {
        std::vector<HWND> stops;
        CollectTabStops(hwnd, stops);
        WPARAM first = stops.empty() ? 0 : reinterpret_cast<WPARAM>(stops.front());
        if (SendMessageW(hwnd, WM_INITDIALOG, first, 0) && IsWindow(hwnd) && !ending) {
            stops.clear();
            CollectTabStops(hwnd, stops);
            if (!stops.empty())
                ce::SetFocus(stops.front());
        }
        if (IsWindow(hwnd) && !ending) {
            ce::ShowWindow(hwnd, SW_SHOWNORMAL);
            impl::ModalLoop loop;
            modalLoop = &loop;
            loop.Run();
            modalLoop = nullptr;
        }
    }
    if (reenable && IsWindow(owner))
        ce::EnableWindow(owner, TRUE);
    if (m_hWnd)
        DestroyWindow();
    if (previousFocus && IsWindow(previousFocus))
        ce::SetFocus(previousFocus);
    return hwnd ? modalResult : -1;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    const DialogTemplate* t = FindDialogTemplate(nIDTemplate);
    if (!t || m_hWnd)
        return FALSE;
    m_nIDTemplate = nIDTemplate;
    m_pParentWnd = pParentWnd;
    HWND hwnd = CreateTemplateWindow(*t, pParentWnd ? TopLevelOf(pParentWnd->m_hWnd) : nullptr, this, false,
                                     RECT{}, 0, 0);
    if (!hwnd)
        return FALSE;
    SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
    if (IsWindow(hwnd) && (t->style & WS_VISIBLE))
        ce::ShowWindow(hwnd, SW_SHOWNORMAL);
    return IsWindow(hwnd);
}

void CDialog::EndDialog(int nResult)
{
    modalResult = nResult;
    ending = true;
    if (modalLoop)
        modalLoop->End();
    else if (m_hWnd && !(GetStyle() & WS_CHILD))
        ce::ShowWindow(m_hWnd, SW_HIDE);
}

void CDialog::PostNcDestroy()
{
    if (modalLoop && !ending)
        EndDialog(IDCANCEL);
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg || ending || pMsg->message != WM_KEYDOWN)
        return FALSE;
    switch (pMsg->wParam) {
    case VK_TAB: {
        std::vector<HWND> stops;
        CollectTabStops(m_hWnd, stops);
        if (stops.empty())
            return TRUE;
        // Shift+Tab goes back; both wrap around.
        if (GetKeyState(VK_SHIFT) < 0)
            std::reverse(stops.begin(), stops.end());
        auto it = std::find(stops.begin(), stops.end(), ce::GetFocus());
        ce::SetFocus((it == stops.end() || it + 1 == stops.end()) ? stops.front() : *(it + 1));
        return TRUE;
    }
    case VK_RETURN:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return TRUE;
    case VK_ESCAPE:
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return TRUE;
    default:
        return FALSE;
    }
}

CWnd* CDialog::CreateView(CCreateContext* pContext, UINT nID)
{
    if (!pContext || !pContext->m_pNewViewClass || !m_hWnd)
        return nullptr;
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    t_creatingView = view;
    BOOL created = view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT{}, this, nID, pContext);
    // A view whose window never existed was not deleted by its PostNcDestroy.
    if (!created && t_creatingView == view)
        delete view;
    t_creatingView = nullptr;
    return created ? view : nullptr;
}

// ---------------------------------------------------------------------------
// CFormView

IMPLEMENT_DYNAMIC(CFormView, CWnd)

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

CFormView::~CFormView() = default;

BOOL CFormView::Create(LPCWSTR, LPCWSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id, CCreateContext*)
{
    const DialogTemplate* t = FindDialogTemplate(m_nIDTemplate);
    if (!t || !parent || !parent->m_hWnd || m_hWnd)
        return FALSE;
    return CreateTemplateWindow(*t, parent->m_hWnd, this, true, rect, style & ~WS_POPUP, id) ? TRUE : FALSE;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
}

void CFormView::ScrollToPosition(POINT pt)
{
    if (Window* w = FindWindow(m_hWnd))
        ScrollFormTo(*w, QPoint(pt.x, pt.y));
}

CPoint CFormView::GetScrollPosition() const
{
    Window* w = FindWindow(m_hWnd);
    return w ? CPoint(w->scroll.x(), w->scroll.y()) : CPoint();
}

void CFormView::PostNcDestroy()
{
    if (t_creatingView == this)
        t_creatingView = nullptr;
    delete this;
}

} // namespace ce

namespace ce::impl {

FormScroll FormScrollRange(const Window& w)
{
    // How far the content reaches, unscrolled, and how much of the view shows.
    int contentBottom = 0;
    for (HWND h : w.children)
        if (Window* c = FindWindow(h); c && (c->style & WS_VISIBLE))
            contentBottom = std::max(contentBottom, c->rect.bottom() + 1 + w.scroll.y());
    RECT client;
    GetClientRect(w.hwnd, &client);
    int visible = client.bottom;
    if (Window* p = FindWindow(w.parent)) {
        RECT parentClient;
        GetClientRect(p->hwnd, &parentClient);
        visible = std::min(visible, int(parentClient.bottom) - w.rect.top());
    }
    visible = std::max(0, visible);
    return FormScroll{visible, std::max(0, contentBottom - visible)};
}

void ScrollFormTo(Window& w, QPoint position)
{
    QPoint target(0, std::clamp(position.y(), 0, FormScrollRange(w).maxY));
    QPoint delta = w.scroll - target;
    if (!delta.isNull()) {
        w.scroll = target;
        ScrollChildren(w, delta.x(), delta.y());
    }
    SyncFormScrollBar(w.hwnd);
}

Window* FormOf(HWND hwnd)
{
    for (Window* w = FindWindow(hwnd); w; w = FindWindow(w->parent))
        if (w->fromTemplate && (w->style & WS_CHILD))
            return w;
    return nullptr;
}

void ScrollIntoFormView(HWND control)
{
    constexpr int Margin = 10;
    Window* c = FindWindow(control);
    Window* form = c ? FormOf(c->parent) : nullptr;
    RECT rc;
    if (!form || !GetWindowRect(control, &rc))
        return;
    const int top = int(rc.top) - ClientOriginOnScreen(*form).y();
    const int bottom = int(rc.bottom) - ClientOriginOnScreen(*form).y();
    if (top < 0 || bottom > FormScrollRange(*form).visible)
        ScrollFormTo(*form, QPoint(0, form->scroll.y() + top - Margin));
}

void RegisterDialogClass()
{
    RegisterWindowClass({DialogClass, 0, nullptr, &DialogProc, nullptr});
}

} // namespace ce::impl
