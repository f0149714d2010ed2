// The program's popup menus: every item drawn by the menu object in the program's colours, the
// present choice marked, an optional "TM" after a text, an arrow on submenu items. What an item
// shows and how big it is comes from MenuLook.h; this class only paints it.
#pragma once

#include "MenuLook.h"
#include "OwnerDrawnMenu.h"
#include "UniqueHandle.h"

#include <vector>

class CExMenu : public COwnerDrawnMenu {
public:
    CExMenu();

    // A command or a separator; a command of id 1 takes no room. A disabled item cannot be chosen;
    // a checked one is drawn as the present choice, without the system's check mark.
    bool AppendEntry(const MenuItem& item);
    // A submenu item, item's own submenu aside; submenu's handle now belongs to this menu, and the
    // submenu object must live as long as this menu does.
    bool AppendSubmenu(const MenuItem& item, CExMenu& submenu);

    // The display scaling the menu is shown at (skin/DpiScale.h): sizes, offsets and fonts are the
    // 100 % ones of MenuLook.h scaled. Set before SetTextFont.
    void SetScale(int percent);
    // The owner's minimum item width in pixels (at 100 %); longer texts still widen the menu.
    void SetWidth(int width) { m_minimumWidth = width; }
    // The width every item of the menu is measured with, at the menu's scaling.
    int Width() const;
    // The font of the item texts (height at 100 %), made here once for this menu object (the
    // system's menu font until one is set).
    void SetTextFont(const char* face, int height, int weight);
    const MenuColours& Colours() const { return m_colours; }
    // The items as appended, separators included, in order, without their submenus' items.
    const std::vector<MenuItem>& Entries() const { return m_entries; }

protected:
    void MeasureItem(MEASUREITEMSTRUCT& item, ULONG_PTR data) override;
    void DrawItem(const DRAWITEMSTRUCT& item, ULONG_PTR data) override;

private:
    bool Record(const MenuItem& item, MenuItemType type);

    MenuColours m_colours;
    int m_itemHeight = kMenuItemHeight;
    int m_minimumWidth = 0;
    int m_textWidth = 0;             // the estimate of the longest text
    std::vector<MenuItem> m_entries; // an item's data is its index here
    UniqueGdiObject<HFONT> m_textFont;
    UniqueGdiObject<HFONT> m_trademarkFont;
    UniqueIcon m_arrow;
    int m_percent = 100;
};
