#include "TrayIcon.h"

#include "HostConstants.h"
#include "Log.h"

Menu TrayMenu()
{
    Menu menu;
    menu.items = {CommandItem("Configuration", kCmdTrayConfiguration), SeparatorItem(),
                  CommandItem("Exit", kCmdTrayExit)};
    menu.items.front().isDefault = true;
    return menu;
}

TrayAction TrayActionFor(uint32_t mouseMessage)
{
    switch (mouseMessage) {
    case 0x201: return TrayAction::ActivatePopup; // WM_LBUTTONDOWN
    case 0x203: return TrayAction::ShowConfig;    // WM_LBUTTONDBLCLK
    case 0x204: return TrayAction::ShowMenu;      // WM_RBUTTONDOWN
    default: return TrayAction::None;
    }
}

void TrayIcon::TryAdd()
{
    if (m_area.AddTrayIcon()) {
        m_shown = true;
        LogDebug("TolkHid: tray icon added\n");
        if (m_retrying) {
            m_timers.Kill(kTrayRetryTimerId);
            m_retrying = false;
        }
    } else if (!m_retrying) {
        LogDebug("TolkHid: the taskbar took no tray icon; trying again\n");
        m_timers.Set(kTrayRetryTimerId, kRetryPeriodMs);
        m_retrying = true;
    }
}

void TrayIcon::Add()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted = true;
    if (!m_shown && !m_retrying)
        TryAdd();
}

void TrayIcon::Remove()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_wanted = false;
    if (m_retrying) {
        m_timers.Kill(kTrayRetryTimerId);
        m_retrying = false;
    }
    if (!m_shown)
        return;
    m_area.RemoveTrayIcon();
    m_shown = false;
    LogDebug("TolkHid: tray icon removed\n");
}

void TrayIcon::OnRetryTimer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_wanted && !m_shown)
        TryAdd();
}

void TrayIcon::OnTaskbarCreated()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shown = false;
    if (m_wanted)
        TryAdd();
}

bool TrayIcon::Shown() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shown;
}
