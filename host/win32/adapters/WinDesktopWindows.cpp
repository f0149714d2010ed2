#include "WinDesktopWindows.h"

#include "WinText.h"

namespace {

constexpr size_t kTextBufferSize = 260;
constexpr size_t kClassNameBufferSize = 256; // the longest class name the system allows, plus one

HWND ToHwnd(WindowId window)
{
    return reinterpret_cast<HWND>(window);
}

WindowId ToWindowId(HWND window)
{
    return reinterpret_cast<WindowId>(window);
}

} // namespace

WindowId WinDesktopWindows::FindWindow(const std::string& className, const std::string& title)
{
    return ToWindowId(FindWindowA(NullIfEmpty(className), NullIfEmpty(title)));
}

WindowId WinDesktopWindows::NextWindow(WindowId window)
{
    return ToWindowId(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

std::string WinDesktopWindows::WindowTitle(WindowId window)
{
    // For a window that does not exist Wine's GetWindowTextA reports stale bytes as a title.
    if (!IsWindow(ToHwnd(window)))
        return {};
    char buffer[kTextBufferSize] = {};
    const int count = GetWindowTextA(ToHwnd(window), buffer, static_cast<int>(sizeof buffer));
    return BoundedText(buffer, sizeof buffer, count > 0 ? static_cast<size_t>(count) : 0);
}

std::string WinDesktopWindows::WindowClass(WindowId window)
{
    char buffer[kClassNameBufferSize] = {};
    const int count = GetClassNameA(ToHwnd(window), buffer, static_cast<int>(sizeof buffer));
    return BoundedText(buffer, sizeof buffer, count > 0 ? static_cast<size_t>(count) : 0);
}

bool WinDesktopWindows::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return PostMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != 0;
}

intptr_t WinDesktopWindows::SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return 0;
    return static_cast<intptr_t>(result);
}

void WinDesktopWindows::SetForeground(WindowId window)
{
    SetForegroundWindow(ToHwnd(window));
}

void WinDesktopWindows::ActivateAttached(WindowId window)
{
    // The system lets a thread bring a window to the front only while its input is attached to the
    // thread that has the foreground.
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD hostThread = GetWindowThreadProcessId(m_hostWindow, nullptr);
    const bool attached = foregroundThread != 0 && hostThread != 0 && foregroundThread != hostThread &&
                          AttachThreadInput(foregroundThread, hostThread, TRUE);
    SetForegroundWindow(ToHwnd(window));
    if (attached)
        AttachThreadInput(foregroundThread, hostThread, FALSE);
}

void WinDesktopWindows::RestoreAndActivate(WindowId window)
{
    const HWND hwnd = ToHwnd(window);
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
}

WindowId WinDesktopWindows::HostWindow()
{
    return ToWindowId(m_hostWindow);
}
