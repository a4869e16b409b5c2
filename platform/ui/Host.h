// The device screen on the host: start-up of the window system, the event
// loop, typed keys and the screenshot. Tests drive and look at the screen
// through platform/ui/testing/.
#pragma once
#include "platform/ui/WinDef.h"
#include <functional>
#include <string>

namespace ce {

// How the device screen is shown on the host.
struct HostOptions {
    int scale = 0;           // 1 to 16 times as large; 0: the largest whole factor that fits the desktop
    bool fullScreen = false; // without a window frame, as a display of exactly 320 x 240 pixels always is
};

// Starts the window system on the calling thread, which becomes the
// user-interface thread. Every window function calls it with the default
// options when needed, so tests need not. Later calls do nothing.
void InitPlatform(const HostOptions& options = {});
bool IsUiThread();

// The device screen's scale on the host.
int GetScreenScale();

// Runs the message loop until PostQuitMessage; returns its exit code.
int RunMessageLoop();
// Waits for a thread to end; on the user-interface thread serves meanwhile
// only what other threads send to its windows (SendMessageW), so that the
// thread waited for cannot block on it: no input, timer, posted message or
// painting runs.
void WaitServingSentMessages(HANDLE thread);

// What closing the host window does; the default posts the quit message.
void SetHostCloseHandler(std::function<void()> handler);

// A key typed on the device (the host's keyboard, the on-screen keyboard):
// WM_KEYDOWN with vk to the window the keys go to, then WM_CHAR with ch to
// the same window unless ch is 0 or the key down was swallowed.
void DeliverKeyStroke(UINT vk, WCHAR ch);

// Writes what the device screen shows to a PNG file; true on success.
bool SaveScreenshot(const std::string& path);

} // namespace ce
