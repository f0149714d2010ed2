// The key menu's "Create Timer" and "Edit/Delete Timer": each runs its dialog when the library
// allows it and saves the library when the dialog ends with OK.
#pragma once

#include "Libraries.h"

#include <windows.h>

#include <string>

// Opens the creation dialog over owner only while the library may take another timer. With OK the
// new timer is appended and the library saved below folder. True when a timer was created and
// saved.
bool RunCreateTimerDialog(HWND owner, TimerLibrary& timers, const std::string& folder);
// Opens the edit dialog over owner only when there is a timer. The dialog changes the library at
// once; with OK it is saved below folder. True when the dialog ended with OK and the save worked.
bool RunEditTimerDialog(HWND owner, TimerLibrary& timers, const std::string& folder);
