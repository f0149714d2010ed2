// The profile set and its files: "config.ini" in the program folder (profile names, active slot,
// firmware version, device state) and one ".rkp" file per profile in its "config" folder.
// Every function takes the program folder (ending in a separator); by default the folder of the
// running program.
#pragma once

#include "FileSystem.h"
#include "Records.h"

#include <cstdint>
#include <string>
#include <string_view>

// program folder + "config.ini"
std::string ConfigIniPath(const std::string& folder);
// program folder + "config\" + trimmed name + ".rkp"
std::string ProfilePath(const std::string& folder, std::string_view name);

// Fills the record with the default profile of slot index 0..4 (named "Default<index>").
void SetDefaultProfile(Profile& profile, int slotIndex);

// Writes the profile's keys into section "Setting" of the file, updating existing keys in place.
// The profile's Name is not stored in the file.
bool WriteProfileFile(const Profile& profile, const std::string& path);
// Reads the keys of the file into the record; Name is not touched. A missing key reads as its
// default (-1, 255 for a key flag, the empty string); a key assignment that cannot be read
// (missing, wrong length, bad checksum) keeps the record's previous content.
void ReadProfileFile(Profile& profile, const std::string& path);

// CurrentProfile -1 and every profile blank with Mode -1.
void ClearProfileSet(ProfileSet& set);
// The five default profiles Default0..Default4 and CurrentProfile 1.
void SetDefaultProfiles(ProfileSet& set);
// Reads config.ini and the five profile files; a slot whose file cannot be opened gets its default
// profile. Always succeeds.
bool LoadProfileSet(ProfileSet& set, const std::string& folder = GetProgramFolder());
// Writes config.ini and the profile file of every slot with a non-blank name.
bool SaveProfileSet(const ProfileSet& set, const std::string& folder = GetProgramFolder());
// Lists name as the profile of slot 1..5 in config.ini.
bool WriteProfileName(int slot, std::string_view name, const std::string& folder = GetProgramFolder());

// The keyboard's firmware version times 100, as last written by the host (default 100).
int32_t ReadFirmwareVersion(const std::string& folder = GetProgramFolder());
bool WriteFirmwareVersion(int32_t version, const std::string& folder = GetProgramFolder());
// "Device" = 1 while the keyboard is attached, 0 after it was removed.
bool WriteDeviceState(bool present, const std::string& folder = GetProgramFolder());

// The file side of exporting the active profile to chosenPath: the file is written fresh, its title
// becomes the listed name of the active slot, and a copy named after the title is left in the
// config folder. The in-memory Name stays. False when no slot is active or the file cannot be
// written.
bool ExportProfileFile(const ProfileSet& set, const std::string& chosenPath,
                       const std::string& folder = GetProgramFolder());
// The file side of importing chosenPath into the active profile: a copy named after the title goes
// into the program folder, the active profile takes the title as its name and the file's content.
// False, with nothing changed, when no slot is active or the file cannot be opened.
bool ImportProfileFile(ProfileSet& set, const std::string& chosenPath,
                       const std::string& folder = GetProgramFolder());
