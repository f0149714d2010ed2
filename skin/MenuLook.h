// The look of the program's owner-drawn menus as data: their colours, the size of each item and
// what an item shows in a given state. The menu windows only paint what these functions decide.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Colours are COLORREF values (0x00BBGGRR).
struct MenuColours {
    uint32_t background = 0x000000;   // normal items and separators
    uint32_t highlight = 0xDEA035;    // the selected item
    uint32_t line = 0xDEA035;         // a separator's line
    uint32_t text = 0xFFFFFF;
    uint32_t selectedText = 0xFFFFFF;
    uint32_t current = 0xFFBF44;      // the text of the entry that is the present choice
};

// The menu windows' flat frame: an outer line in this colour, two black lines inside it.
constexpr uint32_t kMenuFrameColour = 0xDEA035;
constexpr uint32_t kMenuFrameInnerColour = 0x000000;

// Items are this plus 2 pixels high.
constexpr int kMenuItemHeight = 16;
// A menu's items are at least as wide as 8 pixels per character of their longest text.
constexpr int kMenuPixelsPerCharacter = 8;
// The text starts this far from the item's left edge.
constexpr int kMenuTextIndent = 2;
// The submenu arrow (a 32-pixel icon whose triangle sits left of its centre) is drawn at this
// offset from the item's top-right corner.
constexpr int kMenuArrowFromRight = 19;
constexpr int kMenuArrowAboveTop = 9;

enum class MenuItemKind {
    Command,
    Separator,
    Submenu,
    Hidden, // command id 1: an item that takes no room
};

struct MenuEntry {
    std::string text;       // as the menu shows it ("&" already doubled where it must show)
    MenuItemKind kind = MenuItemKind::Command;
    bool current = false;   // the present choice
    bool trademark = false; // a small "TM" follows the text
};

// Text for a menu item that shows name as written, "&" not taken as a mnemonic marker.
std::string MenuText(std::string_view name);

// The kind of an appended item from its command id, as the system reports it: 0 is a separator,
// 1 an item without room.
MenuItemKind MenuItemKindOf(int commandId, bool submenu);

// A menu's width after appending an item with text to a menu of width: the larger of the two and
// the text's estimate.
int WidenMenuFor(int width, std::string_view text);

struct MenuItemSize {
    int width = 0;
    int height = 0;
};
// Every item of a menu is menuWidth wide; separators 5 high, hidden items 0, others the item
// height plus 2.
MenuItemSize MeasureMenuItem(MenuItemKind kind, int menuWidth, int itemHeight = kMenuItemHeight);

// What one item shows.
struct MenuItemLook {
    uint32_t fill = 0;         // the whole item rectangle
    bool line = false;         // a separator: a 1-pixel line in lineColour across the middle
    uint32_t lineColour = 0;
    std::string text;          // drawn transparent, single line, vertically centred
    uint32_t textColour = 0;
    bool trademark = false;    // "TM" right after the text
    bool arrow = false;        // the submenu arrow
};
MenuItemLook LookOfMenuItem(const MenuEntry& entry, bool selected, const MenuColours& colours = {});
