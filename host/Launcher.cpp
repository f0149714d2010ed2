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

void StartUpdater(ProgramLauncher& launcher, const std::string& programFolder, int argument)
{
    launcher.ShellOpen(FolderWithoutSeparator(programFolder) + "\\FWUpdate\\TolkUpdate.exe", std::to_string(argument));
}

void ShowConfigProgram(DesktopWindows& windows, ProgramLauncher& launcher, const std::string& programFolder)
{
    const WindowId window = windows.FindWindow("", kConfigWindowTitle);
    if (window != 0)
        windows.RestoreAndActivate(window);
    else
        launcher.ShellOpen(FolderWithoutSeparator(programFolder) + "\\TolkCfg.exe", "");
}

void StartOsd(ProgramLauncher& launcher, const std::string& programFolder)
{
    launcher.ShellOpen(FolderWithoutSeparator(programFolder) + "\\osd.exe", "");
}
