// The push button ("BUTTON") and its framework class CButton.
//
// A tap captures the stylus, takes the keyboard focus and pushes the
// button; lifting the stylus over it sends BN_CLICKED to the parent through
// WM_COMMAND. An owner-drawn button (BS_OWNERDRAW) draws nothing itself: on
// WM_PAINT and whenever its pushed state or focus changes it sends
// WM_DRAWITEM to its parent, which reflects it to the button's DrawItem.
#pragma once
#include "platform/ui/Wnd.h"

namespace ce {

inline constexpr const WCHAR* WC_BUTTONW = u"BUTTON";

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_TYPEMASK = 0x000F;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

constexpr UINT BST_UNCHECKED = 0x0000;
constexpr UINT BST_CHECKED = 0x0001;
constexpr UINT BST_PUSHED = 0x0004;
constexpr UINT BST_FOCUS = 0x0008;

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    using CWnd::Create;
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    UINT GetState() const { return UINT(SendMessage(BM_GETSTATE)); }
    // TRUE pushes the button, FALSE releases it, without a click.
    void SetState(BOOL pushed) { SendMessage(BM_SETSTATE, WPARAM(pushed)); }
    int GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, WPARAM(check)); }
    UINT GetButtonStyle() const { return UINT(GetStyle() & 0xFFFF); }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, WPARAM(style), LPARAM(redraw)); }
};

} // namespace ce
