// The programs the host starts (configuration program, on-screen display, firmware updater) and the
// firmware check's decision.
#pragma once

#include "Ports.h"

#include <cstdint>
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
void StartUpdater(ProgramLauncher& launcher, const std::string& programFolder, int argument);

// Brings the configuration program's window to the front (restored when minimised), or starts the
// program when it does not run.
void ShowConfigProgram(DesktopWindows& windows, ProgramLauncher& launcher, const std::string& programFolder);

// Starts the on-screen display program; done once, at start-up.
void StartOsd(ProgramLauncher& launcher, const std::string& programFolder);
