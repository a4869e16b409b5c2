#include "platform/ui/CommandBar.h"
#include <algorithm>

namespace ce {

namespace {

constexpr COLORREF BarFace = RGB(192, 192, 192);
constexpr COLORREF BarText = RGB(0, 0, 0);
constexpr COLORREF PressedFace = RGB(0, 0, 128);
constexpr COLORREF PressedText = RGB(255, 255, 255);
constexpr COLORREF GrayedText = RGB(128, 128, 128);
constexpr int ButtonPadding = 8;
constexpr int ItemHeight = 18;
constexpr int SeparatorHeight = 7;
constexpr int ItemIndent = 10;

// "A&brir" is shown as "Abrir"; "&&" stands for one ampersand.
std::u16string WithoutMnemonic(const std::u16string& text)
{
    std::u16string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

int TextWidth(HWND hwnd, const std::u16string& text)
{
    HDC dc = GetDC(hwnd);
    SIZE size;
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    ReleaseDC(hwnd, dc);
    return size.cx;
}

} // namespace

// The open pop-up of a command bar: a top-level window below its button
// that holds the stylus until an item is chosen or the tap lands elsewhere.
class CMenuPopup : public CWnd {
public:
    CMenuPopup(CCommandBar& bar, HMENU menu) : bar_(bar), menu_(menu) {}

    BOOL Open(POINT topLeft)
    {
        int width = 80;
        int height = 0;
        for (int i = 0; i < GetMenuItemCount(menu_); ++i) {
            const std::u16string text = WithoutMnemonic(GetMenuText(menu_, UINT(i), MF_BYPOSITION));
            width = std::max(width, TextWidth(bar_.m_hWnd, text) + 2 * ItemIndent);
            height += ItemRowHeight(i);
        }
        const int border = 2;
        // A failed creation leaves the object to the caller.
        opening_ = true;
        const BOOL created = CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), nullptr, WS_POPUP | WS_BORDER | WS_VISIBLE,
                                      topLeft.x, topLeft.y, width + border, height + border,
                                      ce::GetParent(bar_.m_hWnd), nullptr);
        opening_ = false;
        if (!created)
            return FALSE;
        previousFocus_ = ce::GetFocus();
        SetCapture();
        return TRUE;
    }

    // Closes without a choice.
    void Dismiss() { Finish(0); }

protected:
    // However the window ends, the bar forgets it.
    void PostNcDestroy() override
    {
        if (opening_)
            return;
        bar_.PopupClosed();
        delete this;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_LBUTTONDOWN:
            if (ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) < 0 && !InClient(lParam))
                Dismiss();
            return 0;
        case WM_LBUTTONUP: {
            const int item = ItemAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            if (item >= 0)
                Finish(GetMenuItemID(menu_, item));
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE)
                Dismiss();
            return 0;
        case WM_CLOSE:
            Dismiss();
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    int ItemRowHeight(int index) const
    {
        return (GetMenuState(menu_, UINT(index), MF_BYPOSITION) & MF_SEPARATOR) ? SeparatorHeight : ItemHeight;
    }

    bool InClient(LPARAM lParam) const
    {
        CRect client;
        GetClientRect(&client);
        return client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    }

    // The enabled command item under the point, or -1.
    int ItemAt(int x, int y) const
    {
        CRect client;
        GetClientRect(&client);
        if (x < client.left || x >= client.right)
            return -1;
        int top = 0;
        for (int i = 0; i < GetMenuItemCount(menu_); ++i) {
            const int bottom = top + ItemRowHeight(i);
            if (y >= top && y < bottom) {
                const UINT state = GetMenuState(menu_, UINT(i), MF_BYPOSITION);
                return (state & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED)) ? -1 : i;
            }
            top = bottom;
        }
        return -1;
    }

    void Paint()
    {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(255, 255, 255));
        dc.SetBkMode(TRANSPARENT);
        int top = 0;
        for (int i = 0; i < GetMenuItemCount(menu_); ++i) {
            const UINT state = GetMenuState(menu_, UINT(i), MF_BYPOSITION);
            const int height = ItemRowHeight(i);
            if (state & MF_SEPARATOR) {
                dc.MoveTo(2, top + height / 2);
                dc.LineTo(client.right - 2, top + height / 2);
            } else {
                CRect row(ItemIndent, top, client.right, top + height);
                dc.SetTextColor((state & (MF_GRAYED | MF_DISABLED)) ? GrayedText : BarText);
                dc.DrawText(WithoutMnemonic(GetMenuText(menu_, UINT(i), MF_BYPOSITION)), &row,
                            DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            }
            top += height;
        }
    }

    void Finish(UINT command)
    {
        HWND owner = ce::GetParent(bar_.m_hWnd);
        HWND focus = previousFocus_;
        ReleaseCapture();
        DestroyWindow(); // deletes this
        if (focus && IsWindow(focus))
            ce::SetFocus(focus);
        if (command)
            PostMessageW(owner, WM_COMMAND, command, 0);
    }

    CCommandBar& bar_;
    HMENU menu_;
    HWND previousFocus_ = nullptr;
    bool opening_ = false;
};

