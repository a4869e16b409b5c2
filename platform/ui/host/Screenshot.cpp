// The device screen as a picture: what the screenshot option writes.
#include "platform/ui/host/HostShared.h"
#include "platform/ui/Host.h"

namespace ce::impl {

QImage GrabScreenImage()
{
    EnsureApplication();
    QImage image(ScreenWidth, ScreenHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    g_screen->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace ce::impl

namespace ce {

bool SaveScreenshot(const std::string& path)
{
    return impl::GrabScreenImage().save(QString::fromStdString(path), "PNG");
}

} // namespace ce
