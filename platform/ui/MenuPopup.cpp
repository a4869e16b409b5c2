#include "platform/ui/MenuPopup.h"
#include "platform/ui/WindowImpl.h"
#include <QFontMetrics>
#include <algorithm>

namespace ce {

namespace {

constexpr COLORREF MenuFace = RGB(255, 255, 255);
constexpr COLORREF MenuText = RGB(0, 0, 0);
constexpr COLORREF HighlightFace = RGB(0, 0, 128);
constexpr COLORREF HighlightText = RGB(255, 255, 255);
constexpr COLORREF GrayedText = RGB(128, 128, 128);
constexpr int ItemHeight = 18;
constexpr int SeparatorHeight = 7;
constexpr int ItemIndent = 10;
constexpr int MinimumWidth = 80;
constexpr int Border = 1;

// Where the single '&' stands in a menu text, or npos.
std::size_t MnemonicPosition(const std::u16string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return i;
        ++i;
    }
    return std::u16string::npos;
}

} // namespace

namespace impl {

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

char16_t MnemonicOf(const std::u16string& text)
{
    const std::size_t at = MnemonicPosition(text);
    if (at == std::u16string::npos)
        return 0;
    const char16_t letter = text[at + 1];
    return (letter >= u'a' && letter <= u'z') ? char16_t(letter - u'a' + u'A') : letter;
}

bool AnswersMnemonic(char16_t mnemonic, UINT key)
{
    if (!mnemonic)
        return false;
    const UINT upper = (key >= u'a' && key <= u'z') ? key - u'a' + u'A' : key;
    return upper == mnemonic;
}

void DrawMenuText(HDC dc, const std::u16string& text, const RECT& rect, COLORREF color, bool centred)
{
    auto painter = PainterOf(dc);
    if (!painter)
        return;
    const QString shown = QString::fromStdU16String(WithoutMnemonic(text));
    const QFontMetrics metrics(painter->font());
    const QRect area(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    const int width = metrics.horizontalAdvance(shown);
    const int left = centred ? area.left() + (area.width() - width) / 2 : area.left();
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    painter->setPen(ToQColor(color));
    painter->drawText(QPoint(left, baseline), shown);
    // The mnemonic's character in the shown text: every "&&" before it
    // became one '&', the marker itself is gone.
    const std::size_t at = MnemonicPosition(text);
    if (at == std::u16string::npos)
        return;
    const QString before = QString::fromStdU16String(WithoutMnemonic(text.substr(0, at)));
    const int x = left + metrics.horizontalAdvance(before);
    const int underline = baseline + 1;
    painter->drawLine(x, underline, x + metrics.horizontalAdvance(QChar(text[at + 1])) - 1, underline);
}

int MenuTextWidth(HWND hwnd, const std::u16string& text)
{
    const std::u16string shown = WithoutMnemonic(text);
    HDC dc = GetDC(hwnd);
    SIZE size;
    GetTextExtentPoint32W(dc, shown.c_str(), int(shown.size()), &size);
    ReleaseDC(hwnd, dc);
    return size.cx;
}

} // namespace impl

using namespace impl;

BOOL CMenuPopup::Open(POINT topLeft, bool fromKeyboard)
{
    int width = MinimumWidth;
    int height = 0;
    for (int i = 0; i < Count(); ++i) {
        width = std::max(width, MenuTextWidth(commandBar.m_hWnd, GetMenuText(popupMenu, UINT(i), MF_BYPOSITION)) + 2 * ItemIndent);
        height += RowHeight(i);
    }
    // Inside the device screen, below the button when it fits there.
    const int outerWidth = width + 2 * Border;
    const int outerHeight = height + 2 * Border;
    const int x = std::clamp(int(topLeft.x), 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - outerWidth));
    const int y = std::clamp(int(topLeft.y), 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - outerHeight));
    // A failed creation leaves the object to the caller.
    opening = true;
    const BOOL created = CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), nullptr, WS_POPUP | WS_BORDER | WS_VISIBLE,
                                  x, y, outerWidth, outerHeight, ce::GetParent(commandBar.m_hWnd), nullptr);
    opening = false;
    if (!created)
        return FALSE;
    GrabInput(m_hWnd);
    FollowPointer(m_hWnd);
    if (fromKeyboard)
        Highlight(NextChoosable(-1, 1));
    return TRUE;
}

void CMenuPopup::PostNcDestroy()
{
    // However the window ends, the bar forgets it.
    if (opening)
        return;
    commandBar.PopupClosed();
    delete this;
}

