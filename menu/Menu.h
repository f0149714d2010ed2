// A popup menu as data: its items in order, with their command ids, texts, submenus, separators and
// states. The portable code that decides a menu's entries builds one; the window that opens it turns
// it into a window menu (CExMenuTree for the configuration program's owner-drawn menus,
// PlainPopupMenu for the system's) and tracks it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct MenuItem;

struct Menu {
    // The minimum width of the menu's items in pixels, 0 for none; the owner-drawn menus widen it
    // for longer texts, the system's menus ignore it.
    int width = 0;
    std::vector<MenuItem> items;
};

enum class MenuItemType {
    Command,   // chosen, it reports its id
    Separator, // a line between groups of items
    Submenu,   // opens the items of its submenu
};

struct MenuItem {
    MenuItemType type = MenuItemType::Command;
    // As the menu shows it: an "&" of a name is doubled (MenuText) so that it shows as written.
    std::string text;
    int id = 0;             // a command's id; 0 for a separator and a submenu
    bool checked = false;   // the present choice: "*" and the mark colour in the owner-drawn menus,
                            // a check mark in the system's
    bool disabled = false;  // shown, but cannot be chosen
    bool isDefault = false; // drawn bold in the system's menus; one per menu at most
    bool trademark = false; // a small "TM" follows the text in the owner-drawn menus
    Menu submenu;           // a submenu's items and width
};

// Equal in every item, state and submenu.
bool operator==(const Menu& a, const Menu& b);
bool operator==(const MenuItem& a, const MenuItem& b);

MenuItem CommandItem(std::string text, int id, bool checked = false);
MenuItem SeparatorItem();
MenuItem SubmenuItem(std::string text, Menu submenu, bool checked = false);

// Text for a menu item that shows name as written, "&" not taken as a mnemonic marker.
std::string MenuText(std::string_view name);
