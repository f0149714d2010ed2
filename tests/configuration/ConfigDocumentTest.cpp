#include "ConfigFakes.h"
#include "IniFile.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

bool Same(const ProfileSet& a, const ProfileSet& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The default set with every slot renamed after tag, saved in folder or kept for the block.
std::unique_ptr<ProfileSet> NamedSet(const std::string& tag, int current)
{
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->CurrentProfile = current;
    for (int i = 0; i < kProfileCount; ++i)
        CopyToField(set->Profiles[i].Name, tag + std::to_string(i + 1));
    return set;
}

std::unique_ptr<ProfileSet> LoadFiles(const std::string& folder)
{
    auto set = std::make_unique<ProfileSet>();
    ClearProfileSet(*set);
    LoadProfileSet(*set, folder);
    return set;
}

int CurrentInConfigIni(const std::string& folder)
{
    return IniFile(ConfigIniPath(folder)).ReadInt("Setting", "CurrentProfile", -1);
}

class ConfigDocumentTest : public ::testing::Test {
protected:
    TempFolder dir;
    RecordingSharedBlock block;
    RecordingHostWindow host;
    ConfigDocument doc{dir.Path(), block, host};
};

TEST_F(ConfigDocumentTest, Open_WithoutHost_ReadsTheFilesAndLibrariesAndNeverTouchesTheBlock)
{
    SaveProfileSet(*NamedSet("File", 4), dir.Path());
    TimerLibrary timers;
    timers.push_back(std::make_unique<TimerRecord>(TimerRecord{90, "Tea"}));
    SaveTimerLibrary(timers, dir.Path());
    *block.content = *NamedSet("Block", 2);

    doc.Open(false);
    EXPECT_EQ(doc.Committed().CurrentProfile, 4);
    EXPECT_STREQ(doc.Committed().Profiles[2].Name, "File3");
    EXPECT_TRUE(Same(doc.Working(), doc.Committed()));
    ASSERT_EQ(doc.Timers().size(), 1u);
    EXPECT_STREQ(doc.Timers()[0]->Name, "Tea");
    EXPECT_FALSE(doc.HostPresent());
    EXPECT_EQ(block.reads, 0);
    EXPECT_EQ(host.calls, 0);
}

TEST_F(ConfigDocumentTest, Open_WithHost_TheBlockWinsAndAnUnreadableBlockFallsBackToTheFiles)
{
    SaveProfileSet(*NamedSet("File", 4), dir.Path());
    *block.content = *NamedSet("Block", 2);

    doc.Open(true);
    EXPECT_TRUE(Same(doc.Committed(), *block.content));
    EXPECT_TRUE(Same(doc.Working(), *block.content));

    block.readable = false;
    doc.Open(true);
    EXPECT_EQ(doc.Working().CurrentProfile, 4);
    EXPECT_STREQ(doc.Working().Profiles[0].Name, "File1");
    EXPECT_EQ(host.calls, 0);
}

TEST_F(ConfigDocumentTest, SelectSlot_NothingApplied_ConfigIniStaysAsItWas)
{
    SaveProfileSet(*NamedSet("File", 1), dir.Path());
    const std::string before = ReadBytes(ConfigIniPath(dir.Path()));
    doc.Open(false);
    doc.SelectSlot(3);
    doc.SelectSlot(0);
    doc.SelectSlot(6);
    EXPECT_EQ(doc.Working().CurrentProfile, 3);
    EXPECT_STREQ(doc.CurrentProfile()->Name, "File3");
    EXPECT_EQ(doc.Committed().CurrentProfile, 1);
    EXPECT_EQ(ReadBytes(ConfigIniPath(dir.Path())), before);
    EXPECT_EQ(block.writes, 0);
    EXPECT_EQ(host.calls, 0);
}

// Everything is on disk before the host is asked: a window closed while the answer is awaited loses
// nothing.
TEST_F(ConfigDocumentTest, Apply_FilesThenBlockThenCommittedCopyThenMacroLibraryThenHost)
{
    *block.content = *NamedSet("Block", 1);
    doc.Open(true);
    doc.SelectSlot(3);
    std::vector<std::string> seen;
    block.onWrite = [&](const ProfileSet& source) {
        seen.push_back("block");
        EXPECT_EQ(source.CurrentProfile, 3);
        EXPECT_EQ(CurrentInConfigIni(dir.Path()), 3) << "files before the block";
        EXPECT_EQ(doc.Committed().CurrentProfile, 1) << "committed copy after the block";
    };
    host.onCall = [&] {
        seen.push_back("host");
        EXPECT_EQ(block.content->CurrentProfile, 3);
        EXPECT_EQ(doc.Committed().CurrentProfile, 3);
        EXPECT_TRUE(std::filesystem::exists(NativePath(MacroLibraryPath(dir.Path())))) << "macros before the host";
    };

    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::Applied);
    EXPECT_EQ(seen, (std::vector<std::string>{"block", "host"}));
    EXPECT_TRUE(std::filesystem::exists(NativePath(ProfilePath(dir.Path(), "Block3"))));
}

