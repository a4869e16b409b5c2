// Brushes, pens and fonts: the table of GDI objects, the stock ones and
// the device contexts drawing on the windows' backing images.
#include "platform/ui/gdi/GdiTables.h"

namespace ce::impl {

std::recursive_mutex& GdiMutex()
{
    static auto* m = new std::recursive_mutex;
    return *m;
}

std::map<std::uintptr_t, GdiObject>& Objects()
{
    static auto* objects = new std::map<std::uintptr_t, GdiObject>;
    return *objects;
}

std::map<std::uintptr_t, DeviceContext>& Contexts()
{
    static auto* contexts = new std::map<std::uintptr_t, DeviceContext>;
    return *contexts;
}

namespace {

std::uintptr_t g_nextObject = 0x1000;
std::uintptr_t g_nextContext = 0x1000;

} // namespace

HGDIOBJ Handle(std::uintptr_t v)
{
    return reinterpret_cast<HGDIOBJ>(v);
}

GdiObject* Object(HGDIOBJ h)
{
    auto it = Objects().find(reinterpret_cast<std::uintptr_t>(h));
    return it == Objects().end() ? nullptr : &it->second;
}

DeviceContext* Context(HDC hdc)
{
    auto it = Contexts().find(reinterpret_cast<std::uintptr_t>(hdc));
    return it == Contexts().end() ? nullptr : &it->second;
}

HGDIOBJ AddObject(GdiObject object)
{
    std::lock_guard lock(GdiMutex());
    std::uintptr_t h = g_nextObject++;
    Objects().emplace(h, std::move(object));
    return Handle(h);
}

void InitStockObjects()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    auto brush = [](int index, QColor c) {
        GdiObject o;
        o.kind = Kind::Brush;
        o.stock = true;
        o.color = c;
        Objects().emplace(StockBase + std::uintptr_t(index), std::move(o));
    };
    brush(WHITE_BRUSH, Qt::white);
    brush(LTGRAY_BRUSH, QColor(192, 192, 192));
    brush(GRAY_BRUSH, QColor(128, 128, 128));
    brush(DKGRAY_BRUSH, QColor(64, 64, 64));
    brush(BLACK_BRUSH, Qt::black);
    brush(NULL_BRUSH, QColor());
    auto pen = [](int index, QColor c) {
        GdiObject o;
        o.kind = Kind::Pen;
        o.stock = true;
        o.color = c;
        Objects().emplace(StockBase + std::uintptr_t(index), std::move(o));
    };
    pen(WHITE_PEN, Qt::white);
    pen(BLACK_PEN, Qt::black);
    pen(NULL_PEN, QColor());
    for (int index : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
        GdiObject o;
        o.kind = Kind::Font;
        o.stock = true;
        o.font = DeviceFont();
        o.logFont.lfHeight = QFontMetrics(o.font).height();
        o.logFont.lfWeight = FW_NORMAL;
        Objects().emplace(StockBase + std::uintptr_t(index), std::move(o));
    }
}

HDC NewContext(HWND hwnd)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    std::uintptr_t h = g_nextContext++;
    DeviceContext dc;
    dc.hwnd = hwnd;
    dc.brush = Handle(StockBase + WHITE_BRUSH);
    dc.pen = Handle(StockBase + BLACK_PEN);
    dc.font = Handle(StockBase + SYSTEM_FONT);
    Contexts().emplace(h, std::move(dc));
    return reinterpret_cast<HDC>(h);
}

void DeleteContext(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    auto it = Contexts().find(reinterpret_cast<std::uintptr_t>(hdc));
    if (it == Contexts().end())
        return;
    if (it->second.wrapper)
        it->second.wrapper->m_hDC = nullptr;
    Contexts().erase(it);
}

QFont FontOf(HFONT font)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    GdiObject* o = Object(font);
    return (o && o->kind == Kind::Font) ? o->font : DeviceFont();
}

QFont WindowFont(const Window& w)
{
    return FontOf(w.font);
}

