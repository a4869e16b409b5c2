// Where a window is: its frame, client area, widget placement and
// coordinates on the device screen.
#include "platform/ui/window/WindowRegistry.h"
#include <QPainter>
#include <algorithm>

namespace ce::impl {

int CaptionHeight(const Window& w)
{
    return (w.style & WS_CAPTION) == WS_CAPTION ? CaptionBarHeight : 0;
}

int BorderWidth(const Window& w)
{
    return (w.style & WS_BORDER) ? 1 : 0;
}

int ClientWidth(const Window& w)
{
    return std::max(0, w.rect.width() - 2 * BorderWidth(w));
}

int ClientHeight(const Window& w)
{
    return std::max(0, w.rect.height() - 2 * BorderWidth(w) - CaptionHeight(w));
}

QRect ClientRectInWidget(const Window& w)
{
    int b = BorderWidth(w);
    return QRect(b, b + CaptionHeight(w), ClientWidth(w), ClientHeight(w));
}

QPoint WindowOriginOnScreen(const Window& w)
{
    QPoint origin = w.rect.topLeft();
    for (const Window* p = FindWindow(w.parent); p; p = FindWindow(p->parent))
        origin += p->rect.topLeft() + ClientRectInWidget(*p).topLeft();
    return origin;
}

QPoint ClientOriginOnScreen(const Window& w)
{
    return WindowOriginOnScreen(w) + ClientRectInWidget(w).topLeft();
}

namespace {

QPoint ClientOriginInParentWidget(const Window& w)
{
    if (w.parent)
        if (Window* p = FindWindow(w.parent))
            return ClientRectInWidget(*p).topLeft();
    return QPoint(0, 0);
}

} // namespace

void PlaceWidget(Window& w)
{
    if (w.widget)
        w.widget->setGeometry(w.rect.translated(ClientOriginInParentWidget(w)));
}

void ResizeBacking(Window& w)
{
    QSize size(std::max(1, w.rect.width()), std::max(1, w.rect.height()));
    if (w.backing.size() == size)
        return;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!w.backing.isNull()) {
        QPainter p(&image);
        p.drawImage(0, 0, w.backing);
    }
    w.backing = image;
}

void ScrollChildren(Window& w, int dx, int dy)
{
    for (HWND h : w.children)
        if (Window* c = FindWindow(h)) {
            c->rect.translate(dx, dy);
            PlaceWidget(*c);
        }
    Invalidate(w);
}

} // namespace ce::impl

namespace ce {

using namespace impl;

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    QRect old = w->rect;
    w->rect = QRect(x, y, std::max(0, width), std::max(0, height));
    PlaceWidget(*w);
    bool resized = old.size() != w->rect.size();
    if (resized) {
        ResizeBacking(*w);
        for (HWND h : w->children)
            if (Window* c = FindWindow(h))
                PlaceWidget(*c);
    }
    if (resized || repaint)
        Invalidate(*w);
    if (resized)
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(ClientWidth(*w)), WORD(ClientHeight(*w))));
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    if (!(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE)) {
        QRect r = w->rect;
        if (!(flags & SWP_NOMOVE))
            r.moveTo(x, y);
        if (!(flags & SWP_NOSIZE))
            r.setSize(QSize(cx, cy));
        MoveWindow(hwnd, r.x(), r.y(), r.width(), r.height(), !(flags & SWP_NOREDRAW));
    }
    if ((w = FindWindow(hwnd)) == nullptr)
        return FALSE;
    if (!(flags & SWP_NOZORDER) && (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST)) {
        if (insertAfter == HWND_TOPMOST)
            w->exStyle |= WS_EX_TOPMOST;
        if (!w->parent)
            RaiseTopLevel(*w);
        else if (w->widget)
            w->widget->raise();
    }
    if (flags & SWP_SHOWWINDOW)
        ShowWindow(hwnd, SW_SHOWNA);
    if (flags & SWP_HIDEWINDOW)
        ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
    Window* w = Live(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, ClientWidth(*w), ClientHeight(*w)};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
    Window* w = Live(hwnd);
    if (!w || !rect)
        return FALSE;
    QPoint o = WindowOriginOnScreen(*w);
    *rect = RECT{o.x(), o.y(), o.x() + w->rect.width(), o.y() + w->rect.height()};
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt)
{
    Window* w = Live(hwnd);
    if (!w || !pt)
        return FALSE;
    QPoint o = ClientOriginOnScreen(*w);
    pt->x -= o.x();
    pt->y -= o.y();
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt)
{
    Window* w = Live(hwnd);
    if (!w || !pt)
        return FALSE;
    QPoint o = ClientOriginOnScreen(*w);
    pt->x += o.x();
    pt->y += o.y();
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
    QPoint a, b;
    if (Window* w = Live(from))
        a = ClientOriginOnScreen(*w);
    if (Window* w = Live(to))
        b = ClientOriginOnScreen(*w);
    QPoint d = a - b;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += d.x();
        points[i].y += d.y();
    }
    return MAKELONG(WORD(short(d.x())), WORD(short(d.y())));
}

} // namespace ce
