// The content of a key's assignment menu as data: the key page turns it into owner-drawn menus
// item by item and opens it under the key's button.
#pragma once

#include "Libraries.h"
#include "MenuLook.h"
#include "Records.h"

#include <string>
#include <string_view>
#include <vector>

struct MenuItem {
    // As the menu shows it: an "&" of a name is doubled so that it shows as written.
    std::string text;
    int commandId = 0;       // 0 for a separator and for a submenu's title
    bool separator = false;
    bool submenu = false;    // the item opens children
    bool current = false;    // the key's present assignment: drawn in the mark colour after a "*"
    bool trademark = false;  // a small "TM" follows the text; no entry of a key's menu carries one
    int width = 0;           // submenu: the owner's minimum item width in pixels (0: none set)
    std::vector<MenuItem> children;
};

// The font of the key menu's item texts.
constexpr char kKeyMenuFontFace[] = "Arial";
constexpr int kKeyMenuFontHeight = 15;
constexpr int kKeyMenuFontWeight = 400;

// What the owner-drawn menu draws for item: its text, kind and marks.
MenuEntry MenuEntryOf(const MenuItem& item);

// The menu of a key whose assignment is info (the copy taken when the menu opens), over the
// libraries as they are now. The root is a submenu holding the top-level items in order:
// "Assign Macro", "Assign a shortcut", "Assign a timer", "Multimedia", "Internet Explorer",
// "Button off". Sets, macros and timers the command numbering cannot reach are left out.
//
// Marks: a set and its macro when the key plays a macro of that set and name (blanks trimmed, case
// ignored, the library names cut to the key's fields); a timer when the key runs a timer of that
// name; a fixed entry when choosing it would store the key's function again.
MenuItem BuildKeyMenu(const ButtonInfo& info, const MacroLibrary& macros, const TimerLibrary& timers);
