#include "IniFile.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace {

std::unique_ptr<ProfileSet> NewSet()
{
    auto set = std::make_unique<ProfileSet>();
    ClearProfileSet(*set);
    return set;
}

// A set in which every field that the files carry holds something distinct.
std::unique_ptr<ProfileSet> FilledSet(unsigned seed)
{
    auto set = NewSet();
    std::mt19937 rng(seed);
    set->CurrentProfile = 3;
    for (int i = 0; i < kProfileCount; ++i) {
        Profile& p = set->Profiles[i];
        CopyToField(p.Name, "Profile " + std::to_string(i) + " of " + std::to_string(seed));
        CopyToField(p.GameFile0, "C:\\Games\\game" + std::to_string(i) + ".exe");
        CopyToField(p.GameFile2, "other.exe");
        p.Mode = static_cast<KeyboardMode>(i % 2);
        p.MediaOption = i % 4;
        for (int k = 0; k < kKeyCount; ++k)
            p.KeyFlags[k] = static_cast<KeySwitch>(rng() & 1);
        for (ButtonInfo& b : p.Buttons) {
            auto* bytes = reinterpret_cast<unsigned char*>(&b);
            for (size_t j = 0; j < sizeof b; ++j)
                bytes[j] = static_cast<unsigned char>(rng());
        }
    }
    return set;
}

TEST(ProfileStore, DefaultProfileOfSlot2MatchesTheGoldenFile)
{
    TempFolder dir;
    Profile p;
    SetDefaultProfile(p, 2);
    EXPECT_STREQ(p.Name, "Default2");
    ASSERT_TRUE(WriteProfileFile(p, dir / "d.rkp"));
    EXPECT_EQ(ReadBytes(dir / "d.rkp"), ReadTestData("default_profile_slot2.rkp"));

    Profile back;
    std::memset(&back, 0xAB, sizeof back);
    ReadProfileFile(back, dir / "d.rkp");
    EXPECT_EQ(std::memcmp(back.Name, std::string(250, '\xAB').data(), 250), 0) << "the file carries no name";
    std::memcpy(back.Name, p.Name, sizeof p.Name);
    std::memset(back.Padding0, 0, sizeof back.Padding0);
    std::memset(back.Padding1, 0, sizeof back.Padding1);
    EXPECT_EQ(std::memcmp(&back, &p, sizeof p), 0);
}

