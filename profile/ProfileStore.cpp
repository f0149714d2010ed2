#include "ProfileStore.h"

#include "IniFile.h"
#include "Libraries.h"
#include "Log.h"
#include "Text.h"

#include <array>
#include <cstring>

namespace {

const char kSetting[] = "Setting";
const char kFileName[] = "FileName";
const uint8_t kDefaultKeys[kKeyCount] = {0x49, 0x4A, 0x4B, 0x4C, 0x4E};

std::string Numbered(const char* prefix, int n)
{
    return prefix + FormatInt(n);
}

char* GameFile(Profile& p, int i)
{
    return i == 0 ? p.GameFile0 : i == 1 ? p.GameFile1 : p.GameFile2;
}

const char* GameFile(const Profile& p, int i)
{
    return GameFile(const_cast<Profile&>(p), i);
}

void WriteProfileEntries(IniDocument& ini, const Profile& p)
{
    for (int i = 0; i < kGameFileCount; ++i)
        ini.WriteString(kSetting, Numbered("GameFile", i), FieldText(GameFile(p, i), sizeof p.GameFile0));
    ini.WriteInt(kSetting, "Mode", static_cast<int32_t>(p.Mode));
    ini.WriteInt(kSetting, "MediaOption", p.MediaOption);
    for (int k = 0; k < kKeyCount; ++k)
        ini.WriteInt(kSetting, Numbered("key", k), static_cast<uint8_t>(p.KeyFlags[k]));
    for (int k = 0; k < kKeyCount; ++k)
        ini.WriteStruct(kSetting, Numbered("ButtonInfo", k), &p.Buttons[k], sizeof(ButtonInfo));
}

void ReadProfileEntries(const IniDocument& ini, Profile& p)
{
    for (int i = 0; i < kGameFileCount; ++i)
        CopyToField(GameFile(p, i), sizeof p.GameFile0, ini.ReadString(kSetting, Numbered("GameFile", i), ""));
    p.Mode = static_cast<KeyboardMode>(ini.ReadInt(kSetting, "Mode", -1));
    p.MediaOption = ini.ReadInt(kSetting, "MediaOption", -1);
    for (int k = 0; k < kKeyCount; ++k)
        p.KeyFlags[k] = static_cast<KeySwitch>(ini.ReadInt(kSetting, Numbered("key", k), -1) & 0xFF);
    for (int k = 0; k < kKeyCount; ++k) {
        ButtonInfo scratch;
        if (ini.ReadStruct(kSetting, Numbered("ButtonInfo", k), &scratch, sizeof scratch))
            std::memcpy(&p.Buttons[k], &scratch, sizeof scratch);
        else
            LogDebug("profile: ButtonInfo%d unreadable, kept\n", k);
    }
}

Profile* ActiveProfile(ProfileSet& set)
{
    return IsValidSlot(set.CurrentProfile) ? &set.Profiles[set.CurrentProfile - 1] : nullptr;
}

// The names config.ini lists for slots 1..5 (index 0..4), trimmed.
std::array<std::string, kProfileCount> ListedNames(const IniDocument& config)
{
    std::array<std::string, kProfileCount> names;
    for (int i = 0; i < kProfileCount; ++i)
        names[i] = std::string(Trim(config.ReadString(kFileName, Numbered("Profile", i + 1), "")));
    return names;
}

// A store path in a form in which two spellings of one path compare equal: separators as '\',
// letters folded, as Windows compares file names.
std::string ComparablePath(std::string_view path)
{
    std::string out = FoldedKey(path);
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

// True when path is a data file of the program itself, or the profile file of a slot other than
// the active one (named in set or in config.ini), which an export must never replace.
bool IsForbiddenExportTarget(const ProfileSet& set, const std::array<std::string, kProfileCount>& listed,
                             const std::string& path, const std::string& folder)
{
    const std::string target = ComparablePath(path);
    for (const std::string& own : {ConfigIniPath(folder), MacroLibraryPath(folder), TimerLibraryPath(folder)})
        if (target == ComparablePath(own))
            return true;
    for (int slot = 1; slot <= kProfileCount; ++slot) {
        if (slot == set.CurrentProfile)
            continue;
        for (std::string_view name : {FieldText(set.Profiles[slot - 1].Name), std::string_view(listed[slot - 1])})
            if (!Trim(name).empty() && target == ComparablePath(ProfilePath(folder, name)))
                return true;
    }
    return false;
}

} // namespace

std::string ConfigIniPath(const std::string& folder)
{
    return folder + "config.ini";
}

std::string ProfilePath(const std::string& folder, std::string_view name)
{
    return folder + "config\\" + std::string(Trim(name)) + ".rkp";
}

void SetDefaultProfile(Profile& profile, int slotIndex)
{
    std::memset(&profile, 0, sizeof profile);
    CopyToField(profile.Name, Numbered("Default", slotIndex));
    profile.Mode = KeyboardMode::NumLockOff;
    profile.MediaOption = 0;
    for (int k = 0; k < kKeyCount; ++k) {
        ButtonInfo& b = profile.Buttons[k];
        b.KeyNumber = static_cast<uint8_t>(k + 1);
        b.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
        b.ShortcutKey = kDefaultKeys[k];
        b.ShortcutFlags[kFlagPlain] = 1;
    }
}

bool WriteProfileFile(const Profile& profile, const std::string& path)
{
    return IniFile(path).Update([&](IniDocument& doc) {
        WriteProfileEntries(doc, profile);
        return true;
    });
}

void ReadProfileFile(Profile& profile, const std::string& path)
{
    ReadProfileEntries(IniFile(path).Load(), profile);
}

void ClearProfileSet(ProfileSet& set)
{
    std::memset(&set, 0, sizeof set);
    set.CurrentProfile = -1;
    for (Profile& p : set.Profiles)
        p.Mode = KeyboardMode::Unknown;
}

void SetDefaultProfiles(ProfileSet& set)
{
    set.CurrentProfile = 1;
    for (int i = 0; i < kProfileCount; ++i)
        SetDefaultProfile(set.Profiles[i], i);
}

bool LoadProfileSet(ProfileSet& set, const std::string& folder)
{
    IniDocument config = IniFile(ConfigIniPath(folder)).Load();
    set.CurrentProfile = config.ReadInt(kSetting, "CurrentProfile", -1);
    const std::array<std::string, kProfileCount> names = ListedNames(config);
    for (int i = 0; i < kProfileCount; ++i) {
        Profile& p = set.Profiles[i];
        const std::string& name = names[i];
        CopyToField(p.Name, name);
        // A name that is no file name of the config folder (a path, a device) is never opened, and
        // a second slot listing the same file does not share it.
        bool usable = ProfileFileNameProblem(name, folder) == NameProblem::None;
        for (int earlier = 0; earlier < i && usable; ++earlier)
            usable = !SameProfileName(names[earlier], name);
        std::optional<std::string> bytes;
        if (usable)
            bytes = ReadWholeFile(ProfilePath(folder, name));
        else if (!name.empty())
            LogDebug("profile: slot %d lists a name that names no file of its own; default profile\n", i + 1);
        if (bytes)
            ReadProfileEntries(IniDocument::Parse(*bytes), p);
        else
            SetDefaultProfile(p, i);
    }
    return true;
}

bool SaveProfileSet(const ProfileSet& set, const std::string& folder)
{
    if (const std::optional<SlotNameProblem> bad = FirstUnusableProfileName(set, folder)) {
        LogDebug("profile: slot %d's name cannot name a file of its own (%d); nothing saved\n", bad->slot,
                 static_cast<int>(bad->problem));
        return false;
    }
    // The profile files first: config.ini, written last, then never names a file that is not there.
    if (!EnsureFolder(folder + "config"))
        return false;
    for (int i = 0; i < kProfileCount; ++i) {
        const Profile& p = set.Profiles[i];
        if (!WriteProfileFile(p, ProfilePath(folder, FieldText(p.Name)))) {
            LogDebug("profile: the file of slot %d could not be written; config.ini left as it was\n", i + 1);
            return false;
        }
    }
    return IniFile(ConfigIniPath(folder)).Update([&](IniDocument& config) {
        config.WriteInt(kSetting, "CurrentProfile", set.CurrentProfile);
        for (int i = 0; i < kProfileCount; ++i)
            config.WriteString(kFileName, Numbered("Profile", i + 1), FieldText(set.Profiles[i].Name));
        return true;
    });
}

bool WriteProfileName(int slot, std::string_view name, const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).WriteString(kFileName, Numbered("Profile", slot), name);
}

