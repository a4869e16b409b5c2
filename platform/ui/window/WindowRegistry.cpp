// The tables of windows and window classes, and the window for a handle.
#include "platform/ui/window/WindowRegistry.h"
#include <map>

namespace ce::impl {

Registry& Reg()
{
    static auto* registry = new Registry;
    return *registry;
}

// Handles alive, for IsWindow and PostMessageW from other threads.
std::mutex& LiveMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

std::unordered_set<HWND>& LiveSet()
{
    static auto* live = new std::unordered_set<HWND>;
    return *live;
}

namespace {

std::map<std::u16string, std::unique_ptr<WindowClass>>& Classes()
{
    static auto* classes = new std::map<std::u16string, std::unique_ptr<WindowClass>>;
    return *classes;
}

std::mutex& ClassesMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

} // namespace

std::u16string Upper(std::u16string s)
{
    for (auto& c : s)
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
    return s;
}

void RegisterWindowClass(WindowClass cls)
{
    std::lock_guard lock(ClassesMutex());
    auto key = Upper(cls.name);
    if (!Classes().count(key))
        Classes()[key] = std::make_unique<WindowClass>(std::move(cls));
}

const WindowClass* FindWindowClass(const std::u16string& name)
{
    std::lock_guard lock(ClassesMutex());
    auto it = Classes().find(Upper(name));
    return it == Classes().end() ? nullptr : it->second.get();
}

Window* FindWindow(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    auto& windows = Reg().windows;
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : it->second.get();
}

Window* Live(HWND hwnd)
{
    if (!IsUiThread())
        return nullptr;
    return FindWindow(hwnd);
}

} // namespace ce::impl

namespace ce {

using namespace impl;

ATOM RegisterClassW(const WNDCLASSW* wc)
{
    if (!wc || !wc->lpszClassName)
        return 0;
    WindowClass cls;
    cls.name = wc->lpszClassName;
    cls.style = wc->style;
    cls.background = wc->hbrBackground;
    cls.proc = wc->lpfnWndProc;
    RegisterWindowClass(std::move(cls));
    return 1;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    std::u16string name(buffer, buffer + std::strlen(buffer));
    if (!FindWindowClass(name)) {
        WindowClass cls;
        cls.name = name;
        cls.style = classStyle;
        cls.background = background;
        RegisterWindowClass(std::move(cls));
    }
    return FindWindowClass(name)->name.c_str();
}

BOOL IsWindow(HWND hwnd)
{
    if (!hwnd)
        return FALSE;
    std::lock_guard lock(LiveMutex());
    return LiveSet().count(hwnd) ? TRUE : FALSE;
}

} // namespace ce
