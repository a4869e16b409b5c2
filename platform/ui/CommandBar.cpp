#include "platform/ui/CommandBar.h"
#include "platform/ui/MenuPopup.h"
#include <algorithm>

namespace ce {

namespace {

constexpr COLORREF BarFace = RGB(192, 192, 192);
constexpr COLORREF BarText = RGB(0, 0, 0);
constexpr COLORREF PressedFace = RGB(0, 0, 128);
constexpr COLORREF PressedText = RGB(255, 255, 255);
constexpr int ButtonPadding = 8;

} // namespace

using namespace impl;

IMPLEMENT_DYNAMIC(CCommandBar, CControlBar)

BEGIN_MESSAGE_MAP(CCommandBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CCommandBar::~CCommandBar()
{
    if (openPopup)
        openPopup->Dismiss();
}

BOOL CCommandBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateBar(AfxRegisterWndClass(0), style, CRect(0, 0, 0, BarHeight), parent, id);
}

BOOL CCommandBar::InsertMenuBar(UINT menuId, WORD)
{
    // The bar carries one menu; it is always the first of its buttons.
    if (!m_hWnd || barMenu.GetSafeHmenu() || !barMenu.LoadMenu(menuId))
        return FALSE;
    Invalidate();
    return TRUE;
}

BOOL CCommandBar::AddAdornments(DWORD)
{
    if (!m_hWnd)
        return FALSE;
    hasCloseBox = true;
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
    for (int i = 0; i < GetMenuItemCount(barMenu.GetSafeHmenu()); ++i) {
        const int right =
            left + MenuTextWidth(m_hWnd, GetMenuText(barMenu.GetSafeHmenu(), UINT(i), MF_BYPOSITION)) + 2 * ButtonPadding;
        if (i == index)
            return CRect(left, 2, right, BarHeight - 2);
        left = right;
    }
    return CRect();
}

CRect CCommandBar::GetCloseBoxRect() const
{
    if (!hasCloseBox)
        return CRect();
    CRect client;
    GetClientRect(&client);
    const int top = (BarHeight - CloseBoxSize) / 2;
    return CRect(client.right - CloseBoxSize - 2, top, client.right - 2, top + CloseBoxSize);
}

HWND CCommandBar::GetPopupWindow() const
{
    return openPopup ? openPopup->m_hWnd : nullptr;
}

void CCommandBar::PopupClosed()
{
    const bool wasOpen = openPopup != nullptr;
    openPopup = nullptr;
    openIndex = -1;
    if (wasOpen && m_hWnd)
        Invalidate();
}

void CCommandBar::TrackPopup(int index, BOOL fromKeyboard)
{
    const bool same = openPopup && openIndex == index;
    if (openPopup)
        openPopup->Dismiss();
    HMENU popupMenu = GetSubMenu(barMenu.GetSafeHmenu(), index);
    if (same || !popupMenu)
        return;
    ce::SendMessageW(ce::GetParent(m_hWnd), WM_INITMENUPOPUP, WPARAM(popupMenu), MAKELPARAM(WORD(index), FALSE));
    const CRect button = GetMenuButtonRect(index);
    POINT below{button.left, BarHeight};
    ClientToScreen(&below);
    auto* popup = new CMenuPopup(*this, popupMenu);
    if (!popup->Open(below, fromKeyboard)) {
        delete popup;
        return;
    }
    openPopup = popup;
    openIndex = index;
    Invalidate();
}

void CCommandBar::SwitchPopup(int step)
{
    const int count = GetMenuItemCount(barMenu.GetSafeHmenu());
    if (!openPopup || count < 2)
        return;
    const int next = ((openIndex + step) % count + count) % count;
    openPopup->Dismiss();
    TrackPopup(next, TRUE);
}

BOOL CCommandBar::OnMenuKey(UINT key)
{
    const int count = GetMenuItemCount(barMenu.GetSafeHmenu());
    if (key == VK_F10 && count > 0) {
        TrackPopup(0, TRUE);
        return TRUE;
    }
    for (int i = 0; i < count; ++i) {
        if (AnswersMnemonic(MnemonicOf(GetMenuText(barMenu.GetSafeHmenu(), UINT(i), MF_BYPOSITION)), key)) {
            TrackPopup(i, TRUE);
            return TRUE;
        }
    }
    return FALSE;
}

int CCommandBar::GetHighlightedItem() const
{
    return openPopup ? openPopup->Highlighted() : -1;
}

void CCommandBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, BarFace);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetMenuItemCount(barMenu.GetSafeHmenu()); ++i) {
        CRect button = GetMenuButtonRect(i);
        const bool open = openPopup && openIndex == i;
        if (open)
            dc.FillSolidRect(&button, PressedFace);
        DrawMenuText(dc.GetSafeHdc(), GetMenuText(barMenu.GetSafeHmenu(), UINT(i), MF_BYPOSITION), button,
                     open ? PressedText : BarText, true);
    }
    if (hasCloseBox) {
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
    for (int i = 0; i < GetMenuItemCount(barMenu.GetSafeHmenu()); ++i) {
        if (GetMenuButtonRect(i).PtInRect(point)) {
            TrackPopup(i);
            return;
        }
    }
}

void CCommandBar::OnDestroy()
{
    if (openPopup)
        openPopup->Dismiss();
    CControlBar::OnDestroy();
}

} // namespace ce
