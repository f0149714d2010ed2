// Input and screen helpers of the tests that drive real windows under Wine: the user's pointer and
// keys as the system delivers them, and what the screen shows.
#pragma once

#include "Wnd.h"

#include <string>

#include <windows.h>

// Runs the thread's messages for a while, as the program's loop does (PreTranslateMessage first).
void Pump(DWORD milliseconds);
COLORREF ScreenPixel(POINT at);
// The centre of the window on the screen.
POINT CentreOf(const CWnd& window);
// Moves the pointer there and lets the windows see it.
void MoveMouse(POINT at);
// A left click there, with the pauses a hand leaves between move, press and release.
void Click(POINT at);
// Presses and releases the key; the caller pumps.
void PressKey(BYTE vk);
// One press (up false) or release of the key through SendInput, as a keyboard's own arrives; the
// caller pumps. Repeated presses without a release are a key held down.
void SendKeyInput(BYTE vk, bool up);
// Types text with the keys the keyboard layout has for its characters (Shift where needed).
void TypeText(const std::string& text);