int32_t ReadFirmwareVersion(const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).ReadInt(kSetting, "FWVersion", 100);
}

bool WriteFirmwareVersion(int32_t version, const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).WriteInt(kSetting, "FWVersion", version);
}

bool WriteDeviceState(bool present, const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).WriteInt(kSetting, "Device", present ? 1 : 0);
}

ProfileTransfer ExportProfileFile(const ProfileSet& set, const std::string& chosenPath, const std::string& folder)
{
    ProfileTransfer result;
    const Profile* active = ActiveProfile(const_cast<ProfileSet&>(set));
    if (!active)
        return result;
    const std::string title(Trim(FileTitle(chosenPath)));
    result.problem = ProfileFileNameProblem(title, folder);
    if (result.problem != NameProblem::None) {
        result.outcome = TransferOutcome::NameRefused;
        return result;
    }
    const std::array<std::string, kProfileCount> listed = ListedNames(IniFile(ConfigIniPath(folder)).Load());
    for (int slot = 1; slot <= kProfileCount && result.otherSlot == 0; ++slot)
        if (slot != set.CurrentProfile && (SameProfileName(FieldText(set.Profiles[slot - 1].Name), title) ||
                                           SameProfileName(listed[slot - 1], title)))
            result.otherSlot = slot;
    if (IsForbiddenExportTarget(set, listed, chosenPath, folder)) {
        result.outcome = TransferOutcome::ForbiddenFile;
        return result;
    }

    // The chosen file is replaced whole, never merged with what stood there.
    IniDocument fresh;
    WriteProfileEntries(fresh, *active);
    if (!IniFile(chosenPath).Save(fresh)) {
        result.outcome = TransferOutcome::FileNotWritten;
        return result;
    }
    if (result.otherSlot != 0) {
        // Listing the title would make two slots share one file.
        result.outcome = TransferOutcome::TitleTaken;
        return result;
    }
    // The copy first, so that config.ini never lists a name whose file is not there.
    const bool copied = EnsureFolder(folder + "config") && CopyFileOver(chosenPath, ProfilePath(folder, title));
    if (!copied || !WriteProfileName(set.CurrentProfile, title, folder)) {
        result.outcome = TransferOutcome::CopyNotWritten;
        return result;
    }
    result.outcome = TransferOutcome::Done;
    return result;
}

