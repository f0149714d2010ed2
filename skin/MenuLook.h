// The look of the program's owner-drawn menus as data: their colours, the size of each item and
// what an item shows in a given state. The menu windows only paint what these functions decide.
#pragma once

#include "Menu.h"

#include <cstdint>
#include <string>
#include <string_view>

// Colours are COLORREF values (0x00BBGGRR).
struct MenuColours {
    uint32_t background = 0x000000; // normal items and separators
    uint32_t highlight = 0xDEA035;  // the selected item
    uint32_t line = 0xDEA035;       // a separator's line
    uint32_t text = 0xFFFFFF;
    uint32_t selectedText = 0xFFFFFF;
    uint32_t current = 0xFFBF44;      // the text of the entry that is the present choice
    uint32_t disabledText = 0x808080; // the text of an item that cannot be chosen
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

// The font of the item texts.
constexpr char kMenuFontFace[] = "Arial";
constexpr int kMenuFontHeight = 15;
constexpr int kMenuFontWeight = 400;

// A menu's width after appending an item with text to a menu of width: the larger of the two and
// the text's estimate.
int WidenMenuFor(int width, std::string_view text);

struct MenuItemSize {
    int width = 0;
    int height = 0;
};
// Every item of a menu is menuWidth wide; separators 5 high, a command of id 1 0 (it takes no
// room), others the item height plus 2.
MenuItemSize MeasureMenuItem(const MenuItem& item, int menuWidth, int itemHeight = kMenuItemHeight);

// What one item shows.
struct MenuItemLook {
    uint32_t fill = 0; // the whole item rectangle
    bool line = false; // a separator: a 1-pixel line in lineColour across the middle
    uint32_t lineColour = 0;
    std::string text; // drawn transparent, single line, vertically centred
    uint32_t textColour = 0;
    bool trademark = false; // "TM" right after the text
    bool arrow = false;     // the submenu arrow
};
// An item's submenu plays no part in its look.
MenuItemLook LookOfMenuItem(const MenuItem& item, bool selected, const MenuColours& colours = {});

// What assistive technology reads of an item: its text as shown ("&&" read as one "&"), without
// the present choice's "*"; empty for a separator.
std::string MenuItemAccessName(const MenuItem& item);
