// When a window paints: invalidation, WM_PAINT and the caption and border.
#include "platform/ui/window/WindowRegistry.h"
#include <QPainter>

namespace ce::impl {

void Invalidate(Window& w, bool erase)
{
    w.invalid = true;
    w.erase = w.erase || erase;
    if (w.widget)
        w.widget->update();
}

void Refresh(Window& w)
{
    if (w.widget)
        w.widget->update();
}

void PaintNonClient(Window& w)
{
    int b = BorderWidth(w);
    int cap = CaptionHeight(w);
    if (!b && !cap)
        return;
    QPainter p(&w.backing);
    QRect r(0, 0, w.rect.width(), w.rect.height());
    if (b) {
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (!cap)
        return;
    QRect bar(b, b, r.width() - 2 * b, cap);
    p.fillRect(bar, ToQColor(GetSysColor(COLOR_ACTIVECAPTION)));
    QFont font = DeviceFont();
    font.setBold(true);
    p.setFont(font);
    p.setPen(ToQColor(GetSysColor(COLOR_CAPTIONTEXT)));
    QRect textRect = bar.adjusted(4, 0, (w.style & WS_SYSMENU) ? -CloseBoxWidth - 2 : -2, 0);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               QFontMetrics(font).elidedText(DisplayText(w.text), Qt::ElideRight, textRect.width()));
    if (w.style & WS_SYSMENU) {
        QRect box(bar.right() - CloseBoxWidth + 2, bar.top() + 2, CloseBoxWidth - 4, cap - 4);
        p.fillRect(box, ToQColor(GetSysColor(COLOR_BTNFACE)));
        p.setPen(Qt::black);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        QRect x = box.adjusted(4, 3, -5, -4);
        p.drawLine(x.topLeft(), x.bottomRight());
        p.drawLine(x.topRight(), x.bottomLeft());
    }
}

void PaintWindow(Window& w)
{
    if (!w.invalid)
        return;
    PaintNonClient(w);
    SendMessageW(w.hwnd, WM_PAINT, 0, 0);
    if (Window* again = FindWindow(w.hwnd))
        again->invalid = false;
}

} // namespace ce::impl

namespace ce {

using namespace impl;

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase)
{
    if (!IsUiThread()) {
        if (!IsWindow(hwnd))
            return FALSE;
        PostToUiThread([hwnd, erase] { InvalidateRect(hwnd, nullptr, erase); });
        return TRUE;
    }
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    Invalidate(*w, erase);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    w->invalid = false;
    w->erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    if (!IsUiThread()) {
        if (!IsWindow(hwnd))
            return FALSE;
        PostToUiThread([hwnd] { UpdateWindow(hwnd); });
        return TRUE;
    }
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    PaintWindow(*w);
    if ((w = FindWindow(hwnd)) != nullptr)
        Refresh(*w);
    return TRUE;
}

} // namespace ce
