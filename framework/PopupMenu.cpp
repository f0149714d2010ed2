#include "PopupMenu.h"

bool CPopupMenu::AppendItem(UINT flags, UINT_PTR id, const char* text)
{
    return m_menu && ::AppendMenuA(m_menu.Get(), flags, id, text) != FALSE;
}

bool CPopupMenu::AppendOwnerDrawn(UINT flags, UINT_PTR id, ULONG_PTR itemData)
{
    return m_menu && ::AppendMenuA(m_menu.Get(), flags | MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(itemData)) != FALSE;
}

bool CPopupMenu::AppendSubmenu(UINT flags, CPopupMenu&& submenu, const char* text)
{
    if (!m_menu || !submenu.m_menu)
        return false;
    if (!::AppendMenuA(m_menu.Get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.m_menu.Get()), text))
        return false;
    submenu.m_menu.Release(); // destroyed with this menu
    return true;
}

bool CPopupMenu::AppendOwnerDrawnSubmenu(UINT flags, CPopupMenu& submenu, ULONG_PTR itemData)
{
    if (!m_menu || !submenu.m_menu)
        return false;
    if (!::AppendMenuA(m_menu.Get(), flags | MF_POPUP | MF_OWNERDRAW, reinterpret_cast<UINT_PTR>(submenu.m_menu.Get()),
                       reinterpret_cast<LPCSTR>(itemData)))
        return false;
    submenu.m_menu.Release(); // destroyed with this menu
    return true;
}

bool CPopupMenu::SetDefaultItem(UINT id)
{
    return m_menu && ::SetMenuDefaultItem(m_menu.Get(), id, FALSE) != FALSE;
}

UINT CPopupMenu::Track(HWND owner, int x, int y, UINT flags) const
{
    if (!m_menu)
        return 0;
    // The owner's window must be the foreground window, or the menu does not close when the user
    // clicks elsewhere; an owner that is a child (a page of a dialog) brings its top-level window.
    HWND topLevel = ::GetAncestor(owner, GA_ROOT);
    ::SetForegroundWindow(topLevel != nullptr ? topLevel : owner);
    const BOOL command = ::TrackPopupMenu(m_menu.Get(), flags | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    return static_cast<UINT>(command);
}

UINT CPopupMenu::TrackAndPost(HWND owner, int x, int y, UINT flags) const
{
    const UINT command = Track(owner, x, y, flags);
    if (command != 0)
        ::PostMessageA(owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return command;
}

CPopupMenu PlainPopupMenu(const Menu& menu)
{
    CPopupMenu popup;
    for (const MenuItem& item : menu.items) {
        const UINT state = (item.checked ? MF_CHECKED : 0) | (item.disabled ? MF_GRAYED : 0);
        switch (item.type) {
        case MenuItemType::Separator: popup.AppendItem(MF_SEPARATOR, 0, nullptr); break;
        case MenuItemType::Submenu:
            popup.AppendSubmenu(MF_STRING | state, PlainPopupMenu(item.submenu), item.text.c_str());
            break;
        case MenuItemType::Command:
            popup.AppendItem(MF_STRING | state, static_cast<UINT_PTR>(item.id), item.text.c_str());
            if (item.isDefault)
                popup.SetDefaultItem(static_cast<UINT>(item.id));
            break;
        }
    }
    return popup;
}
