#include "Menu.h"

#include <tuple>
#include <utility>

bool operator==(const Menu& a, const Menu& b)
{
    return a.width == b.width && a.items == b.items;
}

bool operator==(const MenuItem& a, const MenuItem& b)
{
    return std::tie(a.type, a.text, a.id, a.checked, a.disabled, a.isDefault, a.trademark) ==
               std::tie(b.type, b.text, b.id, b.checked, b.disabled, b.isDefault, b.trademark) &&
           a.submenu == b.submenu;
}

MenuItem CommandItem(std::string text, int id, bool checked)
{
    MenuItem item;
    item.text = std::move(text);
    item.id = id;
    item.checked = checked;
    return item;
}

MenuItem SeparatorItem()
{
    MenuItem item;
    item.type = MenuItemType::Separator;
    return item;
}

MenuItem SubmenuItem(std::string text, Menu submenu, bool checked)
{
    MenuItem item;
    item.type = MenuItemType::Submenu;
    item.text = std::move(text);
    item.checked = checked;
    item.submenu = std::move(submenu);
    return item;
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
