// The drawing tables (GDI objects and device contexts) and the helpers the
// drawing files share; only platform/ui/gdi/*.cpp include this.
#pragma once
#include "platform/ui/Gdi.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QFontMetrics>
#include <QPainter>
#include <map>
#include <mutex>

namespace ce::impl {

enum class Kind { Brush, Pen, Font, Bitmap };

struct GdiObject {
    Kind kind = Kind::Brush;
    bool stock = false;
    QColor color;          // brushes, pens; invalid: null
    int penWidth = 1;
    Qt::PenStyle penStyle = Qt::SolidLine;
    QFont font;
    LOGFONTW logFont;
    std::unique_ptr<CGdiObject> wrapper; // FromHandle's
};

struct DeviceContext {
    HWND hwnd = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ pen = nullptr;
    HGDIOBJ font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    QPoint position;
    std::unique_ptr<CDC> wrapper; // FromHandle's
};

constexpr std::uintptr_t StockBase = 0x100;
constexpr std::uintptr_t SysBrushBase = 0x200;

std::recursive_mutex& GdiMutex();
std::map<std::uintptr_t, GdiObject>& Objects();
std::map<std::uintptr_t, DeviceContext>& Contexts();
HGDIOBJ Handle(std::uintptr_t v);
GdiObject* Object(HGDIOBJ h);
DeviceContext* Context(HDC hdc);
HGDIOBJ AddObject(GdiObject object);
void InitStockObjects();
HDC NewContext(HWND hwnd);
void DeleteContext(HDC hdc);
GdiObject* Selected(const DeviceContext& dc, Kind kind);
Window* TargetWindow(const DeviceContext& dc);
std::unique_ptr<QPainter> Painter(DeviceContext& dc);
int AverageCharWidth(const QFontMetrics& fm);

// Runs draw with a painter set up for the context, then shows the window.
template <class F>
BOOL Draw(HDC hdc, F draw)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    if (!dc)
        return FALSE;
    auto p = Painter(*dc);
    if (!p)
        return FALSE;
    draw(*p, *dc);
    p.reset();
    if (Window* w = TargetWindow(*dc))
        Refresh(*w);
    return TRUE;
}

} // namespace ce::impl
