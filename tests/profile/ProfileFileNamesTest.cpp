// Profile names on their way to and from files: saving, loading, importing and exporting never
// touch a file outside the config folder, never let two slots share one file, and never leave
// config.ini naming a file that was not written.
#include "IniFile.h"
#include "Libraries.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

using Files = std::vector<std::string>;

std::unique_ptr<ProfileSet> Named(std::initializer_list<const char*> names, int current = 1)
{
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->CurrentProfile = current;
    int i = 0;
    for (const char* name : names) {
        CopyToField(set->Profiles[i].Name, name);
        CopyToField(set->Profiles[i].GameFile0, std::string(name) + ".exe");
        set->Profiles[i].Mode = static_cast<KeyboardMode>(i % 2);
        ++i;
    }
    return set;
}

std::unique_ptr<ProfileSet> Loaded(const std::string& folder)
{
    auto set = std::make_unique<ProfileSet>();
    ClearProfileSet(*set);
    LoadProfileSet(*set, folder);
    return set;
}

bool SameProfile(const Profile& a, const Profile& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A program folder one level below a folder of its own, so that escaping files would be seen.
struct NestedFolder {
    TempFolder root;
    std::string program = root / "prog\\";
    NestedFolder() { EnsureFolder(program); }
};

TEST(ProfileFileNames, SaveWritesTheProfileFilesFirstAndLeavesConfigIniWhenOneFails)
{
    TempFolder dir;
    auto before = Named({"One", "Two", "Three", "Four", "Five"});
    ASSERT_TRUE(SaveProfileSet(*before, dir.Path()));
    const std::string configIni = ReadBytes(ConfigIniPath(dir.Path()));

    // Slot 3 renamed to a file that cannot be written (a folder stands in its place).
    auto renamed = Named({"One", "Two", "Blocked", "Four", "Five"}, 3);
    std::filesystem::create_directories(NativePath(ProfilePath(dir.Path(), "Blocked")));
    EXPECT_FALSE(SaveProfileSet(*renamed, dir.Path()));
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), configIni) << "config.ini still names what is on disk";

    auto back = Loaded(dir.Path());
    EXPECT_EQ(back->CurrentProfile, 1);
    EXPECT_STREQ(back->Profiles[2].Name, "Three");
    EXPECT_TRUE(SameProfile(back->Profiles[2], before->Profiles[2])) << "slot 3 did not revert to its defaults";
}

TEST(ProfileFileNames, NamesThatAreNoFileNamesAreNeitherSavedNorLoaded)
{
    NestedFolder f;
    for (const char* name : {"..\\..\\escaped", "a:b", "CON", "nul.txt", "Race.", "what?"}) {
        auto set = Named({"One", "Two", name});
        EXPECT_FALSE(SaveProfileSet(*set, f.program)) << name;
        EXPECT_EQ(FilesBelow(f.root.Path()), Files{}) << name;
    }

    // A config.ini listing a path (written by an older version) reads no file outside the folder.
    WriteBytes(f.root / "escaped.rkp", "[Setting]\r\nGameFile0=outside.exe\r\nMode=0\r\n");
    EnsureFolder(f.program + "config");
    WriteBytes(ConfigIniPath(f.program), "[FileName]\r\nProfile1=..\\..\\escaped\r\nProfile2=CON\r\n");
    auto back = Loaded(f.program);
    Profile expected;
    SetDefaultProfile(expected, 0);
    EXPECT_TRUE(SameProfile(back->Profiles[0], expected)) << "the file outside was read";
    SetDefaultProfile(expected, 1);
    EXPECT_TRUE(SameProfile(back->Profiles[1], expected));
}

TEST(ProfileFileNames, ImportRefusesATitleThatIsNoFileNameAndChangesNothing)
{
    NestedFolder f;
    EnsureFolder(f.root / "in");
    auto set = Named({"One", "Two"}, 2);
    const auto before = std::make_unique<ProfileSet>(*set);
    for (const char* title : {"CON", "Race.", " "}) {
        const std::string path = f.root / ("in\\" + std::string(title) + ".rkp");
        WriteBytes(path, "[Setting]\r\nMode=0\r\n");
        const ProfileTransfer result = ImportProfileFile(*set, path, f.program);
        EXPECT_FALSE(result) << title;
        EXPECT_EQ(result.outcome, TransferOutcome::NameRefused) << title;
        EXPECT_NE(result.problem, NameProblem::None) << title;
        EXPECT_EQ(std::memcmp(set.get(), before.get(), sizeof(ProfileSet)), 0) << title;
        EXPECT_EQ(FilesBelow(f.program), Files{}) << title;
    }
    EXPECT_EQ(ImportProfileFile(*set, f.root / "in\\missing.rkp", f.program).outcome, TransferOutcome::FileNotRead);
    set->CurrentProfile = -1;
    EXPECT_EQ(ImportProfileFile(*set, f.root / "in\\CON.rkp", f.program).outcome, TransferOutcome::NoCurrentSlot);
}

