#include "MenuLook.h"

#include "ControlAccess.h"

#include <algorithm>

int WidenMenuFor(int width, std::string_view text)
{
    return std::max(width, static_cast<int>(text.size()) * kMenuPixelsPerCharacter);
}

MenuItemSize MeasureMenuItem(const MenuItem& item, int menuWidth, int itemHeight)
{
    if (item.type == MenuItemType::Separator)
        return {menuWidth, 5};
    if (item.type == MenuItemType::Command && item.id == 1)
        return {menuWidth, 0};
    return {menuWidth, itemHeight + 2};
}

MenuItemLook LookOfMenuItem(const MenuItem& item, bool selected, const MenuColours& colours)
{
    MenuItemLook look;
    if (item.type == MenuItemType::Separator) {
        look.fill = colours.background;
        look.line = true;
        look.lineColour = colours.line;
        return look;
    }
    look.fill = selected ? colours.highlight : colours.background;
    look.textColour = selected ? colours.selectedText : colours.text;
    look.text = item.text;
    if (item.checked) {
        look.textColour = colours.current;
        look.text = "*" + item.text;
    }
    if (item.disabled)
        look.textColour = colours.disabledText;
    look.trademark = item.trademark;
    look.arrow = item.type == MenuItemType::Submenu;
    return look;
}

std::string MenuItemAccessName(const MenuItem& item)
{
    if (item.type == MenuItemType::Separator)
        return {};
    ControlAccessInput input;
    input.caption = item.text;
    return DescribeControl(input).name;
}
