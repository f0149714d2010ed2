// The desktop as the host sees it: other programs' windows, messages to them, the registry,
// program launches and the host's notification-area icon.
#pragma once

#include "Ports.h"
#include "UniqueHandle.h"
#include "WinApi.h"

#include <mutex>

class WinDesktop final : public Desktop {
public:
    static constexpr UINT kTrayIconId = 102;
    static constexpr const char kTrayTip[] = "ZENTOR Tolk";

    // hostWindow: the host's hidden window; it owns the tray icon and receives its callbacks.
    explicit WinDesktop(HWND hostWindow);
    ~WinDesktop() override;

    WindowId FindWindow(const std::string& className, const std::string& title) override;
    WindowId NextWindow(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    std::string WindowClass(WindowId window) override;
    bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void SetForeground(WindowId window) override;
    void ActivateAttached(WindowId window) override;
    void RestoreAndActivate(WindowId window) override;
    WindowId HostWindow() override;
    // Opens the key for all access where allowed, else for reading; never creates it. A value of
    // another type than a string, or longer than 260 bytes, gives nothing.
    std::optional<std::string> ReadRegistryString(const std::string& path, const std::string& valueName) override;
    // The text unchanged when it cannot be expanded.
    std::string ExpandEnvironment(const std::string& text) override;
    void Run(const std::string& commandLine) override;
    void ShellOpen(const std::string& file, const std::string& parameters) override;
    // Adding while the icon is shown leaves the one icon; removing when none is shown does nothing.
    // Callable from any thread.
    void AddTrayIcon() override;
    void RemoveTrayIcon() override;

private:
    HWND m_hostWindow;
    std::mutex m_trayMutex;
    UniqueIcon m_trayIcon; // set while the icon is shown
};
