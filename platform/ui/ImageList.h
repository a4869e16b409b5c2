// Image lists: a strip of equally wide images cut from a bitmap resource,
// drawn with one colour made transparent.
#pragma once
#include "platform/ui/Gdi.h"

namespace ce {

struct IMAGELIST__;
using HIMAGELIST = IMAGELIST__*;

constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;

// Cuts bitmap resource `bitmapId` into images `cx` pixels wide (as high as
// the bitmap); pixels of colour `mask` become transparent (CLR_NONE: none).
// Null when the bitmap is missing or narrower than cx.
HIMAGELIST ImageList_LoadBitmap(UINT bitmapId, int cx, int grow, COLORREF mask);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Draws image `index` with its top left at (x, y) of the context.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style);

class CImageList {
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    // From a bitmap resource; replaces a list made before. TRUE on success.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL Draw(CDC* dc, int index, POINT pt, UINT style) const
    {
        return ImageList_Draw(m_hImageList, index, dc->GetSafeHdc(), pt.x, pt.y, style);
    }
};

} // namespace ce
