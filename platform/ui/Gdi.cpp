// Drawing: GDI objects, device contexts on the windows' backing images, text.
#include "platform/ui/Gdi.h"
#include "platform/core/CodePage.h"
#include "platform/core/Resources.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <map>
#include <mutex>

namespace ce::impl {
namespace {

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

constexpr std::uintptr_t kStockBase = 0x100;
constexpr std::uintptr_t kSysBrushBase = 0x200;

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

std::uintptr_t g_nextObject = 0x1000;
std::uintptr_t g_nextContext = 0x1000;

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
        Objects().emplace(kStockBase + std::uintptr_t(index), std::move(o));
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
        Objects().emplace(kStockBase + std::uintptr_t(index), std::move(o));
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
        Objects().emplace(kStockBase + std::uintptr_t(index), std::move(o));
    }
}

GdiObject* Selected(const DeviceContext& dc, Kind kind)
{
    HGDIOBJ h = kind == Kind::Brush ? dc.brush : kind == Kind::Pen ? dc.pen : dc.font;
    return Object(h);
}

Window* TargetWindow(const DeviceContext& dc)
{
    return FindWindow(dc.hwnd);
}

std::unique_ptr<QPainter> Painter(DeviceContext& dc)
{
    Window* w = TargetWindow(dc);
    if (!w || w->backing.isNull())
        return nullptr;
    auto p = std::make_unique<QPainter>(&w->backing);
    QRect client = ClientRectInWidget(*w);
    p->setClipRect(client);
    p->translate(client.topLeft());
    if (GdiObject* f = Selected(dc, Kind::Font))
        p->setFont(f->font);
    else
        p->setFont(DeviceFont());
    return p;
}

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

QString StripPrefix(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return out;
}

// Greedy word wrapping of one paragraph into lines no wider than width; a
// word wider than the line stays whole on its own line.
QStringList WrapParagraph(const QString& paragraph, const QFontMetrics& fm, int width)
{
    QStringList lines;
    QString line;
    qsizetype i = 0;
    while (i < paragraph.size()) {
        qsizetype end = i;
        while (end < paragraph.size() && paragraph[end] != u' ')
            ++end;
        while (end < paragraph.size() && paragraph[end] == u' ')
            ++end;
        QString word = paragraph.mid(i, end - i);
        QString candidate = line + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate.trimmed()) > width) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
        i = end;
    }
    lines << line;
    return lines;
}

}

int AverageCharWidth(const QFontMetrics& fm)
{
    static const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (fm.horizontalAdvance(alphabet) / 26 + 1) / 2;
}

int DrawTextIn(QPainter& p, const std::u16string& utf16, QRect& rect, UINT format, const QColor* background)
{
    QFontMetrics fm(p.font());
    QString text = DisplayText(utf16);
    if (!(format & DT_NOPREFIX))
        text = StripPrefix(text);
    if (format & DT_EXPANDTABS)
        text.replace(u'\t', QStringLiteral("        "));
    QStringList lines;
    if (format & DT_SINGLELINE) {
        text.remove(u'\r');
        text.replace(u'\n', u' ');
        if ((format & DT_END_ELLIPSIS) && !(format & DT_CALCRECT))
            text = fm.elidedText(text, Qt::ElideRight, rect.width());
        lines << text;
    } else {
        text.remove(u'\r');
        for (const QString& paragraph : text.split(u'\n')) {
            if (format & DT_WORDBREAK)
                lines << WrapParagraph(paragraph, fm, rect.width());
            else
                lines << paragraph;
        }
    }
    int lineHeight = fm.height();
    int height = lineHeight * int(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, fm.horizontalAdvance(line));
        rect.setWidth(widest);
        rect.setHeight(height);
        return height;
    }
    int y = rect.top();
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = rect.top() + (rect.height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = rect.bottom() + 1 - lineHeight;
    }
    p.save();
    if (!(format & DT_NOCLIP))
        p.setClipRect(rect, Qt::IntersectClip);
    for (const QString& line : lines) {
        int width = fm.horizontalAdvance(line);
        int x = rect.left();
        if (format & DT_CENTER)
            x = rect.left() + (rect.width() - width) / 2;
        else if (format & DT_RIGHT)
            x = rect.right() + 1 - width;
        if (background)
            p.fillRect(QRect(x, y, width, lineHeight), *background);
        p.drawText(QPoint(x, y + fm.ascent()), line);
        y += lineHeight;
    }
    p.restore();
    return height;
}

