#include "MenuLook.h"

#include <algorithm>

MenuItemKind MenuItemKindOf(int commandId, bool submenu)
{
    if (submenu)
        return MenuItemKind::Submenu;
    if (commandId == 0)
        return MenuItemKind::Separator;
    if (commandId == 1)
        return MenuItemKind::Hidden;
    return MenuItemKind::Command;
}

int WidenMenuFor(int width, std::string_view text)
{
    return std::max(width, static_cast<int>(text.size()) * kMenuPixelsPerCharacter);
}

MenuItemSize MeasureMenuItem(MenuItemKind kind, int menuWidth, int itemHeight)
{
    switch (kind) {
    case MenuItemKind::Separator:
        return {menuWidth, 5};
    case MenuItemKind::Hidden:
        return {menuWidth, 0};
    case MenuItemKind::Command:
    case MenuItemKind::Submenu:
        break;
    }
    return {menuWidth, itemHeight + 2};
}

MenuItemLook LookOfMenuItem(const MenuEntry& entry, bool selected, const MenuColours& colours)
{
    MenuItemLook look;
    if (entry.kind == MenuItemKind::Separator) {
        look.fill = colours.background;
        look.line = true;
        look.lineColour = colours.line;
        return look;
    }
    look.fill = selected ? colours.highlight : colours.background;
    look.textColour = selected ? colours.selectedText : colours.text;
    look.text = entry.text;
    if (entry.current) {
        look.textColour = colours.current;
        look.text = "*" + entry.text;
    }
    look.trademark = entry.trademark;
    look.arrow = entry.kind == MenuItemKind::Submenu;
    return look;
}

std::string MenuText(std::string_view name)
{
    std::string text;
    text.reserve(name.size());
    for (char c : name) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}

