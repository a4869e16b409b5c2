// For tests only: input delivered as if it came from the host's keyboard,
// the touch screen, the mouse or a desktop input method. A key press is
// DeliverKeyStroke of Host.h.
#pragma once
#include "platform/ui/Host.h"
#include <string>

namespace ce {

// Delivers a message as if it came from the keyboard or the touch screen:
// it goes through pre-translation (the window and its parents) and, unless
// swallowed, to the window.
void SimulateKey(HWND hwnd, UINT message, WPARAM wParam);
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

} // namespace ce
