#include "platform/ui/Button.h"
#include "platform/ui/WindowImpl.h"
#include <QPainter>

namespace ce {
namespace {

struct ButtonState : impl::ControlState {
    bool pushed = false;
    UINT check = BST_UNCHECKED;
};

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

impl::ClassRegistrar buttonClass({std::u16string(WC_BUTTONW), 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                &ButtonProc, [](impl::Window&) -> std::unique_ptr<impl::ControlState> {
                                    return std::make_unique<ButtonState>();
                                }});

bool IsOwnerDrawn(const impl::Window& w)
{
    return (w.style & BS_TYPEMASK) == BS_OWNERDRAW;
}

void DrawPushButton(HWND hwnd, HDC hdc, const impl::Window& w, const ButtonState& s)
{
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const bool focus = GetFocus() == hwnd;
    FillRect(hdc, &rc, GetSysColorBrush(s.pushed ? COLOR_WINDOWTEXT : COLOR_BTNFACE));
    FrameRect(hdc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if ((w.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        RECT inner = rc;
        InflateRect(&inner, -1, -1);
        FrameRect(hdc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(s.pushed ? COLOR_WINDOW : COLOR_BTNTEXT));
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    DrawTextW(hdc, w.text.c_str(), int(w.text.size()), &rc, format);
    if (focus) {
        if (auto p = impl::PainterOf(hdc)) {
            p->save();
            p->setPen(QPen(s.pushed ? Qt::white : Qt::black, 1, Qt::DotLine));
            p->setBrush(Qt::NoBrush);
            p->drawRect(QRect(rc.left + 3, rc.top + 3, rc.right - rc.left - 7, rc.bottom - rc.top - 7));
            p->restore();
        }
    }
}

// Draws the button into `hdc`: itself, or through its parent's WM_DRAWITEM.
void Draw(HWND hwnd, HDC hdc, UINT action)
{
    impl::Window* w = impl::FindWindow(hwnd);
    auto* s = impl::State<ButtonState>(hwnd);
    if (!w || !s)
        return;
    if (!IsOwnerDrawn(*w)) {
        DrawPushButton(hwnd, hdc, *w, *s);
        return;
    }
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_BUTTON;
    item.CtlID = w->id;
    item.itemAction = action;
    item.itemState = (s->pushed ? ODS_SELECTED : 0) | (GetFocus() == hwnd ? ODS_FOCUS : 0) |
                     ((w->style & WS_DISABLED) ? ODS_DISABLED : 0);
    item.hwndItem = hwnd;
    item.hDC = hdc;
    GetClientRect(hwnd, &item.rcItem);
    SendMessageW(GetParent(hwnd), WM_DRAWITEM, WPARAM(w->id), reinterpret_cast<LPARAM>(&item));
}

// A change of state shows at once, as on the device.
void Redraw(HWND hwnd, UINT action)
{
    HDC hdc = GetDC(hwnd);
    Draw(hwnd, hdc, action);
    ReleaseDC(hwnd, hdc);
}

void SetPushed(HWND hwnd, ButtonState& s, bool pushed)
{
    if (s.pushed == pushed)
        return;
    s.pushed = pushed;
    Redraw(hwnd, ODA_SELECT);
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = impl::State<ButtonState>(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);

    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        Draw(hwnd, hdc, ODA_DRAWENTIRE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Redraw(hwnd, ODA_FOCUS);
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        SetFocus(hwnd);
        SetPushed(hwnd, *s, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) {
            RECT rc{};
            GetClientRect(hwnd, &rc);
            SetPushed(hwnd, *s, PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd) {
            const bool click = s->pushed;
            ReleaseCapture();
            SetPushed(hwnd, *s, false);
            if (click)
                impl::CommandToParent(hwnd, BN_CLICKED);
        }
        return 0;
    case WM_CAPTURECHANGED:
        SetPushed(hwnd, *s, false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE)
            SetPushed(hwnd, *s, true);
        return 0;
    case WM_CHAR:
        if (wParam == u' ' && s->pushed) {
            SetPushed(hwnd, *s, false);
            impl::CommandToParent(hwnd, BN_CLICKED);
        }
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case BM_GETSTATE:
        return (s->pushed ? BST_PUSHED : 0) | (GetFocus() == hwnd ? BST_FOCUS : 0) | s->check;
    case BM_SETSTATE:
        SetPushed(hwnd, *s, wParam != 0);
        return 0;
    case BM_GETCHECK:
        return s->check;
    case BM_SETCHECK:
        s->check = UINT(wParam) & BST_CHECKED;
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case BM_SETSTYLE:
        if (impl::Window* w = impl::FindWindow(hwnd)) {
            w->style = (w->style & ~DWORD(0xFFFF)) | (DWORD(wParam) & 0xFFFF);
            if (lParam)
                InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case BM_CLICK:
        impl::CommandToParent(hwnd, BN_CLICKED);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_BUTTONW, caption, style, rect, parent, id);
}

} // namespace ce
