// Menus: a menu bar with pop-ups, built from a menu resource, and the
// per-item state (enabled, grayed, checked) that the command bar shows.
#pragma once
#include "platform/core/Types.h"
#include <string>

namespace ce {

struct MenuObject;
using HMENU = MenuObject*;

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

// Menu `id` of the current resource module (the module argument is accepted
// for the classic signature and ignored); nullptr when it has none.
HMENU LoadMenuW(HINSTANCE module, UINT id);
BOOL DestroyMenu(HMENU menu);
// -1 for a null menu.
int GetMenuItemCount(HMENU menu);
// The pop-up at position `pos`, nullptr when that item is no pop-up.
HMENU GetSubMenu(HMENU menu, int pos);
// The command id at position `pos`; 0xFFFFFFFF for a pop-up or a bad position.
UINT GetMenuItemID(HMENU menu, int pos);
// By command (searching the pop-ups too) or by position. Returns the item's
// previous MF_GRAYED | MF_DISABLED bits, or 0xFFFFFFFF when there is no such item.
DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags);
// MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_POPUP bits, or
// 0xFFFFFFFF when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// The item's text with its '&' marker; empty when there is no such item.
std::u16string GetMenuText(HMENU menu, UINT item, UINT flags);

class CMenu {
public:
    CMenu() = default;
    ~CMenu(); // destroys an attached menu
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // The wrapper that lives with the menu itself; never deleted by the caller.
    static CMenu* FromHandle(HMENU menu);

    BOOL LoadMenu(UINT id);
    BOOL Attach(HMENU menu);
    HMENU Detach();
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }

    int GetMenuItemCount() const { return ce::GetMenuItemCount(m_hMenu); }
    CMenu* GetSubMenu(int pos) const { return FromHandle(ce::GetSubMenu(m_hMenu, pos)); }
    UINT GetMenuItemID(int pos) const { return ce::GetMenuItemID(m_hMenu, pos); }
    UINT EnableMenuItem(UINT item, UINT flags) { return ce::EnableMenuItem(m_hMenu, item, flags); }
    UINT GetMenuState(UINT item, UINT flags) const { return ce::GetMenuState(m_hMenu, item, flags); }

    HMENU m_hMenu = nullptr;

private:
    friend struct MenuObject;
    bool ownsMenu = false;
};

} // namespace ce
