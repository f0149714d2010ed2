#include "ProfileStore.h"

#include "IniFile.h"
#include "Log.h"
#include "Text.h"

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
    ini.WriteInt(kSetting, "Mode", p.Mode);
    ini.WriteInt(kSetting, "MediaOption", p.MediaOption);
    for (int k = 0; k < kKeyCount; ++k)
        ini.WriteInt(kSetting, Numbered("key", k), p.KeyFlags[k]);
    for (int k = 0; k < kKeyCount; ++k)
        ini.WriteStruct(kSetting, Numbered("ButtonInfo", k), &p.Buttons[k], sizeof(ButtonInfo));
}

void ReadProfileEntries(const IniDocument& ini, Profile& p)
{
    for (int i = 0; i < kGameFileCount; ++i)
        CopyToField(GameFile(p, i), sizeof p.GameFile0, ini.ReadString(kSetting, Numbered("GameFile", i), ""));
    p.Mode = ini.ReadInt(kSetting, "Mode", -1);
    p.MediaOption = ini.ReadInt(kSetting, "MediaOption", -1);
    for (int k = 0; k < kKeyCount; ++k)
        p.KeyFlags[k] = static_cast<uint8_t>(ini.ReadInt(kSetting, Numbered("key", k), -1) & 0xFF);
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
    profile.Mode = 1;
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
        p.Mode = -1;
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
    for (int i = 0; i < kProfileCount; ++i) {
        Profile& p = set.Profiles[i];
        std::string name(Trim(config.ReadString(kFileName, Numbered("Profile", i + 1), "")));
        CopyToField(p.Name, name);
        std::optional<std::string> bytes = ReadWholeFile(ProfilePath(folder, name));
        if (bytes)
            ReadProfileEntries(IniDocument::Parse(*bytes), p);
        else
            SetDefaultProfile(p, i);
    }
    return true;
}

bool SaveProfileSet(const ProfileSet& set, const std::string& folder)
{
    bool ok = IniFile(ConfigIniPath(folder)).Update([&](IniDocument& config) {
        config.WriteInt(kSetting, "CurrentProfile", set.CurrentProfile);
        for (int i = 0; i < kProfileCount; ++i)
            config.WriteString(kFileName, Numbered("Profile", i + 1), FieldText(set.Profiles[i].Name));
        return true;
    });

    EnsureFolder(folder + "config");
    for (const Profile& p : set.Profiles) {
        std::string_view name = Trim(FieldText(p.Name));
        if (!name.empty())
            ok = WriteProfileFile(p, ProfilePath(folder, name)) && ok;
    }
    return ok;
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

bool ExportProfileFile(const ProfileSet& set, const std::string& chosenPath, const std::string& folder)
{
    const Profile* active = ActiveProfile(const_cast<ProfileSet&>(set));
    if (!active)
        return false;
    std::string title = FileTitle(chosenPath);
    // The chosen file is replaced whole, never merged with what stood there.
    IniDocument fresh;
    WriteProfileEntries(fresh, *active);
    if (!IniFile(chosenPath).Save(fresh))
        return false;
    bool ok = WriteProfileName(set.CurrentProfile, title, folder);
    EnsureFolder(folder + "config");
    return CopyFileOver(chosenPath, folder + "config\\" + title + ".rkp") && ok;
}

bool ImportProfileFile(ProfileSet& set, const std::string& chosenPath, const std::string& folder)
{
    Profile* active = ActiveProfile(set);
    if (!active)
        return false;
    std::optional<std::string> bytes = ReadWholeFile(chosenPath);
    if (!bytes)
        return false;
    std::string title = FileTitle(chosenPath);
    WriteFileAtomic(folder + title + ".rkp", *bytes);
    CopyToField(active->Name, title);
    // Read from the bytes just taken, so a failed copy cannot bring in an older file's content.
    ReadProfileEntries(IniDocument::Parse(*bytes), *active);
    return true;
}
