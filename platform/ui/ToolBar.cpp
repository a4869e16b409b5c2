#include "platform/ui/ToolBar.h"
#include "platform/ui/WindowImpl.h"
#include <vector>

namespace ce {
namespace {

struct ToolBarState : impl::ControlState {
    std::vector<TBBUTTON> buttons;
};

LRESULT ToolBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* s = impl::State<ToolBarState>(hwnd);
    if (!s)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const int index = int(wParam);
    const int count = int(s->buttons.size());
    switch (msg) {
    case TB_BUTTONCOUNT:
        return count;
    case TB_GETBUTTON: {
        auto* button = reinterpret_cast<TBBUTTON*>(lParam);
        if (!button || index < 0 || index >= count)
            return FALSE;
        *button = s->buttons[std::size_t(index)];
        return TRUE;
    }
    case TB_INSERTBUTTONW: {
        auto* button = reinterpret_cast<const TBBUTTON*>(lParam);
        if (!button)
            return FALSE;
        const int at = index < 0 || index > count ? count : index;
        s->buttons.insert(s->buttons.begin() + at, *button);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case TB_DELETEBUTTON:
        if (index < 0 || index >= count)
            return FALSE;
        s->buttons.erase(s->buttons.begin() + index);
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

impl::ClassRegistrar toolBarClass({std::u16string(TOOLBARCLASSNAMEW), 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                &ToolBarProc, [](impl::Window&) -> std::unique_ptr<impl::ControlState> {
                                    return std::make_unique<ToolBarState>();
                                }});

} // namespace

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

// Every bar is drawn flat, so the control style changes nothing.
BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, CRect borders, UINT id)
{
    barBorders = borders;
    return CreateBar(TOOLBARCLASSNAMEW, style, CRect(0, 0, 0, 0), parent, id);
}

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, CRect(0, 0, 0, 0), id);
}

int CToolBar::GetCount() const
{
    return int(SendMessage(TB_BUTTONCOUNT));
}

void CToolBar::SetButtonInfo(int index, UINT id, UINT style, int image)
{
    const int count = GetCount();
    if (index < 0 || index > count)
        return;
    TBBUTTON button;
    if (index < count) {
        SendMessage(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button));
        SendMessage(TB_DELETEBUTTON, WPARAM(index));
    }
    button.idCommand = int(id);
    button.fsStyle = BYTE(style);
    button.iBitmap = image;
    SendMessage(TB_INSERTBUTTONW, WPARAM(index), reinterpret_cast<LPARAM>(&button));
}

BOOL CToolBar::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const
{
    TBBUTTON button;
    if (!SendMessage(TB_GETBUTTON, WPARAM(index), reinterpret_cast<LPARAM>(&button)))
        return FALSE;
    id = UINT(button.idCommand);
    style = button.fsStyle;
    image = button.iBitmap;
    return TRUE;
}

UINT CToolBar::GetItemID(int index) const
{
    UINT id = 0, style = 0;
    int image = 0;
    return GetButtonInfo(index, id, style, image) ? id : 0;
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL)
{
    RECT parentRect{};
    if (CWnd* parent = GetParent())
        parent->GetClientRect(&parentRect);
    return CSize(parentRect.right - parentRect.left, BarHeight + barBorders.top + barBorders.bottom);
}

} // namespace ce
