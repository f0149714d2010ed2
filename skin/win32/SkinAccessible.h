// What assistive technology (Microsoft Active Accessibility, and UI Automation through it) reads
// of a skinned control: the control answers WM_GETOBJECT(OBJID_CLIENT) with a small IAccessible
// whose name, description, keyboard shortcut, role and state it tells through WM_SKIN_ACCESS at
// every question, as the portable DescribeControl decided them. The object keeps only the window handle: a client that holds it
// after the control is gone gets errors, never a dangling control.
#pragma once

#include "ControlAccess.h"

#include <windows.h>

#include <string>

// Sent to a skinned control: lParam a ControlAccess* to fill; returns 1 when filled.
constexpr UINT WM_SKIN_ACCESS = WM_USER + 102;
// Sent to a skinned list (role List): returns the number of rows.
constexpr UINT WM_SKIN_ACCESS_ROWS = WM_USER + 104;
// Sent to a skinned list: wParam the row (from 0), lParam a std::string* to fill with its text;
// returns 1 when filled.
constexpr UINT WM_SKIN_ACCESS_ROW = WM_USER + 105;

// The MSAA role (ROLE_SYSTEM_*) of a control of role.
long AccessibleRole(ControlRole role);

// The answer to WM_SKIN_ACCESS: answer written to lParam's ControlAccess, 1; 0 for a null lParam.
LRESULT FillSkinAccess(LPARAM access, const ControlAccess& answer);
// The answer to WM_SKIN_ACCESS of a control whose window gives its role and name (a list, an edit
// field): unavailable while control is disabled.
LRESULT FillNamedAccess(LPARAM access, HWND control, ControlRole role, const std::string& name);

// The answer to WM_GETOBJECT of a control that handles WM_SKIN_ACCESS: an IAccessible for
// OBJID_CLIENT (LresultFromObject), 0 otherwise, so that the system's proxy answers.
LRESULT AnswerGetObject(HWND control, WPARAM flags, LPARAM objectId);

// Tell assistive technology that the control's name (its text) or its state (checked, focus)
// changed. A live line (the status line) is also announced as a live region's change.
void NotifyAccessNameChange(HWND control, bool live = false);
void NotifyAccessStateChange(HWND control);
