// Timers of the host's hidden window, set and killed from any thread. The system binds a window's
// timers to the window's own thread, so a request from another thread travels to it as a posted
// message that the window's procedure hands to Apply.
#pragma once

#include "Ports.h"
#include "WinApi.h"

// wParam: the timer id; lParam: the period in milliseconds, 0 to kill the timer.
constexpr UINT WM_TOLK_TIMER_REQUEST = WM_APP + 1;

class WinWindowTimers final : public WindowTimers {
public:
    explicit WinWindowTimers(HWND window);

    // A period of 0 gives the system's shortest timer. From another thread the request takes effect
    // when the window's thread reaches it in its message queue.
    void Set(uint32_t id, uint32_t periodMs) override;
    void Kill(uint32_t id) override;

    // Carries out a WM_TOLK_TIMER_REQUEST on the window's thread.
    static void Apply(HWND window, WPARAM wParam, LPARAM lParam);

private:
    void Request(uint32_t id, LPARAM period);

    HWND m_window;
};
