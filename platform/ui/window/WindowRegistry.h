// The window system's tables and the helpers its window files share; only
// platform/ui/window/*.cpp include this.
#pragma once
#include "platform/ui/Host.h"
#include "platform/ui/WindowImpl.h"
#include "platform/ui/Wnd.h"
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace ce::impl {

constexpr int CaptionBarHeight = 18;
constexpr int CloseBoxWidth = 18;

// The registries live until the process ends: nothing is torn down while
// static destructors run.
struct Registry {
    std::unordered_map<HWND, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevels; // bottom to top
    std::uintptr_t nextHandle = 0x10000;
    HWND focus = nullptr;
    HWND capture = nullptr;
};

Registry& Reg();
// Handles alive, for IsWindow and PostMessageW from other threads.
std::mutex& LiveMutex();
std::unordered_set<HWND>& LiveSet();
// Window class names compare without case.
std::u16string Upper(std::u16string s);
// The live window when called on the user-interface thread, else null.
Window* Live(HWND hwnd);

int ClientWidth(const Window& w);
int ClientHeight(const Window& w);
QPoint WindowOriginOnScreen(const Window& w);
// Places the window's widget inside its parent's client area.
void PlaceWidget(Window& w);
// Gives the backing image the window's size, keeping what it shows.
void ResizeBacking(Window& w);
void RestackTopmost();
void RaiseTopLevel(Window& w);
void NameHostWindow(const Window& w);

} // namespace ce::impl
