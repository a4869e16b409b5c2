// Drawing on the device: device contexts, brushes, pens, fonts and text.
// Every device context of a window draws into that window's backing image,
// so drawing outside WM_PAINT (a client-area context) shows as well. Text is
// drawn in the device font unless a font from CreateFontIndirectW is selected.
#pragma once
#include "platform/ui/WinDef.h"
#include <string>

namespace ce {

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_NULL = 5;

// Font weights.
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

// Raster operation for BitBlt.
constexpr DWORD SRCCOPY = 0x00CC0020;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

struct TEXTMETRICW {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A context on the window's client area (null: the whole device screen,
// read-only in effect). Release it with ReleaseDC.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HWND WindowFromDC(HDC hdc);

HGDIOBJ GetStockObject(int index);
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirectW(const LOGFONTW* font);
// Deleting a stock object, or an object selected into a live context, does nothing.
BOOL DeleteObject(HGDIOBJ object);
// Returns the object of the same kind previously selected.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, void* buffer);
HBRUSH GetSysColorBrush(int index);

int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);

// Fills with the selected brush and outlines with the selected pen; the
// right and bottom edges are exclusive, as classic.
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old);
BOOL LineTo(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);
// Draws the bitmap resource `id` at (x, y) at its natural size.
BOOL DrawBitmapResource(HDC hdc, UINT id, int x, int y);

// count -1: the text runs to its terminating zero.
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
// Measured with the font selected into hdc. With maxExtent < 0 (or fit null)
// every character is measured; fit receives how many fit into maxExtent.
BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx,
                           LPSIZE size);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics);

// Framework wrappers. A CGdiObject owns its handle unless it was attached
// with FromHandle; CBrush, CPen and CFont delete it in their destructors.
class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return m_hObject; }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color);
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return m_hObject; }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* font);
    operator HFONT() const { return m_hObject; }
    // A temporary wrapper that does not own the handle; valid until the
    // next call on this thread.
    static CFont* FromHandle(HFONT font);
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC hdc);
    HDC Detach();
    // A temporary wrapper that does not own the context; valid until the
    // next call on this thread.
    static CDC* FromHandle(HDC hdc);

    HGDIOBJ SelectObject(HGDIOBJ object) { return ce::SelectObject(m_hDC, object); }
    CFont* SelectObject(CFont* font);
    CGdiObject* SelectStockObject(int index);
    int SetBkMode(int mode) { return ce::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF c) { return ce::SetBkColor(m_hDC, c); }
    COLORREF SetTextColor(COLORREF c) { return ce::SetTextColor(m_hDC, c); }
    BOOL Rectangle(int l, int t, int r, int b) { return ce::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* r) { return ce::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    void FillRect(const RECT* r, HBRUSH brush) { ce::FillRect(m_hDC, r, brush); }
    void FillSolidRect(const RECT* r, COLORREF color);
    void FrameRect(const RECT* r, HBRUSH brush) { ce::FrameRect(m_hDC, r, brush); }
    BOOL MoveTo(int x, int y) { return ce::MoveToEx(m_hDC, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ce::LineTo(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ce::SetPixel(m_hDC, x, y, c); }
    COLORREF GetPixel(int x, int y) const { return ce::GetPixel(m_hDC, x, y); }
    int DrawText(const std::u16string& text, LPRECT rect, UINT format)
    {
        return ce::DrawTextW(m_hDC, text.c_str(), int(text.size()), rect, format);
    }
    BOOL TextOut(int x, int y, const std::u16string& text)
    {
        return ce::ExtTextOutW(m_hDC, x, y, 0, nullptr, text.c_str(), UINT(text.size()), nullptr);
    }
    CSize GetTextExtent(const std::u16string& text) const;
    BOOL GetTextMetrics(TEXTMETRICW* tm) const { return ce::GetTextMetricsW(m_hDC, tm); }
};

// BeginPaint/EndPaint around the object's life.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(class CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd = nullptr;
};

// GetDC/ReleaseDC around the object's life.
class CClientDC : public CDC {
public:
    explicit CClientDC(class CWnd* wnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

} // namespace ce