std::unique_ptr<QPainter> PainterOf(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    if (!dc)
        return nullptr;
    auto p = Painter(*dc);
    if (!p)
        return nullptr;
    if (GdiObject* pen = Selected(*dc, Kind::Pen); pen && pen->color.isValid())
        p->setPen(QPen(pen->color, pen->penWidth, pen->penStyle));
    else
        p->setPen(Qt::NoPen);
    if (GdiObject* brush = Selected(*dc, Kind::Brush); brush && brush->color.isValid())
        p->setBrush(brush->color);
    else
        p->setBrush(Qt::NoBrush);
    if (Window* w = TargetWindow(*dc))
        Refresh(*w);
    return p;
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

QFont FontOfDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    GdiObject* f = dc ? Selected(*dc, Kind::Font) : nullptr;
    return f ? f->font : DeviceFont();
}

COLORREF TextColorOfDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->textColor : RGB(0, 0, 0);
}

QString DisplayText(std::u16string_view text)
{
    QString shown = QString::fromUtf16(text.data(), qsizetype(text.size()));
    for (QChar& c : shown) {
        if (IsUndecodableByte(c.unicode()))
            c = QChar(QChar::ReplacementCharacter);
    }
    return shown;
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

namespace {

HDC NewContext(HWND hwnd)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    std::uintptr_t h = g_nextContext++;
    DeviceContext dc;
    dc.hwnd = hwnd;
    dc.brush = Handle(kStockBase + WHITE_BRUSH);
    dc.pen = Handle(kStockBase + BLACK_PEN);
    dc.font = Handle(kStockBase + SYSTEM_FONT);
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

} // namespace

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps)
{
    Window* w = FindWindow(hwnd);
    if (!w || !ps)
        return nullptr;
    HDC hdc = NewContext(hwnd);
    w->invalid = false;
    *ps = PAINTSTRUCT();
    ps->hdc = hdc;
    GetClientRect(hwnd, &ps->rcPaint);
    if (w->erase) {
        w->erase = false;
        ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) ? FALSE : TRUE;
    }
    return hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps)
        return FALSE;
    DeleteContext(ps->hdc);
    if (Window* w = FindWindow(hwnd))
        Refresh(*w);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd && !FindWindow(hwnd))
        return nullptr;
    return NewContext(hwnd);
}

int ReleaseDC(HWND, HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    if (!Context(hdc))
        return 0;
    DeleteContext(hdc);
    return 1;
}

HWND WindowFromDC(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->hwnd : nullptr;
}

HGDIOBJ GetStockObject(int index)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    HGDIOBJ h = Handle(kStockBase + std::uintptr_t(index));
    return Object(h) ? h : nullptr;
}

HBRUSH GetSysColorBrush(int index)
{
    std::lock_guard lock(GdiMutex());
    std::uintptr_t h = kSysBrushBase + std::uintptr_t(index & 0xFF);
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

int SetBkMode(HDC hdc, int mode)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->bkMode, mode) : 0;
}

int GetBkMode(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->bkMode : 0;
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->bkColor, color) : CLR_INVALID;
}

COLORREF GetBkColor(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->bkColor : CLR_INVALID;
}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? std::exchange(dc->textColor, color) : CLR_INVALID;
}

