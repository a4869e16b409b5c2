// The device screen on the host: start-up of the window system, the event
// loop, and what tests and tools need to drive and look at the screen.
#pragma once
#include "platform/ui/WinDef.h"
#include <functional>
#include <string>
#include <vector>

namespace ce {

// Starts the window system on the calling thread, which becomes the
// user-interface thread. Takes `--scale N` out of argv (else
// $CONTACTS_SCALE, else the largest whole factor that fits the desktop) and
// `--fullscreen`, which shows the device screen without a window frame, as
// a display of exactly 320 x 240 pixels always does.
// Every window function calls it with no arguments when needed, so tests
// need not. Later calls do nothing.
void InitPlatform(int& argc, char** argv);
void InitPlatform();
bool IsUiThread();

// The device screen's scale on the host.
int GetScreenScale();

// Runs the message loop until PostQuitMessage; returns its exit code.
int RunMessageLoop();
// Processes the pending events (posted messages, cross-thread sends, timers
// that are due, painting) and returns; with forMs > 0 keeps doing so for
// that long.
void PumpMessages(int forMs = 0);
// Keeps processing events until done() is true or timeoutMs passes (< 0:
// no limit). Returns done(). For waits of the user-interface thread on
// another thread that may be sending to it.
bool WaitWhilePumping(const std::function<bool()>& done, int timeoutMs = -1);
// Any thread: runs task on the user-interface thread, in order with posted
// messages (also inside a modal loop).
void PostTask(std::function<void()> task);

// What closing the host window does; the default posts the quit message.
void SetHostCloseHandler(std::function<void()> handler);

// Delivers a message as if it came from the keyboard or the touch screen:
// it goes through pre-translation (the window and its parents) and, unless
// swallowed, to the window.
void SimulateKey(HWND hwnd, UINT message, WPARAM wParam);
// A key press on the focused window: WM_KEYDOWN with vk, then WM_CHAR with
// ch to the same window unless ch is 0 or the key down was swallowed.
void SimulateKeyStroke(UINT vk, WCHAR ch);
// WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK or WM_MOUSEMOVE at a point
// in the window's client coordinates.
void SimulateMouse(HWND hwnd, UINT message, int x, int y);
// A tap at a point of the device screen, delivered like a real one to the
// window under it (press and release).
void SimulateTap(int x, int y);
// A turn of the mouse wheel at a point of the device screen (WHEEL_DELTA a
// notch, positive away from the user), delivered like a real one.
void SimulateWheel(int x, int y, int delta);

// What a desktop input method sends to the device screen's focused widget:
// the text it commits, then the composition in progress with its cursor
// (empty: none).
void SimulateInputMethod(const std::u16string& commit, const std::u16string& composition = u"", int cursor = 0);
// Presses and releases host keys, one per character (Shift first for a
// capital letter); a combining accent
// (U+0300 grave, U+0301 acute, U+0302 circumflex, U+0303 tilde, U+0308
// diaeresis, ...) is the dead key of that accent.
void SimulateHostKeys(const std::u16string& keys);
// What the focused widget answers an input method: whether it takes
// composed text, and the caret in device screen coordinates.
struct InputMethodAnswer {
    bool enabled = false;
    RECT caret{};
};
InputMethodAnswer QueryInputMethod();

// The device screen, 320 x 240 device pixels, pixels as COLORREF 0x00BBGGRR.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF Pixel(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    // PNG file; true on success.
    bool SavePng(const std::string& path) const;
};
// Paints what needs painting and grabs the whole device screen.
ScreenImage GrabScreen();
// The part of the screen a window covers, in its own window coordinates.
ScreenImage GrabWindow(HWND hwnd);

} // namespace ce
