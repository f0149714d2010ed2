// A popup menu owned for a scope and tracked synchronously.
#pragma once

#include "Menu.h"
#include "UniqueHandle.h"

#include <windows.h>

class CPopupMenu {
public:
    CPopupMenu() : m_menu(::CreatePopupMenu()) {}

    HMENU Get() const { return m_menu.Get(); }
    // An item with a text (MF_STRING), an owner-drawn item (MF_OWNERDRAW, data = itemData) or a
    // separator (MF_SEPARATOR); flags may add MF_CHECKED, MF_GRAYED and the like.
    bool AppendItem(UINT flags, UINT_PTR id, const char* text);
    bool AppendOwnerDrawn(UINT flags, UINT_PTR id, ULONG_PTR itemData);
    // A submenu; the menu takes ownership of it.
    bool AppendSubmenu(UINT flags, CPopupMenu&& submenu, const char* text);
    // An owner-drawn submenu item (data = itemData). The menu takes ownership of submenu's handle;
    // the object itself stays with the caller (an owner-drawn submenu's object draws its items).
    bool AppendOwnerDrawnSubmenu(UINT flags, CPopupMenu& submenu, ULONG_PTR itemData);
    // The item with command id drawn bold, chosen by a double click on what opened the menu.
    bool SetDefaultItem(UINT id);
    // Shows the menu at screen point (x, y) for owner and waits for the choice: the chosen
    // command, 0 when the menu was dismissed. The command is returned, not sent.
    UINT Track(HWND owner, int x, int y, UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN) const;
    // Track, then the chosen command posted to owner as WM_COMMAND of a menu (notification 0, no
    // control), so that it reaches owner's command table after the menu has closed; nothing is
    // posted when the menu was dismissed. The chosen command, or 0.
    UINT TrackAndPost(HWND owner, int x, int y, UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN) const;

private:
    UniqueMenu m_menu;
};

// The system's own popup menu for menu, with its submenus: checked items carry the check mark,
// disabled ones are greyed, the default item is drawn bold. This is where every plain menu of the
// programs is made.
CPopupMenu PlainPopupMenu(const Menu& menu);
