#include "ExMenuTree.h"

CExMenuTree::CExMenuTree(const MenuItem& root)
{
    Make(root);
}

CExMenu& CExMenuTree::Make(const MenuItem& item)
{
    m_menus.push_back(std::make_unique<CExMenu>());
    CExMenu& menu = *m_menus.back();
    menu.SetTextFont(kKeyMenuFontFace, kKeyMenuFontHeight, kKeyMenuFontWeight);
    menu.SetWidth(item.width);
    for (const MenuItem& child : item.children) {
        const MenuEntry entry = MenuEntryOf(child);
        if (child.submenu)
            menu.AppendSubmenu(entry, Make(child));
        else
            menu.AppendEntry(entry, static_cast<UINT>(child.separator ? 0 : child.commandId));
    }
    return menu;
}
