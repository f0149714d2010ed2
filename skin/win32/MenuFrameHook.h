// The program's flat frame on every menu window of the user-interface thread. A thread hook
// (WH_CALLWNDPROC) sees each menu window ("#32768") as it is created or resized for a menu and
// subclasses it; the menu window procedure paints the frame instead of the system's and puts the
// window's own procedure back when the window hides or goes, so that a menu window the system
// reuses is decorated again at its next showing.
#pragma once

#include <windows.h>

#include <cstddef>

class CMenuFrameHook {
public:
    // Installs the hook on the calling thread; a second call does nothing. True when the hook is
    // installed afterwards.
    static bool InstallHook();
    // Restores every decorated menu window and removes the hook.
    static void RemoveHook();
    static bool IsHookInstalled();

    // Whether window is a menu window whose procedure is the menu window procedure now.
    static bool IsDecorated(HWND window);
    // Menu windows decorated now.
    static std::size_t LiveCount();
    // How many times a menu window was decorated and restored since the program started: every
    // showing of a menu counts once each way.
    static unsigned DecorationCount();
    static unsigned RestorationCount();

    explicit CMenuFrameHook(HWND window) : m_window(window) {}
    CMenuFrameHook(const CMenuFrameHook&) = delete;
    CMenuFrameHook& operator=(const CMenuFrameHook&) = delete;

private:
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MenuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Subclasses a menu window not yet decorated.
    static void Decorate(HWND window);
    // The window's own procedure back; its record goes.
    static void Restore(HWND window);
    // The frame into dc, over the window's whole rectangle.
    static void DrawFrame(HWND window, HDC dc);

    HWND m_window;
};