TEST_F(ConfigDocumentTest, Apply_HostAbsentOrSilent_FilesAreSavedAndTheOutcomeSaysSo)
{
    doc.Open(false);
    doc.SelectSlot(2);
    host.answer = std::nullopt;
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::SavedWithoutHost);
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 2);
    EXPECT_EQ(doc.Committed().CurrentProfile, 2);

    doc.SelectSlot(5);
    host.answer = HostWindow::Answer::NoAnswer;
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::HostDidNotAnswer);
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 5);
    EXPECT_EQ(block.content->CurrentProfile, 5);
    EXPECT_EQ(doc.Committed().CurrentProfile, 5);
}

// A host asked without the block holding the copy would push what it holds, not the user's edit.
TEST_F(ConfigDocumentTest, Apply_BlockNotWritten_HostIsNotAskedAndTheFilesAreSaved)
{
    NullSharedBlock none;
    doc.SetBlock(none, false);
    doc.Open(false);
    doc.SelectSlot(4);
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::SavedWithoutHost);
    EXPECT_EQ(host.calls, 0);
    EXPECT_EQ(CurrentInConfigIni(dir.Path()), 4);
}

TEST_F(ConfigDocumentTest, Apply_FilesNotWritable_CommittedCopyStaysAndNothingReachesTheHost)
{
    const std::string unwritable[] = {"config", "config.ini"};
    for (const std::string& name : unwritable) {
        TempFolder folder;
        if (name == "config")
            WriteBytes(folder / "config", "a file where the folder belongs");
        else
            std::filesystem::create_directory(NativePath(folder / "config.ini"));
        RecordingSharedBlock hostBlock;
        *hostBlock.content = *NamedSet("Block", 1);
        RecordingHostWindow hostWindow;
        ConfigDocument document(folder.Path(), hostBlock, hostWindow);
        document.Open(true);
        document.SelectSlot(4);
        document.SetMode(true);

        EXPECT_EQ(ApplyAndAnswer(document, hostWindow), ApplyOutcome::FilesNotSaved) << name;
        EXPECT_EQ(document.Committed().CurrentProfile, 1) << name;
        EXPECT_EQ(document.Committed().Profiles[0].Mode, KeyboardMode::NumLockOff) << name;
        EXPECT_EQ(hostBlock.writes, 0) << name;
        EXPECT_EQ(hostWindow.calls, 0) << name;
        EXPECT_FALSE(std::filesystem::is_regular_file(NativePath(MacroLibraryPath(folder.Path())))) << name;
    }
}

TEST_F(ConfigDocumentTest, KeySwitchAndMode_AreWrittenIntoAllFiveProfileFiles)
{
    doc.Open(false);
    doc.SetKeySwitch(0, false);
    doc.SetKeySwitch(6, false);
    EXPECT_TRUE(Same(doc.Working(), doc.Committed())) << "no such key";
    doc.SelectSlot(1);
    doc.SetKeySwitch(2, false);
    doc.SetMode(true);
    ASSERT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::Applied);

    auto files = LoadFiles(dir.Path());
    for (const Profile& p : files->Profiles) {
        EXPECT_EQ(p.Mode, KeyboardMode::NumLockOn) << p.Name;
        EXPECT_EQ(std::vector<KeySwitch>(p.KeyFlags, p.KeyFlags + kKeyCount),
                  (std::vector<KeySwitch>{KeySwitch::On, KeySwitch::Off, KeySwitch::On, KeySwitch::On, KeySwitch::On}))
            << p.Name;
    }
    doc.SetKeySwitch(2, true);
    doc.SetMode(false);
    for (const Profile& p : doc.Working().Profiles) {
        EXPECT_EQ(p.KeyFlags[1], KeySwitch::On);
        EXPECT_EQ(p.Mode, KeyboardMode::NumLockOff);
    }
}

