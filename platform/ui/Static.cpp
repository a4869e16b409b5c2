// The static control: text or a bitmap picture on the parent's colours.
#include "platform/ui/Controls.h"
#include "platform/ui/WindowImpl.h"

namespace ce {

using namespace impl;

namespace {

// The picture of an SS_BITMAP control: its text "#id".
UINT PictureId(const Window& w)
{
    if (w.text.size() < 2 || w.text[0] != u'#')
        return 0;
    UINT id = 0;
    for (std::size_t i = 1; i < w.text.size(); ++i) {
        if (w.text[i] < u'0' || w.text[i] > u'9')
            return 0;
        id = id * 10 + UINT(w.text[i] - u'0');
    }
    return id;
}

void PaintStatic(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    Window* w = FindWindow(hwnd);
    if (!hdc || !w) {
        EndPaint(hwnd, &ps);
        return;
    }
    HWND parent = GetParent(hwnd);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent ? parent : hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    if (!brush)
        brush = GetSysColorBrush(COLOR_BTNFACE);
    RECT rc;
    GetClientRect(hwnd, &rc);
    FillRect(hdc, &rc, brush);
    if ((w = FindWindow(hwnd)) != nullptr) {
        if ((w->style & SS_TYPEMASK) == SS_BITMAP) {
            DrawBitmapResource(hdc, PictureId(*w), 0, 0);
        } else {
            UINT format = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
            if ((w->style & SS_TYPEMASK) == SS_CENTER)
                format |= DT_CENTER;
            else if ((w->style & SS_TYPEMASK) == SS_RIGHT)
                format |= DT_RIGHT;
            HGDIOBJ oldFont = w->font ? SelectObject(hdc, w->font) : nullptr;
            if (w->style & WS_DISABLED)
                SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
            std::u16string text = w->text;
            DrawTextW(hdc, text.c_str(), int(text.size()), &rc, format);
            if (oldFont)
                SelectObject(hdc, oldFont);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        // A picture takes the size of its bitmap, as classic.
        if (Window* w = FindWindow(hwnd); w && (w->style & SS_TYPEMASK) == SS_BITMAP && !(w->style & SS_CENTERIMAGE)) {
            QImage image = BitmapResource(PictureId(*w));
            if (!image.isNull())
                MoveWindow(hwnd, w->rect.x(), w->rect.y(), image.width(), image.height(), FALSE);
        }
        return 0;
    case WM_PAINT:
        PaintStatic(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted with the parent's colour in WM_PAINT
    case WM_LBUTTONDOWN:
        if (GetWindowLongW(hwnd, GWL_STYLE) & SS_NOTIFY)
            CommandToParent(hwnd, 0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

namespace impl {

void RegisterStaticClass()
{
    RegisterWindowClass({WC_STATICW, 0, nullptr, &StaticProc, nullptr});
}

void CommandToParent(HWND hwnd, UINT code)
{
    HWND parent = GetParent(hwnd);
    if (parent && IsWindow(hwnd))
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(WORD(GetDlgCtrlID(hwnd)), WORD(code)), reinterpret_cast<LPARAM>(hwnd));
}

LRESULT NotifyParent(HWND hwnd, NMHDR& hdr)
{
    hdr.hwndFrom = hwnd;
    hdr.idFrom = UINT_PTR(GetDlgCtrlID(hwnd));
    HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr)) : 0;
}

} // namespace impl

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_STATICW, text, style, rect, parent, id);
}

} // namespace ce
