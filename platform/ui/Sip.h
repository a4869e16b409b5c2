// The soft input panel: a small on-screen keyboard, the top-level device
// window of class "SipWndClass" (about 240 x 80, hidden at start). Its keys
// type into the focused window without taking the focus; each key goes the
// way a real key goes (WM_KEYDOWN and WM_CHAR with pre-translation).
#pragma once
#include "platform/ui/WinDef.h"

namespace ce {

inline constexpr const WCHAR* SIP_WINDOW_CLASS = u"SipWndClass";

constexpr DWORD SIPF_OFF = 0x00000000;
constexpr DWORD SIPF_ON = 0x00000001;
constexpr DWORD SIPF_DOCKED = 0x00000002;
constexpr DWORD SIPF_LOCKED = 0x00000004;

// 48 bytes, as on the device: the input method data pointer has a 32-bit slot.
struct SIPINFO {
    DWORD cbSize = 0;
    DWORD fdwFlags = 0;
    RECT rcVisibleDesktop;
    RECT rcSipRect;
    DWORD dwImDataSize = 0;
    DWORD pvImData = 0;
};
static_assert(sizeof(SIPINFO) == 48);

// Needs cbSize 48. Fills the flags (SIPF_ON while the panel shows), the
// panel's rectangle and the part of the screen above it.
BOOL SipGetInfo(SIPINFO* info);
// SIPF_ON shows the panel, flags without it hide it. A non-empty rcSipRect
// moves the panel there; an empty one leaves it where it is.
BOOL SipSetInfo(SIPINFO* info);
BOOL SipShowIM(DWORD flags);

} // namespace ce
