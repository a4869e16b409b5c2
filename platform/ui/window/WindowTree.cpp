// Creation and destruction of windows, their stacking, parents, children
// and siblings.
#include "platform/ui/window/WindowRegistry.h"
#include <algorithm>
#include <functional>

namespace ce::impl {

namespace {

thread_local CWnd* t_attachOnCreate = nullptr;
thread_local std::function<void(HWND)> t_beforeCreate;

QWidget* ParentWidgetOf(const Window& w)
{
    if (w.parent)
        if (Window* p = FindWindow(w.parent))
            return p->widget;
    return ScreenWidget();
}

} // namespace

// Topmost windows (the input panel) stay above the others.
void RestackTopmost()
{
    auto& tops = Reg().topLevels;
    for (HWND h : std::vector<HWND>(tops))
        if (Window* t = FindWindow(h); t && (t->exStyle & WS_EX_TOPMOST)) {
            tops.erase(std::find(tops.begin(), tops.end(), h));
            tops.push_back(h);
            if (t->widget)
                t->widget->raise();
        }
}

void RaiseTopLevel(Window& w)
{
    auto& tops = Reg().topLevels;
    tops.erase(std::remove(tops.begin(), tops.end(), w.hwnd), tops.end());
    tops.push_back(w.hwnd);
    if (w.widget)
        w.widget->raise();
    RestackTopmost();
}

void AttachOnCreate(CWnd* wnd)
{
    t_attachOnCreate = wnd;
}

void BeforeCreate(std::function<void(HWND)> hook)
{
    t_beforeCreate = std::move(hook);
}

HWND TopLevelOf(HWND hwnd)
{
    Window* w = FindWindow(hwnd);
    while (w && w->parent)
        w = FindWindow(w->parent);
    return w ? w->hwnd : nullptr;
}

// The program's main window names the host window, in the program's language.
void NameHostWindow(const Window& w)
{
    if (!w.parent && !w.owner && !(w.exStyle & WS_EX_TOPMOST) && !w.text.empty())
        ScreenWidget()->window()->setWindowTitle(DisplayText(w.text));
}

} // namespace ce::impl

