#include "Launcher.h"

#include "Log.h"

#include "HostConstants.h"
#include "HostState.h"
#include "IniFile.h"

int32_t ReadPackagedFirmwareVersion(const std::string& programFolder)
{
    return IniFile(programFolder + "FWUpdate\\config.ini").ReadInt("Firmware", "curVersion", -1);
}

std::optional<int> UpdaterArgument(bool callOk, uint16_t version, int32_t packagedVersion)
{
    if (!callOk || version == 0)
        return std::nullopt;
    if (version > 500)
        return 2;
    const uint32_t packaged = static_cast<uint32_t>(packagedVersion);
    if (packaged > version)
        return 1;
    if (packaged < version)
        return 0;
    return std::nullopt;
}

void StartUpdater(Desktop& desktop, const std::string& programFolder, int argument)
{
    desktop.ShellOpen(FolderWithoutSeparator(programFolder) + "\\FWUpdate\\TolkUpdate.exe",
                      std::to_string(argument));
}

void ShowConfigProgram(Desktop& desktop, const std::string& programFolder)
{
    const WindowId window = desktop.FindWindow("", kConfigWindowTitle);
    if (window != 0)
        desktop.RestoreAndActivate(window);
    else
        desktop.ShellOpen(FolderWithoutSeparator(programFolder) + "\\TolkCfg.exe", "");
}

void StartOsd(Desktop& desktop, const std::string& programFolder)
{
    desktop.ShellOpen(FolderWithoutSeparator(programFolder) + "\\osd.exe", "");
}

const std::array<TrayMenuItem, 3> kTrayMenu = {{
    {"Configuration", ID_TRAY_CONFIGURATION, true, false},
    {"", 0, false, true},
    {"Exit", ID_TRAY_EXIT, false, false},
}};

TrayAction TrayActionFor(uint32_t mouseMessage)
{
    switch (mouseMessage) {
    case 0x201: return TrayAction::ActivatePopup; // WM_LBUTTONDOWN
    case 0x203: return TrayAction::ShowConfig;    // WM_LBUTTONDBLCLK
    case 0x204: return TrayAction::ShowMenu;      // WM_RBUTTONDOWN
    default: return TrayAction::None;
    }
}

void TrayIcon::Add()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_shown)
        return;
    m_desktop.AddTrayIcon();
    m_shown = true;
    LogDebug("TolkHid: tray icon added\n");
}

void TrayIcon::Remove()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_shown)
        return;
    m_desktop.RemoveTrayIcon();
    m_shown = false;
    LogDebug("TolkHid: tray icon removed\n");
}

bool TrayIcon::Shown() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shown;
}