TEST_F(ConfigDocumentTest, ResetThenApply_PutsTheDefaultProfilesInTheFiles)
{
    auto edited = NamedSet("Mine", 4);
    edited->Profiles[1].Buttons[0].FunctionCode = static_cast<uint8_t>(KeyFunction::Mute);
    edited->Profiles[3].Mode = KeyboardMode::NumLockOn;
    SaveProfileSet(*edited, dir.Path());
    doc.Open(false);
    doc.ResetToDefaults();
    ASSERT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::Applied);

    auto defaults = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*defaults);
    EXPECT_TRUE(Same(*LoadFiles(dir.Path()), *defaults));
    EXPECT_TRUE(Same(doc.Committed(), *defaults));
}

TEST_F(ConfigDocumentTest, SetBlock_HostStartedLater_ApplyAndTakeOverUseItsBlock)
{
    NullSharedBlock none;
    ConfigDocument alone(dir.Path(), none, host);
    alone.Open(false);
    RecordingSharedBlock later;
    alone.SetBlock(later, true);
    EXPECT_TRUE(alone.HostPresent());
    alone.SelectSlot(2);
    EXPECT_EQ(ApplyAndAnswer(alone, host), ApplyOutcome::Applied);
    EXPECT_EQ(later.content->CurrentProfile, 2);

    later.content->CurrentProfile = 4;
    EXPECT_TRUE(alone.TakeOverBlock());
    EXPECT_EQ(alone.Working().CurrentProfile, 4);
}

TEST_F(ConfigDocumentTest, GameProfile_LongTextsAreCutToTheirFieldsAndTerminated)
{
    doc.Open(false);
    GameProfileValues values{std::string(300, 'N'), {std::string(600, 'a'), "b.exe", std::string(500, 'c')}};
    doc.SetGameProfile(values);
    EXPECT_TRUE(Same(doc.Working(), doc.Committed())) << "no slot current: nothing stored";
    EXPECT_EQ(doc.GameProfile().name, "");

    doc.SelectSlot(2);
    doc.SetGameProfile(values);
    const GameProfileValues shown = doc.GameProfile();
    EXPECT_EQ(shown.name, std::string(249, 'N'));
    EXPECT_EQ(shown.games[0], std::string(499, 'a'));
    EXPECT_EQ(shown.games[1], "b.exe");
    EXPECT_EQ(shown.games[2], std::string(499, 'c'));
    const Profile& p = doc.Working().Profiles[1];
    EXPECT_EQ(p.Name[249], '\0');
    EXPECT_EQ(p.GameFile0[499], '\0');
    EXPECT_EQ(p.GameFile2[499], '\0');
    EXPECT_STREQ(doc.Working().Profiles[2].Name, "Default2");
}

TEST_F(ConfigDocumentTest, Import_NamesTheCurrentProfileAfterTheFileAndNeedsACurrentSlot)
{
    TempFolder elsewhere;
    WriteBytes(elsewhere / "Race.rkp", "[Setting]\r\nGameFile0=race.exe\r\nMode=0\r\n");
    doc.Open(false);
    const auto before = std::make_unique<ProfileSet>(doc.Working());
    EXPECT_FALSE(doc.Import(elsewhere / "Race.rkp"));
    EXPECT_TRUE(Same(doc.Working(), *before));

    doc.SelectSlot(3);
    ASSERT_TRUE(doc.Import(elsewhere / "Race.rkp"));
    EXPECT_STREQ(doc.CurrentProfile()->Name, "Race");
    EXPECT_STREQ(doc.CurrentProfile()->GameFile0, "race.exe");
    EXPECT_EQ(doc.CurrentProfile()->Mode, KeyboardMode::NumLockOn);
    EXPECT_STREQ(doc.Committed().Profiles[2].Name, "Default2");
}

TEST_F(ConfigDocumentTest, Export_WritesTheCurrentProfileAndListsItsTitleForTheSlot)
{
    TempFolder elsewhere;
    doc.Open(false);
    doc.SelectSlot(4);
    doc.SetGameProfile({"Slot four", {"four.exe", "", ""}});
    ASSERT_TRUE(doc.Export(elsewhere / "Mine.rkp"));

    auto read = std::make_unique<Profile>();
    ReadProfileFile(*read, elsewhere / "Mine.rkp");
    EXPECT_STREQ(read->GameFile0, "four.exe");
    EXPECT_EQ(ReadBytes(ProfilePath(dir.Path(), "Mine")), ReadBytes(elsewhere / "Mine.rkp"));
    EXPECT_EQ(IniFile(ConfigIniPath(dir.Path())).ReadString("FileName", "Profile4", ""), "Mine");
    EXPECT_STREQ(doc.CurrentProfile()->Name, "Slot four");
}

} // namespace
