// The soft input panel: a small on-screen keyboard, the top-level device
// window of class "SipWndClass" (about 240 x 80, hidden at start). Its keys
// type into the focused window without taking the focus; each key goes the
// way a real key goes (WM_KEYDOWN and WM_CHAR with pre-translation).
// Two keys of the bottom row switch to an accent layer and to a pinyin mode
// (and back): letters typed there form a syllable, the top row offers its
// ideographs a page at a time, a tap types one; Space or Enter types the
// first, Backspace edits the syllable. Keys and candidates the ANSI code page
// cannot store are greyed and type nothing.
#pragma once
#include "platform/ui/WinDef.h"
#include <functional>
#include <string>
#include <string_view>

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
// Where the pinyin mode finds the ideographs of a syllable (lower-case a-z,
// v for u-umlaut): one character each, most common first. Without a source
// a syllable has no candidates and Space types its letters.
void SipSetCandidateSource(std::function<std::u16string(std::u16string_view syllable)> source);

} // namespace ce