namespace ce {

using namespace impl;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU hMenu, HINSTANCE, void* param)
{
    // Taken before the platform starts: its own start-up windows (the input
    // panel) must not take over the object being created.
    CWnd* attach = std::exchange(t_attachOnCreate, nullptr);
    auto beforeCreate = std::exchange(t_beforeCreate, nullptr);
    EnsureApplication();
    if (!IsUiThread() || !className)
        return nullptr;
    const WindowClass* cls = FindWindowClass(className);
    if (!cls)
        return nullptr;
    Window* parentWindow = FindWindow(parent);
    if ((style & WS_CHILD) && !parentWindow)
        return nullptr;

    auto& reg = Reg();
    auto owned = std::make_unique<Window>();
    Window& w = *owned;
    w.hwnd = reinterpret_cast<HWND>(reg.nextHandle);
    reg.nextHandle += 0x10;
    w.cls = cls;
    w.text = windowName ? windowName : u"";
    w.style = style & ~WS_VISIBLE;
    w.exStyle = exStyle;
    if (style & WS_CHILD) {
        w.parent = parent;
        w.id = UINT(reinterpret_cast<std::uintptr_t>(hMenu));
    } else {
        w.owner = parent;
    }
    w.rect = QRect(x, y, std::max(0, width), std::max(0, height));
    HWND hwnd = w.hwnd;
    NameHostWindow(w);
    reg.windows.emplace(hwnd, std::move(owned));
    {
        std::lock_guard lock(LiveMutex());
        LiveSet().insert(hwnd);
    }
    if (parentWindow)
        parentWindow->children.push_back(hwnd);
    else
        reg.topLevels.push_back(hwnd);

    w.widget = new WindowWidget(hwnd, ParentWidgetOf(w));
    w.widget->hide();
    PlaceWidget(w);
    if (!parentWindow)
        RestackTopmost();
    ResizeBacking(w);
    if (attach) {
        attach->m_hWnd = hwnd;
        w.wnd = attach;
    }
    if (cls->createState)
        w.state = cls->createState(w);
    if (beforeCreate)
        beforeCreate(hwnd);

    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hMenu = hMenu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = LONG(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    Window* created = FindWindow(hwnd);
    if (!created)
        return nullptr;
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(WORD(ClientWidth(*created)), WORD(ClientHeight(*created))));
    if ((style & WS_VISIBLE) && IsWindow(hwnd))
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    Window* w = Live(hwnd);
    if (!w || w->destroying)
        return FALSE;
    w->destroying = true;
    auto& reg = Reg();
    if (!w->parent)
        for (HWND top : std::vector<HWND>(reg.topLevels))
            if (Window* t = FindWindow(top); t && t->owner == hwnd)
                DestroyWindow(top);
    if (reg.capture == hwnd)
        reg.capture = nullptr;
    if (w->widget)
        w->widget->hide();
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if ((w = FindWindow(hwnd)) == nullptr)
        return TRUE;
    for (HWND child : std::vector<HWND>(w->children))
        DestroyWindow(child);
    KillWindowTimers(hwnd);
    if (reg.focus == hwnd)
        reg.focus = nullptr;
    SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    if ((w = FindWindow(hwnd)) == nullptr)
        return TRUE;
    CWnd* wnd = w->wnd;
    DetachAfterNcDestroy(*w);
    if (Window* p = FindWindow(w->parent))
        p->children.erase(std::remove(p->children.begin(), p->children.end(), hwnd), p->children.end());
    reg.topLevels.erase(std::remove(reg.topLevels.begin(), reg.topLevels.end(), hwnd), reg.topLevels.end());
    if (w->widget)
        w->widget->deleteLater();
    {
        std::lock_guard lock(LiveMutex());
        LiveSet().erase(hwnd);
    }
    auto node = reg.windows.extract(hwnd);
    node.mapped().reset();
    if (wnd)
        wnd->PostNcDestroy();
    return TRUE;
}

HWND GetParent(HWND hwnd)
{
    Window* w = Live(hwnd);
    if (!w)
        return nullptr;
    return w->parent ? w->parent : w->owner;
}

HWND GetDlgItem(HWND parent, int id)
{
    Window* p = Live(parent);
    if (!p)
        return nullptr;
    for (HWND h : p->children)
        if (Window* c = FindWindow(h); c && int(c->id) == id)
            return h;
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd)
{
    Window* w = Live(hwnd);
    return w ? int(w->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName)
{
    EnsureApplication();
    if (!IsUiThread())
        return nullptr;
    std::u16string cls = className ? Upper(className) : u"";
    for (auto it = Reg().topLevels.rbegin(); it != Reg().topLevels.rend(); ++it) {
        Window* w = FindWindow(*it);
        if (!w || w->destroying)
            continue;
        if (className && Upper(w->cls->name) != cls)
            continue;
        if (windowName && w->text != windowName)
            continue;
        return *it;
    }
    return nullptr;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount)
{
    Window* w = Live(hwnd);
    if (!w || !buffer || maxCount <= 0)
        return 0;
    int n = std::min<int>(maxCount - 1, int(w->cls->name.size()));
    std::copy_n(w->cls->name.begin(), n, buffer);
    buffer[n] = 0;
    return n;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    Window* w = Live(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    const std::vector<HWND>* siblings = &Reg().topLevels;
    if (Window* p = FindWindow(w->parent))
        siblings = &p->children;
    if (siblings->empty())
        return nullptr;
    auto it = std::find(siblings->begin(), siblings->end(), hwnd);
    switch (cmd) {
    case GW_HWNDFIRST:
        return siblings->front();
    case GW_HWNDLAST:
        return siblings->back();
    case GW_HWNDNEXT:
        return (it == siblings->end() || it + 1 == siblings->end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return (it == siblings->begin() || it == siblings->end()) ? nullptr : *(it - 1);
    default:
        return nullptr;
    }
}

} // namespace ce
