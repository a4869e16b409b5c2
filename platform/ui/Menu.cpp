#include "platform/ui/Menu.h"
#include "platform/core/Resources.h"
#include <memory>
#include <vector>

namespace ce {

struct MenuObject {
    struct Item {
        std::u16string text;
        UINT id = 0;
        UINT state = 0; // MF_GRAYED | MF_DISABLED | MF_CHECKED
        bool separator = false;
        std::unique_ptr<MenuObject> popup;
    };
    std::vector<Item> items;
    CMenu wrapper;

    MenuObject() { wrapper.m_hMenu = this; }

    static std::unique_ptr<MenuObject> FromTemplate(const std::vector<MenuItem>& source)
    {
        auto menu = std::make_unique<MenuObject>();
        for (const MenuItem& entry : source) {
            Item item;
            item.text = entry.text;
            item.id = entry.id;
            item.separator = entry.separator;
            item.state = (entry.grayed ? MF_GRAYED : 0) | (entry.checked ? MF_CHECKED : 0);
            if (entry.IsPopup())
                item.popup = FromTemplate(entry.items);
            menu->items.push_back(std::move(item));
        }
        return menu;
    }

    // By command the pop-ups are searched too, depth first, as the device does.
    Item* Find(UINT item, UINT flags)
    {
        if (flags & MF_BYPOSITION)
            return item < items.size() ? &items[item] : nullptr;
        for (Item& entry : items) {
            if (entry.popup) {
                if (Item* found = entry.popup->Find(item, flags))
                    return found;
            } else if (!entry.separator && entry.id == item) {
                return &entry;
            }
        }
        return nullptr;
    }
};

HMENU LoadMenuW(HINSTANCE, UINT id)
{
    const MenuTemplate* source = FindMenu(id);
    if (!source)
        return nullptr;
    return MenuObject::FromTemplate(source->items).release();
}

BOOL DestroyMenu(HMENU menu)
{
    if (!menu)
        return FALSE;
    delete menu;
    return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
    return menu ? int(menu->items.size()) : -1;
}

HMENU GetSubMenu(HMENU menu, int pos)
{
    if (!menu || pos < 0 || size_t(pos) >= menu->items.size())
        return nullptr;
    return menu->items[size_t(pos)].popup.get();
}

UINT GetMenuItemID(HMENU menu, int pos)
{
    if (!menu || pos < 0 || size_t(pos) >= menu->items.size() || menu->items[size_t(pos)].popup)
        return 0xFFFFFFFFu;
    return menu->items[size_t(pos)].id;
}

DWORD EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
    MenuObject::Item* entry = menu ? menu->Find(item, flags) : nullptr;
    if (!entry)
        return 0xFFFFFFFFu;
    const DWORD previous = entry->state & (MF_GRAYED | MF_DISABLED);
    entry->state = (entry->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags)
{
    MenuObject::Item* entry = menu ? menu->Find(item, flags) : nullptr;
    if (!entry)
        return 0xFFFFFFFFu;
    UINT state = entry->state;
    if (entry->separator)
        state |= MF_SEPARATOR;
    if (entry->popup)
        state |= MF_POPUP;
    return state;
}

std::u16string GetMenuText(HMENU menu, UINT item, UINT flags)
{
    MenuObject::Item* entry = menu ? menu->Find(item, flags) : nullptr;
    return entry ? entry->text : std::u16string();
}

CMenu::~CMenu()
{
    if (ownsMenu)
        DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu)
{
    return menu ? &menu->wrapper : nullptr;
}

BOOL CMenu::LoadMenu(UINT id)
{
    return Attach(LoadMenuW(AfxGetResourceHandle(), id));
}

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu || m_hMenu)
        return FALSE;
    m_hMenu = menu;
    ownsMenu = true;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    ownsMenu = false;
    return menu;
}

BOOL CMenu::DestroyMenu()
{
    if (!ownsMenu)
        return FALSE;
    return ce::DestroyMenu(Detach());
}

} // namespace ce
