// Taps, clicks and wheel turns delivered as if they came from the touch
// screen or the mouse, and grabs of what the device screen shows.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

namespace ce {

using namespace impl;

void SimulateMouse(HWND hwnd, UINT message, int x, int y)
{
    MSG msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = (message == WM_LBUTTONUP) ? 0 : MK_LBUTTON;
    msg.lParam = MAKELPARAM(WORD(short(x)), WORD(short(y)));
    msg.pt = POINT{x, y};
    DeliverInput(msg);
}

void SimulateTap(int x, int y)
{
    EnsureApplication();
    QPoint pos(x, y);
    QWidget* target = g_screen->childAt(pos);
    if (!target)
        target = g_screen;
    QPointer<QWidget> guard(target);
    QPointF local = target->mapFrom(g_screen, QPointF(pos));
    QPointF global = g_screen->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    if (!guard)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void SimulateWheel(int x, int y, int delta)
{
    EnsureApplication();
    QPoint pos(x, y);
    QWidget* target = g_screen->childAt(pos);
    if (!target)
        target = g_screen;
    QWheelEvent wheel(target->mapFrom(g_screen, QPointF(pos)), g_screen->mapToGlobal(QPointF(pos)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &wheel);
}

static ScreenImage FromQImage(const QImage& image)
{
    ScreenImage out;
    out.width = image.width();
    out.height = image.height();
    out.pixels.resize(std::size_t(out.width) * std::size_t(out.height));
    for (int y = 0; y < out.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < out.width; ++x)
            out.pixels[std::size_t(y) * std::size_t(out.width) + std::size_t(x)] =
                RGB(BYTE(qRed(line[x])), BYTE(qGreen(line[x])), BYTE(qBlue(line[x])));
    }
    return out;
}

static QImage GrabImage()
{
    EnsureApplication();
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    g_screen->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

ScreenImage GrabScreen()
{
    return FromQImage(GrabImage());
}

ScreenImage GrabWindow(HWND hwnd)
{
    RECT rc;
    if (!GetWindowRect(hwnd, &rc))
        return ScreenImage();
    return FromQImage(GrabImage().copy(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top)));
}

bool ScreenImage::SavePng(const std::string& path) const
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = Pixel(x, y);
            image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return image.save(QString::fromStdString(path), "PNG");
}

} // namespace ce