IMPLEMENT_DYNAMIC(CCommandBar, CControlBar)

BEGIN_MESSAGE_MAP(CCommandBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CCommandBar::~CCommandBar()
{
    if (m_popup)
        m_popup->Dismiss();
}

BOOL CCommandBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateBar(AfxRegisterWndClass(0), style, CRect(0, 0, 0, BarHeight), parent, id);
}

BOOL CCommandBar::InsertMenuBar(UINT menuId, WORD)
{
    // The bar carries one menu; it is always the first of its buttons.
    if (!m_hWnd || m_menu.GetSafeHmenu() || !m_menu.LoadMenu(menuId))
        return FALSE;
    Invalidate();
    return TRUE;
}

BOOL CCommandBar::AddAdornments(DWORD)
{
    if (!m_hWnd)
        return FALSE;
    m_closeBox = true;
    Invalidate();
    return TRUE;
}

CSize CCommandBar::CalcFixedLayout(BOOL, BOOL)
{
    return CSize(GetSystemMetrics(SM_CXSCREEN), BarHeight);
}

CRect CCommandBar::GetMenuButtonRect(int index) const
{
    int left = 2;
    for (int i = 0; i < GetMenuItemCount(m_menu.GetSafeHmenu()); ++i) {
        const std::u16string text = WithoutMnemonic(GetMenuText(m_menu.GetSafeHmenu(), UINT(i), MF_BYPOSITION));
        const int right = left + TextWidth(m_hWnd, text) + 2 * ButtonPadding;
        if (i == index)
            return CRect(left, 2, right, BarHeight - 2);
        left = right;
    }
    return CRect();
}

CRect CCommandBar::GetCloseBoxRect() const
{
    if (!m_closeBox)
        return CRect();
    CRect client;
    GetClientRect(&client);
    const int top = (BarHeight - CloseBoxSize) / 2;
    return CRect(client.right - CloseBoxSize - 2, top, client.right - 2, top + CloseBoxSize);
}

HWND CCommandBar::GetPopupWindow() const
{
    return m_popup ? m_popup->m_hWnd : nullptr;
}

void CCommandBar::PopupClosed()
{
    const bool wasOpen = m_popup != nullptr;
    m_popup = nullptr;
    m_openIndex = -1;
    if (wasOpen && m_hWnd)
        Invalidate();
}

void CCommandBar::TrackPopup(int index)
{
    const bool same = m_popup && m_openIndex == index;
    if (m_popup)
        m_popup->Dismiss();
    HMENU popupMenu = GetSubMenu(m_menu.GetSafeHmenu(), index);
    if (same || !popupMenu)
        return;
    ce::SendMessageW(ce::GetParent(m_hWnd), WM_INITMENUPOPUP, WPARAM(popupMenu), MAKELPARAM(WORD(index), FALSE));
    const CRect button = GetMenuButtonRect(index);
    POINT below{button.left, BarHeight};
    ClientToScreen(&below);
    auto* popup = new CMenuPopup(*this, popupMenu);
    if (!popup->Open(below)) {
        delete popup;
        return;
    }
    m_popup = popup;
    m_openIndex = index;
    Invalidate();
}

void CCommandBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, BarFace);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetMenuItemCount(m_menu.GetSafeHmenu()); ++i) {
        CRect button = GetMenuButtonRect(i);
        const bool open = m_popup && m_openIndex == i;
        if (open)
            dc.FillSolidRect(&button, PressedFace);
        dc.SetTextColor(open ? PressedText : BarText);
        dc.DrawText(WithoutMnemonic(GetMenuText(m_menu.GetSafeHmenu(), UINT(i), MF_BYPOSITION)), &button,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (m_closeBox) {
        CRect box = GetCloseBoxRect();
        dc.SelectStockObject(WHITE_BRUSH);
        dc.SelectStockObject(BLACK_PEN);
        dc.Rectangle(&box);
        const int inset = 5;
        dc.MoveTo(box.left + inset, box.top + inset);
        dc.LineTo(box.right - inset, box.bottom - inset);
        dc.MoveTo(box.right - inset - 1, box.top + inset);
        dc.LineTo(box.left + inset - 1, box.bottom - inset);
    }
    dc.SelectStockObject(BLACK_PEN);
    dc.MoveTo(client.left, client.bottom - 1);
    dc.LineTo(client.right, client.bottom - 1);
}

void CCommandBar::OnLButtonDown(UINT, CPoint point)
{
    if (GetCloseBoxRect().PtInRect(point)) {
        ce::PostMessageW(ce::GetParent(m_hWnd), WM_CLOSE, 0, 0);
        return;
    }
    for (int i = 0; i < GetMenuItemCount(m_menu.GetSafeHmenu()); ++i) {
        if (GetMenuButtonRect(i).PtInRect(point)) {
            TrackPopup(i);
            return;
        }
    }
}

void CCommandBar::OnDestroy()
{
    if (m_popup)
        m_popup->Dismiss();
    CControlBar::OnDestroy();
}

} // namespace ce