QColor ToQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

COLORREF ToColorRef(const QColor& c)
{
    return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()));
}

QColor BrushColor(HBRUSH brush)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    auto v = reinterpret_cast<std::uintptr_t>(brush);
    if (v >= 1 && v <= 31)
        brush = GetSysColorBrush(int(v) - 1);
    GdiObject* o = Object(brush);
    return (o && o->kind == Kind::Brush) ? o->color : QColor();
}

} // namespace ce::impl

namespace ce {

using namespace impl;

HGDIOBJ GetStockObject(int index)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    HGDIOBJ h = Handle(StockBase + std::uintptr_t(index));
    return Object(h) ? h : nullptr;
}

HBRUSH GetSysColorBrush(int index)
{
    std::lock_guard lock(GdiMutex());
    std::uintptr_t h = SysBrushBase + std::uintptr_t(index & 0xFF);
    if (!Objects().count(h)) {
        GdiObject o;
        o.kind = Kind::Brush;
        o.stock = true;
        o.color = ToQColor(GetSysColor(index));
        Objects().emplace(h, std::move(o));
    }
    return Handle(h);
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    GdiObject o;
    o.kind = Kind::Brush;
    o.color = ToQColor(color);
    return AddObject(std::move(o));
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    GdiObject o;
    o.kind = Kind::Pen;
    o.color = style == PS_NULL ? QColor() : ToQColor(color);
    o.penWidth = std::max(1, width);
    o.penStyle = style == PS_DASH ? Qt::DashLine : Qt::SolidLine;
    return AddObject(std::move(o));
}

HFONT CreateFontIndirectW(const LOGFONTW* lf)
{
    if (!lf)
        return nullptr;
    QFont font = DeviceFont();
    if (lf->lfHeight < 0) {
        font.setPixelSize(std::max(1, int(-lf->lfHeight)));
    } else if (lf->lfHeight > 0) {
        // A positive height is the cell height (ascent + descent).
        QFont probe = font;
        probe.setPixelSize(100);
        int cell = QFontMetrics(probe).height();
        font.setPixelSize(std::max(1, int((lf->lfHeight * 100 + cell / 2) / cell)));
    }
    font.setBold(lf->lfWeight >= 600);
    font.setItalic(lf->lfItalic != 0);
    font.setUnderline(lf->lfUnderline != 0);
    font.setStrikeOut(lf->lfStrikeOut != 0);
    GdiObject o;
    o.kind = Kind::Font;
    o.font = font;
    o.logFont = *lf;
    return AddObject(std::move(o));
}

BOOL DeleteObject(HGDIOBJ object)
{
    std::lock_guard lock(GdiMutex());
    auto it = Objects().find(reinterpret_cast<std::uintptr_t>(object));
    if (it == Objects().end())
        return FALSE;
    if (it->second.stock)
        return TRUE;
    for (auto& [h, dc] : Contexts())
        if (dc.brush == object || dc.pen == object || dc.font == object)
            return FALSE;
    if (it->second.wrapper)
        it->second.wrapper->m_hObject = nullptr;
    Objects().erase(it);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    GdiObject* o = Object(object);
    if (!dc || !o)
        return nullptr;
    switch (o->kind) {
    case Kind::Brush:
        return std::exchange(dc->brush, object);
    case Kind::Pen:
        return std::exchange(dc->pen, object);
    case Kind::Font:
        return std::exchange(dc->font, object);
    default:
        return nullptr;
    }
}

int GetObjectW(HGDIOBJ object, int size, void* buffer)
{
    std::lock_guard lock(GdiMutex());
    GdiObject* o = Object(object);
    if (!o || o->kind != Kind::Font)
        return 0;
    if (!buffer)
        return int(sizeof(LOGFONTW));
    if (size < int(sizeof(LOGFONTW)))
        return 0;
    *static_cast<LOGFONTW*>(buffer) = o->logFont;
    return int(sizeof(LOGFONTW));
}

} // namespace ce
