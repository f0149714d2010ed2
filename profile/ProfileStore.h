// The profile set and its files: "config.ini" in the program folder (profile names, active slot,
// firmware version, device state) and one ".rkp" file per profile in its "config" folder.
// Every function takes the program folder (ending in a separator); by default the folder of the
// running program.
#pragma once

#include "FileSystem.h"
#include "NameRules.h"
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
// profile, and so does a slot whose listed name cannot name a file in the config folder or names
// the file of an earlier slot (no file outside the config folder is ever read). Always succeeds.
bool LoadProfileSet(ProfileSet& set, const std::string& folder = GetProgramFolder());
// Writes the five profile files, then config.ini, so that config.ini never lists a name whose
// file was not written. False, with nothing written, when a slot's name is blank, cannot name a
// file or is another slot's name (see FirstUnusableProfileName); false, with config.ini untouched,
// when a profile file cannot be written.
bool SaveProfileSet(const ProfileSet& set, const std::string& folder = GetProgramFolder());
// Lists name as the profile of slot 1..5 in config.ini.
bool WriteProfileName(int slot, std::string_view name, const std::string& folder = GetProgramFolder());

// The keyboard's firmware version times 100, as last written by the host (default 100).
int32_t ReadFirmwareVersion(const std::string& folder = GetProgramFolder());
bool WriteFirmwareVersion(int32_t version, const std::string& folder = GetProgramFolder());
// "Device" = 1 while the keyboard is attached, 0 after it was removed.
bool WriteDeviceState(bool present, const std::string& folder = GetProgramFolder());

// How an import or an export of a profile file went.
enum class TransferOutcome {
    Done,           // import: the active profile took the file's content and its title as name;
                    // export: the file was written, copied into the config folder and its title
                    // listed as the active slot's name
    TitleTaken,     // the title is another slot's name (otherSlot). Import: the profile took the
                    // title made unique (name); export: the chosen file was written, but nothing
                    // was copied or listed, so the other slot's file stays as it was
    NoCurrentSlot,  // no slot 1..5 is active: nothing happened
    NameRefused,    // the title cannot name a profile file (problem): nothing happened
    FileNotRead,    // import: the chosen file cannot be read: nothing changed
    FileNotWritten, // export: the chosen file cannot be written: nothing else happened
    CopyNotWritten, // export: the chosen file was written, but its copy in the config folder was
                    // not, so config.ini was left as it was
    ForbiddenFile   // export: the chosen file is another slot's profile file or one of the program's
                    // own data files: nothing was written
};

struct ProfileTransfer {
    TransferOutcome outcome = TransferOutcome::NoCurrentSlot;
    NameProblem problem = NameProblem::None; // NameRefused
    int otherSlot = 0;                       // TitleTaken, ForbiddenFile: the slot the title names (0: none)
    std::string name;                        // Done, TitleTaken of an import: the name the profile took

    // True when the profile went where it was sent (Done or TitleTaken).
    explicit operator bool() const
    {
        return outcome == TransferOutcome::Done || outcome == TransferOutcome::TitleTaken;
    }
};

// The file side of exporting the active profile to chosenPath: the file is written fresh, a copy
// named after its title goes into the config folder, and then config.ini lists the title as the
// active slot's name. The in-memory Name stays. A title that another slot carries, in set or as
// listed in config.ini, is never copied or listed (TitleTaken), and a chosen file that is another
// slot's file or the program's own data file is not written (ForbiddenFile).
ProfileTransfer ExportProfileFile(const ProfileSet& set, const std::string& chosenPath,
                                  const std::string& folder = GetProgramFolder());
// The file side of importing chosenPath into the active profile: the active profile takes the
// file's content and its title as name, and a copy named so goes into the program folder. A title
// that another slot of set carries is made unique by a number in brackets ("Race (2)").
ProfileTransfer ImportProfileFile(ProfileSet& set, const std::string& chosenPath,
                                  const std::string& folder = GetProgramFolder());
