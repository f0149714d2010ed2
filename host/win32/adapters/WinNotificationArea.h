// The host's icon in the taskbar's notification area, owned by the host's hidden window.
#pragma once

#include "Ports.h"
#include "UniqueHandle.h"
#include "WinApi.h"

#include <mutex>

class WinNotificationArea final : public NotificationArea {
public:
    static constexpr UINT kTrayIconId = 102;
    static constexpr const char kTrayTip[] = "ZENTOR Tolk";

    // hostWindow owns the icon and receives its callbacks.
    explicit WinNotificationArea(HWND hostWindow) : m_hostWindow(hostWindow) {}
    ~WinNotificationArea() override;

    // Always asks the taskbar, since only it knows whether it still holds the icon (a restarted
    // taskbar holds none): NIM_ADD, and where the taskbar already holds the icon NIM_MODIFY, so
    // there is never a second one. Callable from any thread.
    bool AddTrayIcon() override;
    // Nothing when no add succeeded since the last removal. Callable from any thread.
    void RemoveTrayIcon() override;

private:
    HWND m_hostWindow;
    std::mutex m_mutex;
    UniqueIcon m_icon;    // loaded at the first add, kept until removal
    bool m_added = false; // an add succeeded since the last removal
};
