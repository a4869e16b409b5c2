// Window functions of the device. Everything here runs on the user-interface
// thread, except where a function says it may be called from any thread.
#pragma once
#include "platform/ui/WinDef.h"
#include <string>

namespace ce {

// Window classes. Registering a name twice keeps the first registration.
ATOM RegisterClassW(const WNDCLASSW* wc);
// Registers (once per distinct argument set) a class with the default window
// procedure and returns its generated name ("Afx:..."); the pointer stays valid.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// hMenu is the control id for a child window. x, y are relative to the
// parent's client area, or to the device screen for a top-level window.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU hMenu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
// The default handling of every message for windows without a class procedure
// of their own.
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Runs the window's handler at once on the user-interface thread. From any
// other thread it blocks until the user-interface thread has run it; that
// thread serves such calls whenever it processes events (message loop, modal
// loops) and while it waits for the sending thread (WaitServingSentMessages).
// Returns 0 for a destroyed window.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Any thread. Queued; messages posted from one thread arrive in order. Posted
// messages pass through key pre-translation like input does. FALSE only when
// hwnd is null or not a window at the time of the call.
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Any thread: ends the innermost RunMessageLoop with this exit code.
void PostQuitMessage(int exitCode);

// Any thread (calls from other threads are carried out on the user-interface
// thread a moment later). Ticks arrive as WM_TIMER with wParam = id; a timer
// with the same window and id is replaced. Returns id, or 0 for a null window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

BOOL IsWindow(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
// First top-level window of the class (and title, when given).
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
int GetClassNameW(HWND hwnd, LPWSTR buffer, int maxCount);
HWND GetWindow(HWND hwnd, UINT cmd);
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
// In device screen coordinates.
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL ScreenToClient(HWND hwnd, LPPOINT pt);
BOOL ClientToScreen(HWND hwnd, LPPOINT pt);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount);
int GetWindowTextLengthW(HWND hwnd);
// Convenience forms of the two above.
BOOL SetWindowText(HWND hwnd, const std::u16string& text);
std::u16string GetWindowText(HWND hwnd);

// The whole client area is invalidated whatever rect says. Any thread.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
// Paints the window at once (WM_ERASEBKGND and WM_PAINT) if it needs
// painting. Any thread (from another thread: a moment later).
BOOL UpdateWindow(HWND hwnd);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Negative while the key is held down, as the keys typed on the device
// screen (and DeliverKey's WM_KEYDOWN and WM_KEYUP) left it.
std::int16_t GetKeyState(int virtualKey);
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND GetActiveWindow();

int GetSystemMetrics(int index);
COLORREF GetSysColor(int index);

BOOL EndDialog(HWND dialog, int result);

} // namespace ce
