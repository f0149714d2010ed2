// Messages of the skinned controls and the process-wide hint channel that carries the hint of
// the control under the pointer to the main window's status line.
#pragma once

#include "ControlRules.h"

#include <windows.h>

// To a bitmap button's parent: wParam 1 pointer entered (highlight on), 0 left; lParam the tag.
constexpr UINT WM_BUTTON_HOVER = WM_USER + 100;
// To the main window: wParam 1 or 0 as above; the text is SkinHints().Current().
constexpr UINT WM_STATUS_HINT = WM_USER + 101;
// Sent by a bitmap button to its top-level window when Space or Return (wParam) goes down on it
// (lParam the button): 2 when the key is not the button's to act on (the window captures it), else
// the button clicks.
constexpr UINT WM_SKIN_KEY_ACTIVATES = WM_USER + 103;
// To an edit field's parent: wParam 0 after a text change, 13 after Return is released.
constexpr UINT WM_EDIT_NOTIFY = WM_USER + 92;

// Registered at program start ("BitmapEdit_KillFocus", "BitmapEdit_Change"); registering again
// returns the same numbers.
void RegisterSkinMessages();
UINT BitmapEditKillFocusMessage();
UINT BitmapEditChangeMessage();

// The current hint text; used on the user-interface thread only.
HintChannel& SkinHints();
// The window that receives WM_STATUS_HINT (the main window stores itself when it initialises).
void SetHintWindow(HWND window);
HWND HintWindow();
// Posts WM_STATUS_HINT (state, 0) to the hint window, when there is one.
void PostStatusHint(WPARAM state);