TEST(ProfileFileNames, ImportOfAnotherSlotsNameTakesTheFirstFreeNumberedName)
{
    TempFolder dir, elsewhere;
    WriteBytes(elsewhere / "race.rkp", "[Setting]\r\nGameFile0=race.exe\r\nMode=0\r\n");
    auto set = Named({"Race", "Race (2)", "Three"}, 3);
    ProfileTransfer result = ImportProfileFile(*set, elsewhere / "race.rkp", dir.Path());
    EXPECT_TRUE(result);
    EXPECT_EQ(result.outcome, TransferOutcome::TitleTaken);
    EXPECT_EQ(result.otherSlot, 1);
    EXPECT_EQ(result.name, "race (3)");
    EXPECT_STREQ(set->Profiles[2].Name, "race (3)");
    EXPECT_STREQ(set->Profiles[2].GameFile0, "race.exe");
    EXPECT_EQ(FilesBelow(dir.Path()), Files{"race (3).rkp"});
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path())) << "the slots can be saved side by side";

    // Into the slot that carries the name already: it keeps the name.
    set->CurrentProfile = 1;
    result = ImportProfileFile(*set, elsewhere / "race.rkp", dir.Path());
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_STREQ(set->Profiles[0].Name, "race");
}

TEST(ProfileFileNames, ExportUnderAnotherSlotsNameWritesTheChosenFileOnly)
{
    TempFolder dir, elsewhere;
    auto set = Named({"Race", "Fly"}, 2);
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    const Files saved = FilesBelow(dir.Path());
    const std::string configIni = ReadBytes(ConfigIniPath(dir.Path()));
    const std::string raceFile = ReadBytes(ProfilePath(dir.Path(), "Race"));

    ProfileTransfer result = ExportProfileFile(*set, elsewhere / "RACE.rkp", dir.Path());
    EXPECT_TRUE(result);
    EXPECT_EQ(result.outcome, TransferOutcome::TitleTaken);
    EXPECT_EQ(result.otherSlot, 1);
    EXPECT_EQ(IniFile(elsewhere / "RACE.rkp").ReadString("Setting", "GameFile0", ""), "Fly.exe");
    EXPECT_EQ(ReadBytes(ProfilePath(dir.Path(), "Race")), raceFile);
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), configIni);
    EXPECT_EQ(FilesBelow(dir.Path()), saved);

    // Slot 1 renamed but not applied: config.ini still lists Race for it, and its file stays too.
    CopyToField(set->Profiles[0].Name, "Renamed");
    EXPECT_EQ(ExportProfileFile(*set, elsewhere / "Race.rkp", dir.Path()).outcome, TransferOutcome::TitleTaken);
    EXPECT_EQ(ReadBytes(ProfilePath(dir.Path(), "Race")), raceFile);
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), configIni);
}

TEST(ProfileFileNames, ExportNeverReplacesAnotherSlotsFileOrTheProgramsOwnFiles)
{
    TempFolder dir;
    auto set = Named({"Race", "Fly"}, 2);
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    WriteBytes(MacroLibraryPath(dir.Path()), "[Main]\r\nCount=0\r\n");
    const Files saved = FilesBelow(dir.Path());
    const std::string raceFile = ReadBytes(ProfilePath(dir.Path(), "Race"));
    const std::string configIni = ReadBytes(ConfigIniPath(dir.Path()));
    for (const std::string& path : {dir / "config\\race.rkp", dir / "config/Race.rkp", ConfigIniPath(dir.Path()),
                                    dir / "CONFIG\\MACRO.INI", dir / "config\\Timer.ini"}) {
        const ProfileTransfer result = ExportProfileFile(*set, path, dir.Path());
        EXPECT_EQ(result.outcome, TransferOutcome::ForbiddenFile) << path;
        EXPECT_FALSE(result) << path;
    }
    EXPECT_EQ(ReadBytes(ProfilePath(dir.Path(), "Race")), raceFile);
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), configIni);
    EXPECT_EQ(FilesBelow(dir.Path()), saved);

    // Its own file is the active slot's to replace.
    EXPECT_EQ(ExportProfileFile(*set, dir / "config\\Fly.rkp", dir.Path()).outcome, TransferOutcome::Done);
}

TEST(ProfileFileNames, ExportListsTheTitleOnlyAfterItsCopyWasWritten)
{
    TempFolder dir, elsewhere;
    auto set = Named({"Race", "Fly"}, 2);
    ASSERT_TRUE(SaveProfileSet(*set, dir.Path()));
    const std::string configIni = ReadBytes(ConfigIniPath(dir.Path()));
    std::filesystem::create_directories(NativePath(ProfilePath(dir.Path(), "Blocked")));
    const ProfileTransfer result = ExportProfileFile(*set, elsewhere / "Blocked.rkp", dir.Path());
    EXPECT_EQ(result.outcome, TransferOutcome::CopyNotWritten);
    EXPECT_FALSE(result);
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), configIni) << "config.ini lists no name without its file";
    EXPECT_EQ(IniFile(elsewhere / "Blocked.rkp").ReadString("Setting", "GameFile0", ""), "Fly.exe");

    EXPECT_EQ(ExportProfileFile(*set, elsewhere / "no folder\\x.rkp", dir.Path()).outcome,
              TransferOutcome::FileNotWritten);
    for (const char* title : {"CON", "x."}) {
        const ProfileTransfer refused = ExportProfileFile(*set, elsewhere / (std::string(title) + ".rkp"), dir.Path());
        EXPECT_EQ(refused.outcome, TransferOutcome::NameRefused) << title;
        EXPECT_EQ(FilesBelow(elsewhere.Path()), Files{"Blocked.rkp"}) << title << ": nothing written";
    }
}

} // namespace
