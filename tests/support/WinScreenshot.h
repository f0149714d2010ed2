// Screenshots of what the screen shows, kept as PNG files for a person to look at.
#pragma once

#include <windows.h>

#include <string>

// The folder screenshots of the window tests go to (with a trailing separator), made on demand.
std::string ScreenshotFolder();
// Saves the screen's rect (screen coordinates) as a PNG file at path; false when it could not.
bool SaveScreenPng(const RECT& rect, const std::string& path);
