#include "platform/ui/ImageList.h"
#include "platform/ui/WindowImpl.h"
#include <QPainter>
#include <vector>

namespace ce {

struct IMAGELIST__ {
    int cx = 0;
    int cy = 0;
    std::vector<QImage> images;
};

HIMAGELIST ImageList_LoadBitmap(UINT bitmapId, int cx, int /*grow*/, COLORREF mask)
{
    const QImage bitmap = impl::BitmapResource(bitmapId);
    if (bitmap.isNull() || cx <= 0 || bitmap.width() < cx)
        return nullptr;
    QImage strip = bitmap.convertToFormat(QImage::Format_ARGB32);
    if (mask != CLR_NONE) {
        const QRgb key = impl::ToQColor(mask).rgb() & RGB_MASK;
        for (int y = 0; y < strip.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
            for (int x = 0; x < strip.width(); ++x)
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0;
        }
    }
    auto* list = new IMAGELIST__;
    list->cx = cx;
    list->cy = strip.height();
    for (int x = 0; x + cx <= strip.width(); x += cx)
        list->images.push_back(strip.copy(x, 0, cx, strip.height()));
    return list;
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
    if (!list)
        return FALSE;
    delete list;
    return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
    return list ? int(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
    if (!list)
        return FALSE;
    if (cx)
        *cx = list->cx;
    if (cy)
        *cy = list->cy;
    return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT /*style*/)
{
    if (!list || index < 0 || index >= int(list->images.size()))
        return FALSE;
    auto painter = impl::PainterOf(hdc);
    if (!painter)
        return FALSE;
    painter->drawImage(x, y, list->images[std::size_t(index)]);
    return TRUE;
}

CImageList::~CImageList()
{
    DeleteImageList();
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    DeleteImageList();
    m_hImageList = ImageList_LoadBitmap(bitmapId, cx, grow, mask);
    return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return ImageList_Destroy(list);
}

} // namespace ce
