// The host's notification-area icon: when it is shown, what its mouse messages ask for, and its menu.
#pragma once

#include "HostConstants.h"
#include "Menu.h"
#include "Ports.h"

#include <cstdint>
#include <mutex>

// The tray menu, built anew on every right click: "Configuration" (the default, drawn bold), a
// separator and "Exit".
Menu TrayMenu();

// What a mouse message of the tray icon asks for.
enum class TrayAction {
    None,
    ActivatePopup, // left button down: the hidden window's last active pop-up to the front
    ShowConfig,    // left double click: ShowConfigProgram
    ShowMenu,      // right button down: the tray menu
};

TrayAction TrayActionFor(uint32_t mouseMessage);

// The icon while the keyboard is there. Every open sequence asks for it and every removal of the
// keyboard takes it away; asking twice or taking away an absent icon does nothing, so exactly one
// icon is shown after any order of arrivals and removals. The taskbar may refuse the icon (at log-on
// it may not run yet) and loses it when it restarts: a refused icon is tried again on a timer until
// the taskbar takes it, and a restarted taskbar gets it again.
class TrayIcon {
public:
    // The retry timer (kTrayRetryTimerId) runs only while a wanted icon has not been taken.
    static constexpr uint32_t kRetryPeriodMs = 3000;

    TrayIcon(NotificationArea& area, WindowTimers& timers) : m_area(area), m_timers(timers) {}

    void Add();
    void Remove();
    // kTrayRetryTimerId expired.
    void OnRetryTimer();
    // The taskbar was created anew (the registered message "TaskbarCreated"): it holds none of the
    // icons of its predecessor.
    void OnTaskbarCreated();
    // The taskbar holds the icon.
    bool Shown() const;

private:
    // Asks the taskbar for the icon; on refusal the retry timer runs. Called under m_mutex.
    void TryAdd();

    NotificationArea& m_area;
    WindowTimers& m_timers;
    // Arrival and removal run on the read thread, start-up, timers and shut-down on the UI thread.
    mutable std::mutex m_mutex;
    bool m_wanted = false;
    bool m_shown = false;
    bool m_retrying = false;
};
