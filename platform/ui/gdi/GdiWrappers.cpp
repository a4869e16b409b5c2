// The framework's classes over GDI objects and device contexts.
#include "platform/ui/gdi/GdiTables.h"

namespace ce {

using namespace impl;

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
