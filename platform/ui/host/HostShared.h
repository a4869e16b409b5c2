// What the host's files share: the device screen's widget and size, and
// the marks of a hand-over between threads; only platform/ui/host/*.cpp
// include this.
#pragma once
#include "platform/ui/WindowImpl.h"
#include <QWidget>

namespace ce::impl {

constexpr int ScreenWidth = 320;
constexpr int ScreenHeight = 240;

// Qt's event queue hands a posted task to the user-interface thread through
// code that ThreadSanitizer does not see; these mark that hand-over.
#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
inline void MarkHandOver(void* event) { __tsan_release(event); }
inline void MarkTakeOver(void* event) { __tsan_acquire(event); }
#else
inline void MarkHandOver(void*) {}
inline void MarkTakeOver(void*) {}
#endif

// The device screen's widget, the parent of every top-level window.
extern QWidget* g_screen;

// Turns the host's keys and input methods into the focused window's messages.
void InstallKeyFilter();

} // namespace ce::impl