COLORREF GetTextColor(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    return dc ? dc->textColor : CLR_INVALID;
}

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

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    if (!text || !rect)
        return 0;
    std::u16string s = count < 0 ? std::u16string(text) : std::u16string(text, std::size_t(count));
    int height = 0;
    if (format & DT_CALCRECT) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter p(&scratch);
        p.setFont(FontOfDC(hdc));
        QRect r(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
        height = DrawTextIn(p, s, r, format, nullptr);
        rect->right = rect->left + r.width();
        rect->bottom = rect->top + r.height();
        return height;
    }
    Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        p.setPen(ToQColor(dc.textColor));
        QColor bk = ToQColor(dc.bkColor);
        QRect r(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
        height = DrawTextIn(p, s, r, format, dc.bkMode == OPAQUE ? &bk : nullptr);
    });
    return height;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT, const RECT*, LPCWSTR text, UINT count, const int*)
{
    if (!text)
        return FALSE;
    std::u16string s(text, count);
    return Draw(hdc, [&](QPainter& p, DeviceContext& dc) {
        QFontMetrics fm(p.font());
        QString line = DisplayText(s);
        if (dc.bkMode == OPAQUE)
            p.fillRect(QRect(x, y, fm.horizontalAdvance(line), fm.height()), ToQColor(dc.bkColor));
        p.setPen(ToQColor(dc.textColor));
        p.drawText(QPoint(x, y + fm.ascent()), line);
    });
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size)
{
    return GetTextExtentExPointW(hdc, text, count, -1, nullptr, nullptr, size);
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, LPSIZE size)
{
    if (!text || count < 0 || !size)
        return FALSE;
    {
        std::lock_guard lock(GdiMutex());
        if (!Context(hdc))
            return FALSE;
    }
    QFontMetrics fm(FontOfDC(hdc));
    QString s = DisplayText(std::u16string_view(text, std::size_t(count)));
    size->cx = fm.horizontalAdvance(s);
    size->cy = fm.height();
    if (fit || dx) {
        int fitted = 0;
        for (int i = 1; i <= count; ++i) {
            int w = fm.horizontalAdvance(s.left(i));
            if (dx)
                dx[i - 1] = w;
            if (maxExtent >= 0 && w <= maxExtent)
                fitted = i;
        }
        if (fit)
            *fit = maxExtent < 0 ? count : fitted;
    }
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm)
{
    if (!tm)
        return FALSE;
    {
        std::lock_guard lock(GdiMutex());
        if (!Context(hdc))
            return FALSE;
    }
    QFont font = FontOfDC(hdc);
    QFontMetrics fm(font);
    tm->tmHeight = fm.height();
    tm->tmAscent = fm.ascent();
    tm->tmDescent = fm.descent();
    tm->tmInternalLeading = 0;
    tm->tmExternalLeading = fm.leading();
    tm->tmAveCharWidth = AverageCharWidth(fm);
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = font.bold() ? FW_BOLD : FW_NORMAL;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Framework wrappers

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (m_hObject || !object)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ce::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index)
{
    return Attach(GetStockObject(index));
}

CBrush::CBrush(COLORREF color)
{
    CreateSolidBrush(color);
}

BOOL CBrush::CreateSolidBrush(COLORREF color)
{
    return Attach(ce::CreateSolidBrush(color));
}

CPen::CPen(int style, int width, COLORREF color)
{
    CreatePen(style, width, color);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    return Attach(ce::CreatePen(style, width, color));
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font)
{
    return Attach(CreateFontIndirectW(font));
}

static CGdiObject* WrapperOf(HGDIOBJ h)
{
    std::lock_guard lock(GdiMutex());
    InitStockObjects();
    GdiObject* o = Object(h);
    if (!o)
        return nullptr;
    if (!o->wrapper) {
        switch (o->kind) {
        case Kind::Font:
            o->wrapper = std::make_unique<CFont>();
            break;
        case Kind::Pen:
            o->wrapper = std::make_unique<CPen>();
            break;
        default:
            o->wrapper = std::make_unique<CBrush>();
            break;
        }
        o->wrapper->m_hObject = h;
    }
    return o->wrapper.get();
}

CFont* CFont::FromHandle(HFONT font)
{
    return dynamic_cast<CFont*>(WrapperOf(font));
}

BOOL CDC::Attach(HDC hdc)
{
    if (m_hDC || !hdc)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach()
{
    return std::exchange(m_hDC, nullptr);
}

CDC* CDC::FromHandle(HDC hdc)
{
    std::lock_guard lock(GdiMutex());
    DeviceContext* dc = Context(hdc);
    if (!dc)
        return nullptr;
    if (!dc->wrapper) {
        dc->wrapper = std::make_unique<CDC>();
        dc->wrapper->m_hDC = hdc;
    }
    return dc->wrapper.get();
}

CFont* CDC::SelectObject(CFont* font)
{
    if (!font)
        return nullptr;
    return CFont::FromHandle(ce::SelectObject(m_hDC, font->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return WrapperOf(ce::SelectObject(m_hDC, GetStockObject(index)));
}

void CDC::FillSolidRect(const RECT* r, COLORREF color)
{
    if (!r)
        return;
    ce::SetBkColor(m_hDC, color);
    Draw(m_hDC, [&](QPainter& p, DeviceContext&) {
        p.fillRect(QRect(QPoint(r->left, r->top), QPoint(r->right - 1, r->bottom - 1)), ToQColor(color));
    });
}

CSize CDC::GetTextExtent(const std::u16string& text) const
{
    SIZE size;
    ce::GetTextExtentPoint32W(m_hDC, text.c_str(), int(text.size()), &size);
    return CSize(size);
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    m_hDC = BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC)
        EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr)
{
    m_hDC = ce::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC)
        ce::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

} // namespace ce

namespace ce {

using impl::AverageCharWidth;

SIZE GetDialogBaseUnits()
{
    QFontMetrics fm(DeviceFont());
    return SIZE{AverageCharWidth(fm), fm.height()};
}

} // namespace ce
