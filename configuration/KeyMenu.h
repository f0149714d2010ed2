// The content of a key's assignment menu as data: the key page turns it into the program's
// owner-drawn menus and opens it under the key's button.
#pragma once

#include "Libraries.h"
#include "Menu.h"
#include "Records.h"

#include <string>
#include <string_view>
#include <vector>

// The menu of a key whose assignment is info (the copy taken when the menu opens), over the
// libraries as they are now. The top-level items in order: "Assign Macro", "Assign a shortcut",
// "Assign a timer", "Multimedia", "Internet Explorer", "Button off". Sets, macros and timers the
// command numbering cannot reach are left out.
//
// Checked (the present choice): a set and its macro when the key plays a macro of that set and
// name (blanks trimmed, case ignored, the library names cut to the key's fields); a timer when the
// key runs a timer of that name; a fixed entry when choosing it would store the key's function
// again.
Menu BuildKeyMenu(const ButtonInfo& info, const MacroLibrary& macros, const TimerLibrary& timers);
