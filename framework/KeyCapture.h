// The keyboard capture: while it runs, every key that goes down or up anywhere on the desktop is
// posted to one window as WM_KBDHOOK_KEY. The keys are not swallowed: they still reach the system
// and the focused program. A window that waits for the user to press a key (the shortcut dialog,
// the macro recorder) starts the capture when it opens and stops it in its WM_DESTROY.
//
// The capture is a low-level keyboard hook of the calling thread: Start and Stop are called on the
// user-interface thread, which must keep handling messages while the capture runs (the system
// calls the hook from that thread's message retrieval and gives up on a thread that does not
// answer). The hook reports only that it was set or removed to the debug output, never a key.
#pragma once

#include <windows.h>

#include <cstdint>

// Posted to the capturing window for every key event: wParam = the virtual-key code, lParam = 0x80
// (LLKHF_UP) for a release, 0 for a press. A key held down arrives as repeated presses and one
// release.
constexpr UINT WM_KBDHOOK_KEY = WM_USER + 10;

// Starts capturing keys for target. One target at a time: when the capture already runs for
// another window, target takes it over (the window opened last is the one in front, waiting for a
// key) and the other receives nothing more. False when target is not a window or the hook could
// not be installed; nothing is captured for target then.
bool StartKeyCapture(HWND target);
// Stops the capture, whichever window it runs for.
void StopKeyCapture();
// Stops the capture only when it runs for target: a window whose capture was taken over by another
// stops nothing when it goes.
void StopKeyCapture(HWND target);
// The window the capture runs for, or null. A target destroyed without stopping the capture keeps
// it only until the next key event, when the capture sees the window gone and removes itself.
HWND KeyCaptureTarget();

// When the hook saw a key, on a monotonic microsecond clock (the performance counter). The hook
// stamps every key it posts and keeps the stamps in arrival order beside the messages, so a window
// that measures the gaps between keys gets the user's timing, not the time the messages waited in
// its queue. A window reads the stamp of each WM_KBDHOOK_KEY it handles, in the order they came:
// stamps of earlier keys it did not ask for are dropped on the way. A message the hook did not post
// (none of the queued stamps matches it) gets the time of asking. At most 256 stamps are kept;
// the oldest go first.
int64_t TakeKeyCaptureStamp(WPARAM virtualKey, LPARAM flags);
// The clock of the stamps, now.
int64_t KeyCaptureClockUs();
