// The programs the host starts (configuration program, on-screen display, firmware updater), the
// firmware check's decision, and the notification-area icon with its menu.
#pragma once

#include "Ports.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

// "curVersion" of section "Firmware" in program folder + "FWUpdate\config.ini"; -1 when missing.
int32_t ReadPackagedFirmwareVersion(const std::string& programFolder);

// The updater's argument for keyboard firmware version (read by a call that succeeded or not) and
// the packaged version, or nothing when no update is due. Versions above 500 always get 2; otherwise
// the packaged version is compared as an unsigned number, so a missing one (-1) is the newest:
// newer packaged 1, older 0.
std::optional<int> UpdaterArgument(bool callOk, uint16_t version, int32_t packagedVersion);

// program folder + "FWUpdate\TolkUpdate.exe" with the argument as its one parameter.
void StartUpdater(Desktop& desktop, const std::string& programFolder, int argument);

// Brings the configuration program's window to the front (restored when minimised), or starts the
// program when it does not run.
void ShowConfigProgram(Desktop& desktop, const std::string& programFolder);

// Starts the on-screen display program; done once, at start-up.
void StartOsd(Desktop& desktop, const std::string& programFolder);

// One entry of the tray icon's menu; the default entry is drawn bold.
struct TrayMenuItem {
    const char* text;
    uint32_t id;
    bool isDefault;
    bool separator;
};

// The tray menu, built anew from this on every right click.
extern const std::array<TrayMenuItem, 3> kTrayMenu;

// What a mouse message of the tray icon asks for.
enum class TrayAction {
    None,
    ActivatePopup, // left button down: the hidden window's last active pop-up to the front
    ShowConfig,    // left double click: ShowConfigProgram
    ShowMenu,      // right button down: the tray menu
};

TrayAction TrayActionFor(uint32_t mouseMessage);

// The host's notification-area icon. Every open sequence adds it and every removal of the keyboard
// takes it away, so it tracks whether it is shown: adding a shown icon or removing an absent one
// does nothing, and exactly one icon is shown after any order of arrivals and removals.
class TrayIcon {
public:
    explicit TrayIcon(Desktop& desktop) : m_desktop(desktop) {}

    void Add();
    void Remove();
    bool Shown() const;

private:
    Desktop& m_desktop;
    // Arrival and removal run on the read thread, shut-down on the UI thread.
    mutable std::mutex m_mutex;
    bool m_shown = false;
};
