// Other programs' windows as the host sees them, and the messages it sends them.
#pragma once

#include "Ports.h"
#include "WinApi.h"

class WinDesktopWindows final : public DesktopWindows {
public:
    // How long a send waits for another program's window to answer. A working media player answers
    // key and command messages at once; one that does not answer within this holds up the read
    // thread (and with it every later key and shut-down) no longer.
    static constexpr UINT kSendTimeoutMs = 1000;

    // hostWindow: the host's hidden window.
    explicit WinDesktopWindows(HWND hostWindow) : m_hostWindow(hostWindow) {}

    WindowId FindWindow(const std::string& className, const std::string& title) override;
    WindowId NextWindow(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    std::string WindowClass(WindowId window) override;
    bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // SendMessageTimeout with SMTO_ABORTIFHUNG and kSendTimeoutMs.
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetForeground(WindowId window) override;
    void ActivateAttached(WindowId window) override;
    void RestoreAndActivate(WindowId window) override;
    WindowId HostWindow() override;

private:
    HWND m_hostWindow;
};
