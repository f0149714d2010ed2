#include "WinWindowTimers.h"

#include "Log.h"

#include <algorithm>

namespace {

constexpr LPARAM kKillRequest = 0;
// The longest period SetTimer accepts (USER_TIMER_MAXIMUM), which also fits in a 32-bit LPARAM.
constexpr uint32_t kLongestPeriodMs = 0x7FFFFFFF;

} // namespace

WinWindowTimers::WinWindowTimers(HWND window) : m_window(window) {}

void WinWindowTimers::Set(uint32_t id, uint32_t periodMs)
{
    // 1 ms is below the system's shortest period, so it asks for the same as 0 without meaning kill.
    Request(id, static_cast<LPARAM>(std::clamp<uint32_t>(periodMs, 1, kLongestPeriodMs)));
}

void WinWindowTimers::Kill(uint32_t id)
{
    Request(id, kKillRequest);
}

void WinWindowTimers::Request(uint32_t id, LPARAM period)
{
    if (GetWindowThreadProcessId(m_window, nullptr) == GetCurrentThreadId()) {
        Apply(m_window, static_cast<WPARAM>(id), period);
        return;
    }
    if (!PostMessageA(m_window, WM_TOLK_TIMER_REQUEST, static_cast<WPARAM>(id), period))
        LogDebug("Timer request %u not posted (error %lu)\n", id, GetLastError());
}

void WinWindowTimers::Apply(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (lParam == kKillRequest)
        KillTimer(window, wParam);
    else
        SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr);
}
