// A window's styles, visibility, enabled state, text, focus and capture.
#include "platform/ui/window/WindowRegistry.h"
#include <algorithm>

namespace ce {

using namespace impl;

LONG GetWindowLongW(HWND hwnd, int index)
{
    Window* w = Live(hwnd);
    if (!w)
        return 0;
    switch (index) {
    case GWL_STYLE:
        return LONG(w->style);
    case GWL_EXSTYLE:
        return LONG(w->exStyle);
    case GWL_ID:
        return LONG(w->id);
    default:
        return 0;
    }
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    Window* w = Live(hwnd);
    if (!w)
        return 0;
    LONG old = GetWindowLongW(hwnd, index);
    switch (index) {
    case GWL_STYLE: {
        DWORD visible = w->style & WS_VISIBLE;
        w->style = (DWORD(value) & ~WS_VISIBLE) | visible;
        PlaceWidget(*w);
        for (HWND h : w->children)
            if (Window* c = FindWindow(h))
                PlaceWidget(*c);
        Invalidate(*w);
        break;
    }
    case GWL_EXSTYLE:
        w->exStyle = DWORD(value);
        break;
    case GWL_ID:
        w->id = UINT(value);
        break;
    default:
        break;
    }
    return old;
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    if (cmd == SW_HIDE) {
        w->style &= ~WS_VISIBLE;
        w->widget->hide();
        return wasVisible;
    }
    w->style |= WS_VISIBLE;
    bool activate = false;
    if (!w->parent) {
        ScreenWidget()->show();
        activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && !(w->exStyle & WS_EX_TOPMOST);
        if (activate)
            RaiseTopLevel(*w);
        else
            RestackTopmost();
    }
    if (!wasVisible)
        Invalidate(*w);
    w->widget->show();
    // Activating a top-level window gives it the focus unless the focus is
    // already inside it; a topmost window (the input panel) never takes it.
    if (activate && !(w->style & WS_DISABLED)) {
        HWND focus = Reg().focus;
        while (focus && focus != hwnd)
            focus = FindWindow(focus) ? FindWindow(focus)->parent : nullptr;
        if (!focus)
            SetFocus(hwnd);
    }
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd)
{
    for (Window* w = Live(hwnd); w; w = FindWindow(w->parent)) {
        if (!(w->style & WS_VISIBLE))
            return FALSE;
        if (!w->parent)
            return TRUE;
    }
    return FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = Live(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (bool(enable) == !wasDisabled)
        return wasDisabled;
    if (enable)
        w->style &= ~WS_DISABLED;
    else
        w->style |= WS_DISABLED;
    SendMessageW(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    if (Window* again = FindWindow(hwnd))
        Invalidate(*again);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Window* w = Live(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!Live(hwnd))
        return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE : FALSE;
}

int GetWindowTextLengthW(HWND hwnd)
{
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount)
{
    if (!buffer || maxCount <= 0)
        return 0;
    buffer[0] = 0;
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

BOOL SetWindowText(HWND hwnd, const std::u16string& text)
{
    return SetWindowTextW(hwnd, text.c_str());
}

std::u16string GetWindowText(HWND hwnd)
{
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(std::size_t(n) + 1, u'\0');
    int got = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(std::size_t(std::max(0, got)));
    return text;
}

HWND SetFocus(HWND hwnd)
{
    auto& reg = Reg();
    if (!IsUiThread() || (hwnd && !FindWindow(hwnd)))
        return nullptr;
    // A window under a running modal dialog or message box (its top-level
    // window is disabled) cannot take the focus away from it.
    if (hwnd) {
        const Window* top = FindWindow(TopLevelOf(hwnd));
        if (top && (top->style & WS_DISABLED))
            return nullptr;
    }
    HWND old = reg.focus;
    if (old == hwnd)
        return old;
    ScrollIntoFormView(hwnd);
    reg.focus = hwnd;
    if (old && FindWindow(old))
        SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && reg.focus == hwnd && FindWindow(hwnd))
        SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND GetFocus()
{
    return IsUiThread() ? Reg().focus : nullptr;
}

HWND SetCapture(HWND hwnd)
{
    if (!IsUiThread())
        return nullptr;
    return std::exchange(Reg().capture, FindWindow(hwnd) ? hwnd : nullptr);
}

BOOL ReleaseCapture()
{
    if (!IsUiThread())
        return FALSE;
    HWND old = std::exchange(Reg().capture, nullptr);
    if (old && FindWindow(old))
        SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    return IsUiThread() ? Reg().capture : nullptr;
}

HWND GetActiveWindow()
{
    if (!IsUiThread())
        return nullptr;
    const auto& tops = Reg().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (Window* w = FindWindow(*it); w && (w->style & WS_VISIBLE) && !(w->exStyle & WS_EX_TOPMOST))
            return *it;
    return nullptr;
}

} // namespace ce
