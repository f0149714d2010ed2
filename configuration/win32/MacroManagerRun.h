// The key menu's "Create New Macro..." and "Edit Macro...": the macro manager runs over the
// document's macro library, which is saved when it ends with OK and read again from the file when
// it ends any other way.
#pragma once

#include "Libraries.h"
#include "MacroManagerDlg.h"
#include "Records.h"

#include <windows.h>

#include <string>

// Runs the manager modally over owner for the set the opening command names (-1: the top entry)
// and the assignment of the key being edited, with the given editor pages (none when a factory is
// empty). Then the library is saved below folder (OK) or reloaded from there (any other end).
// True when the manager ended with OK and the save worked; then pausesCapped, when given, tells
// whether a pause of the saved macros was cut to 65535 ms on the way.
bool RunMacroManager(HWND owner, MacroLibrary& macros, const std::string& folder, int set, const ButtonInfo& key,
                     CMacroManagerDlg::PageFactory basic = {}, CMacroManagerDlg::PageFactory advanced = {},
                     bool* pausesCapped = nullptr);
