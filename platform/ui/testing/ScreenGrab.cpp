// Grabs of what the device screen shows, pixel by pixel.
#include "platform/ui/testing/ScreenGrab.h"
#include "platform/ui/WindowImpl.h"
#include <QIcon>

namespace ce {

using namespace impl;

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

ScreenImage GrabScreen()
{
    return FromQImage(GrabScreenImage());
}

ScreenImage GrabWindow(HWND hwnd)
{
    RECT rc;
    if (!GetWindowRect(hwnd, &rc))
        return ScreenImage();
    return FromQImage(GrabScreenImage().copy(QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top)));
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

SIZE HostWindowIconSize()
{
    EnsureApplication();
    const QList<QSize> sizes = ScreenWidget()->window()->windowIcon().availableSizes();
    return sizes.isEmpty() ? SIZE{0, 0} : SIZE{sizes.front().width(), sizes.front().height()};
}

} // namespace ce