ProfileTransfer ImportProfileFile(ProfileSet& set, const std::string& chosenPath, const std::string& folder)
{
    ProfileTransfer result;
    Profile* active = ActiveProfile(set);
    if (!active)
        return result;
    const std::string title(Trim(FileTitle(chosenPath)));
    result.problem = ProfileFileNameProblem(title, folder);
    if (result.problem != NameProblem::None) {
        result.outcome = TransferOutcome::NameRefused;
        return result;
    }
    std::optional<std::string> bytes = ReadWholeFile(chosenPath);
    if (!bytes) {
        result.outcome = TransferOutcome::FileNotRead;
        return result;
    }
    std::string name = title;
    if (const std::optional<int> other = SlotNamed(set, title, set.CurrentProfile)) {
        // Two slots must never share a file: the profile takes the first free "title (n)".
        result.otherSlot = *other;
        name.clear();
        for (int n = 2; n <= kProfileCount + 1 && name.empty(); ++n) {
            const std::string candidate = title + " (" + FormatInt(n) + ")";
            const NameProblem problem = ProfileNameProblem(set, set.CurrentProfile, candidate, folder);
            if (problem == NameProblem::None)
                name = candidate;
            else if (result.problem == NameProblem::None)
                result.problem = problem;
        }
        if (name.empty()) {
            result.outcome = TransferOutcome::NameRefused;
            return result;
        }
        result.problem = NameProblem::None;
    }
    // The copy in the program folder is a keepsake that nothing reads; the profile itself is saved
    // by the next apply, which reports its own failure.
    if (!WriteFileAtomic(folder + name + ".rkp", *bytes))
        LogDebug("profile: the imported file's copy in the program folder could not be written\n");
    CopyToField(active->Name, name);
    // Read from the bytes just taken, so a failed copy cannot bring in an older file's content.
    ReadProfileEntries(IniDocument::Parse(*bytes), *active);
    result.outcome = result.otherSlot != 0 ? TransferOutcome::TitleTaken : TransferOutcome::Done;
    result.name = name;
    return result;
}
