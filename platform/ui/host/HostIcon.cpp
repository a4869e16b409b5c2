// The program's icon on the host window (and the full-screen backdrop).
#include "platform/core/Resources.h"
#include "platform/ui/WindowImpl.h"
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

namespace ce::impl {

void ShowProgramIcon(UINT id)
{
    const std::vector<BYTE>* icon = FindIcon(id);
    if (!icon)
        return;
    QImage image;
    if (image.loadFromData(icon->data(), int(icon->size()), "ICO"))
        QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(image)));
}

} // namespace ce::impl
