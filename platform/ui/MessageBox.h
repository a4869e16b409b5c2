// The message box: a modal window in the middle of the device screen with
// an icon, a text and a row of buttons.
#pragma once
#include "platform/ui/WinDef.h"
#include <string>

namespace ce {

// Buttons.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_RETRYCANCEL = 0x0005;
constexpr UINT MB_TYPEMASK = 0x000F;
// Icons.
constexpr UINT MB_ICONHAND = 0x0010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONEXCLAMATION = 0x0030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x0040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x00F0;

// Shows the box owned by `owner` (may be null) and waits, handling
// messages, until a button is chosen: Enter chooses the focused (else the
// first) button, Escape and the close box the cancelling one (Cancel, or
// OK when it is the only button). The owner's top-level window is disabled
// meanwhile. Returns IDOK, IDCANCEL, IDYES, IDNO or IDRETRY; 0 when the box
// cannot be shown.
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

// The buttons' words, looked up in the current resource module so that a
// satellite translates them: OK, Cancel, Yes, No and Retry in this order.
constexpr UINT IDS_MESSAGEBOX_OK = 61184;
constexpr UINT IDS_MESSAGEBOX_CANCEL = 61185;
constexpr UINT IDS_MESSAGEBOX_YES = 61186;
constexpr UINT IDS_MESSAGEBOX_NO = 61187;
constexpr UINT IDS_MESSAGEBOX_RETRY = 61188;

// The window class of the box, for finding it with FindWindowW.
inline constexpr const WCHAR* MESSAGEBOX_CLASSW = u"MessageBox";

} // namespace ce