TEST(ProfileStore, DefaultProfileAssignsTheFiveNavigationKeys)
{
    Profile p;
    SetDefaultProfile(p, 4);
    const uint8_t keys[] = {0x49, 0x4A, 0x4B, 0x4C, 0x4E}; // key 5 is Page Down, not End
    for (int k = 0; k < kKeyCount; ++k) {
        EXPECT_EQ(p.Buttons[k].KeyNumber, k + 1);
        EXPECT_EQ(p.Buttons[k].FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
        EXPECT_EQ(p.Buttons[k].ShortcutKey, keys[k]);
        EXPECT_EQ(p.Buttons[k].ShortcutFlags[kFlagPlain], 1);
    }
    EXPECT_EQ(p.Mode, KeyboardMode::NumLockOff);
    EXPECT_EQ(p.MediaOption, 0);
}

TEST(ProfileStore, SparseFileReadsItsDefaults)
{
    TempFolder dir;
    WriteBytes(dir / "x.rkp", "[Setting]\r\nMode=0\r\nkey2=255\r\n");
    Profile p;
    SetDefaultProfile(p, 0);
    ReadProfileFile(p, dir / "x.rkp");
    EXPECT_STREQ(p.GameFile0, "");
    EXPECT_EQ(p.Mode, KeyboardMode::NumLockOn);
    EXPECT_EQ(p.MediaOption, -1);
    for (int k = 0; k < kKeyCount; ++k)
        EXPECT_EQ(p.KeyFlags[k], static_cast<KeySwitch>(255));
    // Key assignments that the file lacks keep what the record held.
    EXPECT_EQ(p.Buttons[0].ShortcutKey, 0x49);
}

TEST(ProfileStore, DamagedButtonEntryKeepsThePreviousAssignment)
{
    TempFolder dir;
    Profile written;
    SetDefaultProfile(written, 0);
    written.Buttons[1].FunctionCode = static_cast<uint8_t>(KeyFunction::Mute);
    written.Buttons[2].FunctionCode = static_cast<uint8_t>(KeyFunction::Mute);
    ASSERT_TRUE(WriteProfileFile(written, dir / "p.rkp"));
    IniFile file(dir / "p.rkp");
    std::string hex = file.ReadString("Setting", "ButtonInfo1", "");
    hex[10] = hex[10] == '0' ? '1' : '0'; // checksum no longer matches
    file.WriteString("Setting", "ButtonInfo1", hex);
    file.WriteString("Setting", "ButtonInfo2", hex.substr(0, 100)); // wrong length

    Profile p;
    SetDefaultProfile(p, 0);
    ReadProfileFile(p, dir / "p.rkp");
    EXPECT_EQ(p.Buttons[1].FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(p.Buttons[2].FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(p.Buttons[0].FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
}

TEST(ProfileStore, KeyFlag255RoundTripsAsDecimalText)
{
    TempFolder dir;
    Profile p;
    SetDefaultProfile(p, 0);
    p.KeyFlags[3] = static_cast<KeySwitch>(255);
    WriteProfileFile(p, dir / "f.rkp");
    EXPECT_EQ(IniFile(dir / "f.rkp").ReadString("Setting", "key3", ""), "255");
    Profile back;
    SetDefaultProfile(back, 1);
    ReadProfileFile(back, dir / "f.rkp");
    EXPECT_EQ(back.KeyFlags[3], static_cast<KeySwitch>(255));
}

TEST(ProfileStore, FreshFolderLoadsFiveDefaultsWithNoActiveSlot)
{
    TempFolder dir;
    auto set = NewSet();
    EXPECT_TRUE(LoadProfileSet(*set, dir.Path()));
    EXPECT_EQ(set->CurrentProfile, -1);
    for (int i = 0; i < kProfileCount; ++i) {
        EXPECT_EQ(FieldText(set->Profiles[i].Name), "Default" + std::to_string(i));
        Profile expected;
        SetDefaultProfile(expected, i);
        EXPECT_EQ(std::memcmp(&set->Profiles[i], &expected, sizeof expected), 0);
    }
}

TEST(ProfileStore, SaveAndLoadReproduceTheSetByteForByte)
{
    TempFolder dir;
    auto set = FilledSet(7);
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    auto back = NewSet();
    LoadProfileSet(*back, dir.Path());
    EXPECT_EQ(back->CurrentProfile, 3);
    for (int i = 0; i < kProfileCount; ++i) {
        const Profile& a = set->Profiles[i];
        const Profile& b = back->Profiles[i];
        EXPECT_STREQ(a.Name, b.Name);
        EXPECT_STREQ(a.GameFile0, b.GameFile0);
        EXPECT_STREQ(a.GameFile2, b.GameFile2);
        EXPECT_EQ(a.Mode, b.Mode);
        EXPECT_EQ(a.MediaOption, b.MediaOption);
        EXPECT_EQ(std::memcmp(a.KeyFlags, b.KeyFlags, sizeof a.KeyFlags), 0);
        EXPECT_EQ(std::memcmp(a.Buttons, b.Buttons, sizeof a.Buttons), 0) << "slot " << i;
    }
}

TEST(ProfileStore, NamesAreTrimmedOnLoadAndNameTheirFiles)
{
    TempFolder dir;
    auto set = FilledSet(1);
    CopyToField(set->Profiles[0].Name, "  Shooter  ");
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    EXPECT_EQ(IniFile(dir / "config.ini").Load().FindRaw("FileName", "Profile1").value_or(""), "Shooter");
    EXPECT_NE(ReadBytes(dir / "config\\Shooter.rkp"), "");
    auto back = NewSet();
    LoadProfileSet(*back, dir.Path());
    EXPECT_STREQ(back->Profiles[0].Name, "Shooter");
    EXPECT_EQ(back->Profiles[0].Mode, set->Profiles[0].Mode);
}

TEST(ProfileStore, BlankNameIsRefusedWithNothingWrittenAndLoadsAsDefault)
{
    TempFolder dir;
    auto set = FilledSet(2);
    CopyToField(set->Profiles[1].Name, "   ");
    EXPECT_FALSE(SaveProfileSet(*set, dir.Path())) << "a slot without a name has no file to be saved in";
    EXPECT_FALSE(std::filesystem::exists(NativePath(dir / "config.ini")));
    EXPECT_TRUE(FilesBelow(dir.Path()).empty());

    // A config.ini that lists no name for a slot (written elsewhere) loads that slot's default.
    WriteBytes(dir / "config.ini", "[FileName]\r\nProfile2=   \r\n");
    auto back = NewSet();
    LoadProfileSet(*back, dir.Path());
    Profile expected;
    SetDefaultProfile(expected, 1);
    EXPECT_EQ(std::memcmp(&back->Profiles[1], &expected, sizeof expected), 0);
}

TEST(ProfileStore, SlotsWithOneFileNameAreNeverSavedOrLoadedFromOneFile)
{
    TempFolder dir;
    auto set = FilledSet(3);
    CopyToField(set->Profiles[0].Name, "Same");
    CopyToField(set->Profiles[3].Name, " sAME ");
    EXPECT_FALSE(SaveProfileSet(*set, dir.Path())) << "Windows would keep both in one file";
    EXPECT_TRUE(FilesBelow(dir.Path()).empty());

    // A config.ini that lists one file twice (written by an older version): the first slot reads
    // it, the second gets its default profile instead of a copy of the first.
    CopyToField(set->Profiles[3].Name, "Other");
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    IniFile(dir / "config.ini").WriteString("FileName", "Profile4", " sAME ");
    auto back = NewSet();
    LoadProfileSet(*back, dir.Path());
    EXPECT_EQ(std::memcmp(back->Profiles[0].Buttons, set->Profiles[0].Buttons, sizeof(ButtonInfo) * kKeyCount), 0);
    Profile expected;
    SetDefaultProfile(expected, 3);
    EXPECT_EQ(std::memcmp(&back->Profiles[3], &expected, sizeof expected), 0);
}

TEST(ProfileStore, OverlongNamesAreCutToTheirFields)
{
    TempFolder dir;
    std::string huge(3000, 'n');
    WriteBytes(dir / "config.ini", "[Setting]\r\nCurrentProfile=2\r\n[FileName]\r\nProfile1=" + huge + "\r\n");
    auto set = NewSet();
    LoadProfileSet(*set, dir.Path());
    // No file can carry such a name, so the slot gets its default profile; nothing overran.
    EXPECT_STREQ(set->Profiles[0].Name, "Default0");
    EXPECT_EQ(set->Profiles[0].GameFile0[0], '\0');
    EXPECT_EQ(set->CurrentProfile, 2);

    Profile p;
    SetDefaultProfile(p, 0);
    WriteBytes(dir / "g.rkp", "[Setting]\r\nGameFile1=" + huge + "\r\n");
    ReadProfileFile(p, dir / "g.rkp");
    EXPECT_EQ(std::strlen(p.GameFile1), 499u);
    EXPECT_EQ(p.GameFile2[0], '\0');
}

// The store parses each file once and writes it once; what it leaves on disk must be what the
// same writes made one at a time through IniFile would leave.
TEST(ProfileStore, BulkWritesLeaveTheBytesOfSingleWrites)
{
    TempFolder bulk, single;
    auto set = FilledSet(11);
    CopyToField(set->Profiles[4].Name, "  Padded name  ");
    // Existing files with foreign keys and lines are updated in place by both ways.
    for (const TempFolder* d : {&bulk, &single}) {
        EnsureFolder(d->Path() + "config");
        WriteBytes(*d / "config.ini", "; keep me\r\n[Setting]\r\nFWVersion=128\r\nDevice=1\r\n");
        WriteBytes(ProfilePath(d->Path(), FieldText(set->Profiles[0].Name)), "[Setting]\r\nExtra=1\r\nMode=9\r\n");
    }
    ASSERT_TRUE(SaveProfileSet(*set, bulk.Path()));

    IniFile config(single / "config.ini");
    config.WriteInt("Setting", "CurrentProfile", set->CurrentProfile);
    for (int i = 0; i < kProfileCount; ++i) {
        const Profile& p = set->Profiles[i];
        config.WriteString("FileName", "Profile" + std::to_string(i + 1), FieldText(p.Name));
        IniFile f(ProfilePath(single.Path(), FieldText(p.Name)));
        f.WriteString("Setting", "GameFile0", FieldText(p.GameFile0));
        f.WriteString("Setting", "GameFile1", FieldText(p.GameFile1));
        f.WriteString("Setting", "GameFile2", FieldText(p.GameFile2));
        f.WriteInt("Setting", "Mode", static_cast<int32_t>(p.Mode));
        f.WriteInt("Setting", "MediaOption", p.MediaOption);
        for (int k = 0; k < kKeyCount; ++k)
            f.WriteInt("Setting", "key" + std::to_string(k), static_cast<uint8_t>(p.KeyFlags[k]));
        for (int k = 0; k < kKeyCount; ++k)
            f.WriteStruct("Setting", "ButtonInfo" + std::to_string(k), &p.Buttons[k], sizeof(ButtonInfo));
    }
    EXPECT_EQ(ReadBytes(bulk / "config.ini"), ReadBytes(single / "config.ini"));
    for (const Profile& p : set->Profiles) {
        std::string name(FieldText(p.Name));
        EXPECT_EQ(ReadBytes(ProfilePath(bulk.Path(), name)), ReadBytes(ProfilePath(single.Path(), name))) << name;
    }
}

TEST(ProfileStore, ConfigIniKeepsTheHostsKeysAcrossSaves)
{
    TempFolder dir;
    ASSERT_TRUE(WriteFirmwareVersion(128, dir.Path()));
    ASSERT_TRUE(WriteDeviceState(true, dir.Path()));
    auto set = FilledSet(5);
    SaveProfileSet(*set, dir.Path());
    EXPECT_EQ(ReadFirmwareVersion(dir.Path()), 128);
    WriteDeviceState(false, dir.Path());
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 0);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "CurrentProfile", -1), 3);
}

TEST(ProfileStore, NameWithAZeroByteLoadsAsDefault)
{
    TempFolder dir;
    EnsureFolder(dir / "config");
    WriteBytes(dir / "config.ini", std::string("[FileName]\r\nProfile1=\0x\r\n", 25));
    auto set = NewSet();
    LoadProfileSet(*set, dir.Path());
    Profile expected;
    SetDefaultProfile(expected, 0);
    EXPECT_EQ(std::memcmp(&set->Profiles[0], &expected, sizeof expected), 0);
}

TEST(ProfileStore, FirmwareVersionDefaultsTo100)
{
    TempFolder dir;
    EXPECT_EQ(ReadFirmwareVersion(dir.Path()), 100);
}

TEST(ProfileStore, ExportListsTheTitleAndLeavesACopyInConfig)
{
    TempFolder dir, elsewhere;
    auto set = FilledSet(9);
    set->CurrentProfile = 2;
    std::string shownName(FieldText(set->Profiles[1].Name));
    // A stale file at the chosen path is replaced whole, not merged.
    WriteBytes(elsewhere / "Raid Night.rkp", "[Setting]\r\nStale=1\r\n");
    ASSERT_TRUE(ExportProfileFile(*set, elsewhere / "Raid Night.rkp", dir.Path()));

    EXPECT_EQ(IniFile(elsewhere / "Raid Night.rkp").ReadString("Setting", "Stale", "gone"), "gone");
    EXPECT_EQ(ReadBytes(dir / "config\\Raid Night.rkp"), ReadBytes(elsewhere / "Raid Night.rkp"));
    EXPECT_EQ(IniFile(dir / "config.ini").ReadString("FileName", "Profile2", ""), "Raid Night");
    EXPECT_EQ(FieldText(set->Profiles[1].Name), shownName);

    // The exported file brings the profile back whole.
    auto other = NewSet();
    SetDefaultProfiles(*other);
    other->CurrentProfile = 5;
    ASSERT_TRUE(ImportProfileFile(*other, elsewhere / "Raid Night.rkp", dir.Path()));
    EXPECT_EQ(std::memcmp(other->Profiles[4].Buttons, set->Profiles[1].Buttons, sizeof(ButtonInfo) * kKeyCount), 0);
}

TEST(ProfileStore, ImportCopiesIntoTheProgramFolderAndTakesTheTitle)
{
    TempFolder dir, elsewhere;
    WriteBytes(elsewhere / "Arena.rkp", "[Setting]\r\nGameFile0=arena.exe\r\nMode=0\r\n");
    auto set = NewSet();
    SetDefaultProfiles(*set);
    set->CurrentProfile = 1;
    ASSERT_TRUE(ImportProfileFile(*set, elsewhere / "Arena.rkp", dir.Path()));
    EXPECT_STREQ(set->Profiles[0].Name, "Arena");
    EXPECT_STREQ(set->Profiles[0].GameFile0, "arena.exe");
    EXPECT_EQ(ReadBytes(dir / "Arena.rkp"), ReadBytes(elsewhere / "Arena.rkp"));
    EXPECT_STREQ(set->Profiles[1].Name, "Default1");
}

TEST(ProfileStore, ImportAndExportNeedAnActiveSlotAndAReadableFile)
{
    TempFolder dir;
    auto set = NewSet();
    SetDefaultProfiles(*set);
    auto before = std::make_unique<ProfileSet>(*set);
    EXPECT_FALSE(ImportProfileFile(*set, dir / "missing.rkp", dir.Path()));
    set->CurrentProfile = 0;
    WriteBytes(dir / "there.rkp", "[Setting]\r\nMode=0\r\n");
    EXPECT_FALSE(ImportProfileFile(*set, dir / "there.rkp", dir.Path()));
    EXPECT_FALSE(ExportProfileFile(*set, dir / "out.rkp", dir.Path()));
    set->CurrentProfile = 1;
    EXPECT_EQ(std::memcmp(set.get(), before.get(), sizeof(ProfileSet)), 0);
    EXPECT_EQ(ReadBytes(dir / "config.ini"), "");
}

} // namespace