LRESULT CMenuPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_MOUSEMOVE:
        Highlight(Choosable(RowAt(point)) ? RowAt(point) : -1);
        return 0;
    case WM_MOUSELEAVE:
        Highlight(-1);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(point); // may end the pop-up
        return 0;
    case WM_LBUTTONUP:
        if (Choosable(RowAt(point)))
            Choose(RowAt(point));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKey(UINT(wParam)); // may end the pop-up
        return 0;
    case WM_CHAR:
        // Latin letters and digits answered as keys already.
        if (wParam >= 0x80)
            OnMnemonic(UINT(wParam));
        return 0;
    case WM_CLOSE:
        Dismiss();
        return 0;
    case WM_DESTROY:
        ReleaseInput(m_hWnd);
        return CWnd::WindowProc(message, wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

int CMenuPopup::Count() const
{
    return std::max(0, GetMenuItemCount(popupMenu));
}

int CMenuPopup::RowHeight(int index) const
{
    return (GetMenuState(popupMenu, UINT(index), MF_BYPOSITION) & MF_SEPARATOR) ? SeparatorHeight : ItemHeight;
}

CRect CMenuPopup::RowRect(int index) const
{
    CRect client;
    GetClientRect(&client);
    int top = 0;
    for (int i = 0; i < index; ++i)
        top += RowHeight(i);
    return CRect(0, top, client.right, top + RowHeight(index));
}

bool CMenuPopup::Choosable(int index) const
{
    if (index < 0 || index >= Count())
        return false;
    const UINT state = GetMenuState(popupMenu, UINT(index), MF_BYPOSITION);
    return !(state & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED));
}

int CMenuPopup::RowAt(CPoint point) const
{
    for (int i = 0; i < Count(); ++i)
        if (RowRect(i).PtInRect(point))
            return i;
    return -1;
}

void CMenuPopup::Highlight(int index)
{
    if (index == highlightedItem)
        return;
    highlightedItem = index;
    Invalidate();
}

int CMenuPopup::NextChoosable(int from, int step) const
{
    const int n = Count();
    for (int k = 1; k <= n; ++k) {
        const int i = ((from + step * k) % n + n) % n;
        if (Choosable(i))
            return i;
    }
    return -1;
}

void CMenuPopup::OnKey(UINT key)
{
    switch (key) {
    case VK_UP:
        Highlight(NextChoosable(highlightedItem < 0 ? 0 : highlightedItem, -1));
        return;
    case VK_DOWN:
        Highlight(NextChoosable(highlightedItem < 0 ? -1 : highlightedItem, 1));
        return;
    case VK_HOME:
        Highlight(NextChoosable(-1, 1));
        return;
    case VK_END:
        Highlight(NextChoosable(0, -1));
        return;
    case VK_RETURN:
        if (Choosable(highlightedItem))
            Choose(highlightedItem);
        return;
    case VK_ESCAPE:
    case VK_F10:
        Dismiss();
        return;
    case VK_LEFT:
    case VK_RIGHT: {
        CCommandBar& bar = commandBar;
        bar.SwitchPopup(key == VK_RIGHT ? 1 : -1);
        return;
    }
    default:
        OnMnemonic(key);
        return;
    }
}

// One item with the mnemonic is chosen at once; among several the highlight
// moves to the next of them.
void CMenuPopup::OnMnemonic(UINT key)
{
    std::vector<int> matches;
    for (int i = 0; i < Count(); ++i)
        if (Choosable(i) && AnswersMnemonic(MnemonicOf(GetMenuText(popupMenu, UINT(i), MF_BYPOSITION)), key))
            matches.push_back(i);
    if (matches.size() == 1) {
        Choose(matches.front());
    } else if (!matches.empty()) {
        auto next = std::upper_bound(matches.begin(), matches.end(), highlightedItem);
        Highlight(next == matches.end() ? matches.front() : *next);
    }
}

// A tap outside only dismisses; on the button of another pop-up it opens that one.
void CMenuPopup::OnPress(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point)) {
        Highlight(Choosable(RowAt(point)) ? RowAt(point) : -1);
        return;
    }
    CPoint onBar = point;
    ClientToScreen(&onBar);
    commandBar.ScreenToClient(&onBar);
    int button = -1;
    for (int i = 0; i < GetMenuItemCount(commandBar.GetMenu()); ++i)
        if (commandBar.GetMenuButtonRect(i).PtInRect(onBar))
            button = i;
    CCommandBar& bar = commandBar;
    const bool other = button >= 0 && button != bar.openIndex;
    Dismiss(); // deletes this
    if (other)
        bar.TrackPopup(button);
}

void CMenuPopup::Choose(int index)
{
    Finish(GetMenuItemID(popupMenu, index));
}

void CMenuPopup::Paint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, MenuFace);
    for (int i = 0; i < Count(); ++i) {
        const UINT state = GetMenuState(popupMenu, UINT(i), MF_BYPOSITION);
        const CRect row = RowRect(i);
        if (state & MF_SEPARATOR) {
            dc.MoveTo(2, row.top + row.Height() / 2);
            dc.LineTo(client.right - 2, row.top + row.Height() / 2);
            continue;
        }
        COLORREF color = (state & (MF_GRAYED | MF_DISABLED)) ? GrayedText : MenuText;
        if (i == highlightedItem) {
            dc.FillSolidRect(&row, HighlightFace);
            color = HighlightText;
        }
        const CRect text(ItemIndent, row.top, row.right, row.bottom);
        DrawMenuText(dc.GetSafeHdc(), GetMenuText(popupMenu, UINT(i), MF_BYPOSITION), text, color, false);
    }
}

void CMenuPopup::Finish(UINT command)
{
    HWND owner = ce::GetParent(commandBar.m_hWnd);
    DestroyWindow(); // deletes this
    if (command)
        PostMessageW(owner, WM_COMMAND, command, 0);
}

} // namespace ce
