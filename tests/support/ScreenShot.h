// Pictures of what the screen shows, saved as PNG files for a person to look at.
#pragma once

#include "Wnd.h"

#include <string>

#include <windows.h>

// Saves the screen's pixels within rect (screen coordinates) as an RGB PNG file at path. False when
// the pixels could not be read or the file not written.
bool SaveScreenPng(const RECT& rect, const std::string& path);
// The window as the screen shows it (what lies over it included), into folder + name + ".png";
// the folder is made when missing.
bool SaveWindowPng(const CWnd& window, const std::string& folder, const std::string& name);
