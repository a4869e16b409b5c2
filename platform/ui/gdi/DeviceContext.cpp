// Device contexts: painting a window, and a context's colours and modes.
#include "platform/ui/gdi/GdiTables.h"

namespace ce::impl {

GdiObject* Selected(const DeviceContext& dc, Kind kind)
{
    HGDIOBJ h = kind == Kind::Brush ? dc.brush : kind == Kind::Pen ? dc.pen : dc.font;
    return Object(h);
}

Window* TargetWindow(const DeviceContext& dc)
{
    return FindWindow(dc.hwnd);
}

std::unique_ptr<QPainter> Painter(DeviceContext& dc)
{
    Window* w = TargetWindow(dc);
    if (!w || w->backing.isNull())
        return nullptr;
    auto p = std::make_unique<QPainter>(&w->backing);
    QRect client = ClientRectInWidget(*w);
    p->setClipRect(client);
    p->translate(client.topLeft());
    if (GdiObject* f = Selected(dc, Kind::Font))
        p->setFont(f->font);
    else
        p->setFont(DeviceFont());
    return p;
}

std::unique_ptr<QPainter> PainterOf(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    if (!dc)
        return nullptr;
    auto p = Painter(*dc);
    if (!p)
        return nullptr;
    if (GdiObject* pen = Selected(*dc, Kind::Pen); pen && pen->color.isValid())
        p->setPen(QPen(pen->color, pen->penWidth, pen->penStyle));
    else
        p->setPen(Qt::NoPen);
    if (GdiObject* brush = Selected(*dc, Kind::Brush); brush && brush->color.isValid())
        p->setBrush(brush->color);
    else
        p->setBrush(Qt::NoBrush);
    if (Window* w = TargetWindow(*dc))
        Refresh(*w);
    return p;
}

QFont FontOfDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    GdiObject* f = dc ? Selected(*dc, Kind::Font) : nullptr;
    return f ? f->font : DeviceFont();
}

COLORREF TextColorOfDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->textColor : RGB(0, 0, 0);
}

} // namespace ce::impl

namespace ce {

using namespace impl;

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    Window* w = FindWindow(hwnd);
    if (!w || !ps)
        return nullptr;
    HDC hdc = NewContext(hwnd);
    w->invalid = false;
    *ps = PAINTSTRUCT();
    ps->hdc = hdc;
    GetClientRect(hwnd, &ps->rcPaint);
    if (w->erase) {
        w->erase = false;
        ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    }
    return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps)
        return FALSE;
    DeleteContext(ps->hdc);
    if (Window* w = FindWindow(hwnd))
        Refresh(*w);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd && !FindWindow(hwnd))
        return nullptr;
    return NewContext(hwnd);
}

int ReleaseDC(HWND, HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    if (!Context(hdc))
        return 0;
    DeleteContext(hdc);
    return 1;
}

HWND WindowFromDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->hwnd : nullptr;
}

int SetBkMode(HDC hdc, int mode)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->bkMode, mode) : 0;
}

int GetBkMode(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->bkMode : 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->bkColor, color) : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->bkColor : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->textColor, color) : CLR_INVALID;
}

COLORREF GetTextColor(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

} // namespace ce
