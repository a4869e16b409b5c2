// Shapes, lines, pixels and bitmaps.
#include "platform/ui/gdi/GdiTables.h"
#include "platform/core/Resources.h"

namespace ce::impl {

namespace {

// Qt draws a 1-pixel rectangle outline on its right and bottom edges
// inclusive; GDI shapes keep their right and bottom edges exclusive.
void DrawRect(QPainter& p, const QRect& r, const GdiObject* brush, const GdiObject* pen)
{
    bool outline = pen && pen->color.isValid();
    if (brush && brush->color.isValid()) {
        QRect inner = outline ? r.adjusted(pen->penWidth, pen->penWidth, -pen->penWidth, -pen->penWidth) : r;
        p.fillRect(inner, brush->color);
    }
    if (outline) {
        int wdt = std::max(1, pen->penWidth);
        QColor c = pen->color;
        p.fillRect(QRect(r.left(), r.top(), r.width(), wdt), c);
        p.fillRect(QRect(r.left(), r.bottom() - wdt + 1, r.width(), wdt), c);
        p.fillRect(QRect(r.left(), r.top(), wdt, r.height()), c);
        p.fillRect(QRect(r.right() - wdt + 1, r.top(), wdt, r.height()), c);
    }
}

} // namespace

QImage BitmapResource(UINT id)
{
    const std::vector<BYTE>* bytes = FindBitmap(id);
    if (!bytes || bytes->empty())
        return QImage();
    return QImage::fromData(bytes->data(), int(bytes->size()), "BMP");
}

} // namespace ce::impl

namespace ce {

using namespace impl;

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    return Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        QRect r(QPoint(std::min(left, right), std::min(top, bottom)),
                QPoint(std::max(left, right) - 1, std::max(top, bottom) - 1));
        DrawRect(p, r, Selected(dc, Kind::Brush), Selected(dc, Kind::Pen));
    });
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    if (!rect)
        return 0;
    QColor color = BrushColor(brush);
    return Draw(hdc, [&](QPainter& p, DeviceContext&) {
        if (color.isValid())
            p.fillRect(QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)), color);
    });
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    if (!rect)
        return 0;
    GdiObject pen;
    pen.kind = Kind::Pen;
    pen.color = BrushColor(brush);
    return Draw(hdc, [&](QPainter& p, DeviceContext&) {
        DrawRect(p, QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)), nullptr, &pen);
    });
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = POINT{dc->position.x(), dc->position.y()};
    dc->position = QPoint(x, y);
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    return Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        QPoint from = dc.position;
        QPoint to(x, y);
        dc.position = to;
        GdiObject* pen = Selected(dc, Kind::Pen);
        if (!pen || !pen->color.isValid() || from == to)
            return;
        // The end point is not drawn.
        QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
        QPoint last = to - step;
        p.setPen(QPen(pen->color, pen->penWidth, pen->penStyle, Qt::SquareCap));
        if (last == from)
            p.drawPoint(from);
        else
            p.drawLine(from, last);
    });
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    BOOL ok = Draw(hdc, [&](QPainter& p, DeviceContext&) { p.fillRect(QRect(x, y, 1, 1), ToQColor(color)); });
    return ok ? color : CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    Window* w = dc ? TargetWindow(*dc) : nullptr;
    if (!w)
        return CLR_INVALID;
    QRect client = ClientRectInWidget(*w);
    QPoint pt = QPoint(x, y) + client.topLeft();
    if (x < 0 || y < 0 || x >= client.width() || y >= client.height() || !w->backing.rect().contains(pt))
        return CLR_INVALID;
    return ToColorRef(QColor(w->backing.pixel(pt)));
}

BOOL DrawBitmapResource(HDC hdc, UINT id, int x, int y)
{
    QImage image = BitmapResource(id);
    if (image.isNull())
        return FALSE;
    return Draw(hdc, [&](QPainter& p, DeviceContext&) { p.drawImage(x, y, image); });
}

} // namespace ce
