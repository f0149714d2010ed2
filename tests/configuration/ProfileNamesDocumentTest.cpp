// The names the configuration program's document takes: from the game profile dialog, from an
// imported file and before an apply; and where a game profile edit lands when the host changed the
// block while the dialog was open.
#include "ConfigFakes.h"
#include "IniFile.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

class ProfileNamesDocument : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto set = std::make_unique<ProfileSet>();
        SetDefaultProfiles(*set);
        set->CurrentProfile = 2;
        CopyToField(set->Profiles[0].Name, "Race");
        *block.content = *set;
        doc.Open(true);
    }
    GameProfileValues Values(const std::string& name) const
    {
        return GameProfileValues{name, {"C:\\Games\\a.exe", "", "D:\\b.exe"}};
    }

    TempFolder dir;
    RecordingSharedBlock block;
    RecordingHostWindow host;
    ConfigDocument doc{dir.Path(), block, host};
};

TEST_F(ProfileNamesDocument, TheGameProfileDialogsNameIsRefusedWhenItCannotNameAFileOfItsOwn)
{
    EXPECT_EQ(doc.ProfileNameProblemFor(2, ""), NameProblem::Empty) << "New Game's empty dialog";
    EXPECT_EQ(doc.ProfileNameProblemFor(2, "  "), NameProblem::Empty);
    EXPECT_EQ(doc.ProfileNameProblemFor(2, "..\\..\\x"), NameProblem::ReservedCharacter);
    EXPECT_EQ(doc.ProfileNameProblemFor(2, "LPT1"), NameProblem::DeviceName);
    EXPECT_EQ(doc.ProfileNameProblemFor(2, " race "), NameProblem::Taken);
    EXPECT_EQ(doc.ProfileNameProblemFor(1, " race "), NameProblem::None);
    EXPECT_EQ(doc.ProfileNameProblemFor(2, " Rally "), NameProblem::None);

    const auto before = std::make_unique<ProfileSet>(doc.Working());
    for (const char* refused : {"", "a:b", "RACE", "nul"})
        EXPECT_EQ(doc.StoreGameProfileEdit(2, doc.GameProfile(), Values(refused)), DialogEdit::Dropped) << refused;
    EXPECT_EQ(std::memcmp(&doc.Working(), before.get(), sizeof(ProfileSet)), 0) << "a refused name blanks nothing";

    EXPECT_EQ(doc.StoreGameProfileEdit(2, doc.GameProfile(), Values(" Rally ")), DialogEdit::Stored);
    EXPECT_STREQ(doc.Working().Profiles[1].Name, "Rally") << "kept without its outer blanks";
    EXPECT_STREQ(doc.Working().Profiles[1].GameFile2, "D:\\b.exe");
    EXPECT_EQ(doc.StoreGameProfileEdit(0, doc.GameProfile(), Values("X")), DialogEdit::NoSlot);
}

TEST_F(ProfileNamesDocument, AGameProfileEditLandsInTheSlotItWasOpenedFor)
{
    const GameProfileValues openedWith = doc.GameProfile();
    ASSERT_EQ(openedWith.name, "Default1");
    // While the dialog is open the host switches to slot 4 (a listed game came to the front).
    block.content->CurrentProfile = 4;
    ASSERT_TRUE(doc.TakeOverBlock());
    ASSERT_EQ(doc.Working().CurrentProfile, 4);

    EXPECT_EQ(doc.StoreGameProfileEdit(2, openedWith, Values("Rally")), DialogEdit::Stored);
    EXPECT_STREQ(doc.Working().Profiles[1].Name, "Rally");
    EXPECT_STREQ(doc.Working().Profiles[3].Name, "Default3") << "the slot current at the close is untouched";
}

TEST_F(ProfileNamesDocument, AGameProfileEditIsDroppedWhenTheHostChangedThatProfileMeanwhile)
{
    const GameProfileValues openedWith = doc.GameProfile();
    // The keyboard was reset while the dialog was open: the host's defaults name slot 2 anew.
    CopyToField(block.content->Profiles[1].GameFile0, "host.exe");
    ASSERT_TRUE(doc.TakeOverBlock());
    EXPECT_EQ(doc.StoreGameProfileEdit(2, openedWith, Values("Rally")), DialogEdit::Dropped);
    EXPECT_STREQ(doc.Working().Profiles[1].Name, "Default1");
    EXPECT_STREQ(doc.Working().Profiles[1].GameFile0, "host.exe");
}

TEST_F(ProfileNamesDocument, AnApplyWithASharedNameSavesNothingAndTellsTheSlot)
{
    EXPECT_FALSE(doc.UnusableProfileName());
    // A name no dialog lets through (here set directly, as an older version's block could hold).
    doc.SelectSlot(4);
    doc.SetGameProfile({"race", {"", "", ""}});
    ASSERT_TRUE(doc.UnusableProfileName());
    EXPECT_EQ(doc.UnusableProfileName()->slot, 4);
    EXPECT_EQ(doc.UnusableProfileName()->problem, NameProblem::Taken);
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::FilesNotSaved);
    EXPECT_EQ(FilesBelow(dir.Path()), std::vector<std::string>{});
    EXPECT_EQ(block.writes, 0);
    EXPECT_EQ(host.calls, 0);
}

TEST_F(ProfileNamesDocument, ImportAndExportTellWhatBecameOfTheProfile)
{
    TempFolder elsewhere;
    WriteBytes(elsewhere / "Race.rkp", "[Setting]\r\nGameFile0=race.exe\r\n");
    ProfileTransfer imported = doc.Import(elsewhere / "Race.rkp");
    EXPECT_EQ(imported.outcome, TransferOutcome::TitleTaken);
    EXPECT_EQ(imported.otherSlot, 1);
    EXPECT_STREQ(doc.CurrentProfile()->Name, "Race (2)");
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::Applied) << "two slots, two files";
    EXPECT_EQ(ReadBytes(ProfilePath(dir.Path(), "Race")).empty(), false);
    EXPECT_EQ(IniFile(ProfilePath(dir.Path(), "Race (2)")).ReadString("Setting", "GameFile0", ""), "race.exe");

    const ProfileTransfer exported = doc.Export(elsewhere / "race.rkp");
    EXPECT_EQ(exported.outcome, TransferOutcome::TitleTaken);
    EXPECT_EQ(IniFile(ConfigIniPath(dir.Path())).ReadString("FileName", "Profile2", ""), "Race (2)");
    EXPECT_EQ(doc.Export(dir / "config\\Race.rkp").outcome, TransferOutcome::ForbiddenFile);
}

} // namespace
