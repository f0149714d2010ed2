#include "ExMenuTree.h"

CExMenuTree::CExMenuTree(const ::Menu& menu, int percent) : m_percent(percent)
{
    Make(menu);
}

CExMenu& CExMenuTree::Make(const ::Menu& menu)
{
    m_menus.push_back(std::make_unique<CExMenu>());
    CExMenu& shown = *m_menus.back();
    shown.SetScale(m_percent);
    shown.SetTextFont(kMenuFontFace, kMenuFontHeight, kMenuFontWeight);
    shown.SetWidth(menu.width);
    for (const MenuItem& item : menu.items) {
        if (item.type == MenuItemType::Submenu)
            shown.AppendSubmenu(item, Make(item.submenu));
        else
            shown.AppendEntry(item);
    }
    return shown;
}
