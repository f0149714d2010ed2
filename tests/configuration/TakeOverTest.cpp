// What becomes of the user's unapplied edits when the host changes the block (a game comes to the
// front, the keyboard's mode or memory changed) while TolkCfg is open, and of an edit made in a
// dialog meanwhile; and how an apply that could not reach everything is told.
#include "ConfigFakes.h"
#include "IniFile.h"
#include "ProfileStore.h"
#include "StatusTexts.h"
#include "TempFolder.h"
#include "Text.h"

#include "../../resources/lang/LanguageStrings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

bool Same(const ProfileSet& a, const ProfileSet& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}
bool Same(const ButtonInfo& a, const ButtonInfo& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ButtonInfo Shortcut(uint8_t key)
{
    ButtonInfo b{};
    b.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    b.ShortcutKey = key;
    b.ShortcutFlags[kFlagCtrl] = 1;
    return b;
}

class TakeOverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultProfiles(*block.content);
        block.content->CurrentProfile = 1;
        doc.Open(true);
    }
    // The host's own change of the block, as the game watch or a key event makes it.
    ProfileSet& Host() { return *block.content; }
    Profile& Working(int slot) { return const_cast<Profile&>(doc.Working().Profiles[slot - 1]); }

    TempFolder dir;
    RecordingSharedBlock block;
    RecordingHostWindow host;
    ConfigDocument doc{dir.Path(), block, host};
};

TEST_F(TakeOverTest, HostChangesOtherParts_TheUsersEditsStayAndTheHostsChangesArrive)
{
    doc.SetKeySwitch(3, false);
    doc.SelectSlot(2);
    Working(2).Buttons[0] = Shortcut(0x3E);
    doc.SetGameProfile({"Race", {"race.exe", "", ""}});

    Host().Profiles[4].Buttons[4] = Shortcut(0x10); // another key of another profile
    for (Profile& p : Host().Profiles)
        p.Mode = KeyboardMode::NumLockOn;
    Host().Profiles[3].MediaOption = 2;

    const std::optional<TakeOver> result = doc.TakeOverBlock();
    ASSERT_TRUE(result);
    EXPECT_TRUE(result->dropped.empty());
    EXPECT_TRUE(Same(doc.Committed(), Host()));
    EXPECT_EQ(doc.Working().CurrentProfile, 2);
    EXPECT_TRUE(Same(doc.Working().Profiles[1].Buttons[0], Shortcut(0x3E)));
    EXPECT_STREQ(doc.Working().Profiles[1].Name, "Race");
    EXPECT_STREQ(doc.Working().Profiles[1].GameFile0, "race.exe");
    EXPECT_TRUE(Same(doc.Working().Profiles[4].Buttons[4], Shortcut(0x10)));
    EXPECT_EQ(doc.Working().Profiles[3].MediaOption, 2);
    for (const Profile& p : doc.Working().Profiles) {
        EXPECT_EQ(p.Mode, KeyboardMode::NumLockOn);
        EXPECT_EQ(p.KeyFlags[2], KeySwitch::Off) << "the key switch the user turned off";
    }

    // What was kept is what the next apply sends.
    ASSERT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::Applied);
    EXPECT_TRUE(Same(Host().Profiles[1].Buttons[0], Shortcut(0x3E)));
    EXPECT_TRUE(Same(Host().Profiles[4].Buttons[4], Shortcut(0x10)));
}

TEST_F(TakeOverTest, BothChangedTheSamePart_TheHostWinsAndEachLossIsNamedOnce)
{
    doc.SelectSlot(5);
    Working(2).Buttons[2] = Shortcut(0x3A);
    doc.SetMode(true);
    doc.SetKeySwitch(1, false);
    Working(4).MediaOption = 1;

    Host().CurrentProfile = 3; // the game watch switched
    Host().Profiles[1].Buttons[2] = Shortcut(0x3B);
    for (Profile& p : Host().Profiles) {
        p.Mode = KeyboardMode::NumLockOn; // the keyboard's mode switch, to the same mode the user chose
        p.KeyFlags[0] = static_cast<KeySwitch>(255);
    }
    Host().Profiles[3].MediaOption = 1; // the same choice as the user's: nothing lost

    const std::optional<TakeOver> result = doc.TakeOverBlock();
    ASSERT_TRUE(result);
    EXPECT_TRUE(Same(doc.Working(), Host()));
    ASSERT_EQ(result->dropped.size(), 3u);
    EXPECT_EQ(result->dropped[0].what, DroppedEdit::What::Slot);
    EXPECT_EQ(result->dropped[0].slot, 3);
    EXPECT_EQ(result->dropped[1].what, DroppedEdit::What::KeySwitch);
    EXPECT_EQ(result->dropped[1].key, 1);
    EXPECT_EQ(result->dropped[2].what, DroppedEdit::What::Key);
    EXPECT_EQ(result->dropped[2].slot, 2);
    EXPECT_EQ(result->dropped[2].key, 3);

    auto english = [](uint32_t id) {
        return id == IDS_STATUS_DROPPED_KEY ? std::string("TolkHid changed G{key} of profile {slot}; dropped.")
                                            : std::string("other {slot}");
    };
    EXPECT_EQ(DroppedEditText(result->dropped[2], english), "TolkHid changed G3 of profile 2; dropped.");
    EXPECT_EQ(DroppedEditText(result->dropped[0], english), "other 3");
}

TEST_F(TakeOverTest, KeyboardResetToDefaults_EveryEditOfAChangedPartGivesWay)
{
    Host().Profiles[2].Buttons[1] = Shortcut(0x20);
    ASSERT_TRUE(doc.TakeOverBlock());
    Working(3).Buttons[1] = Shortcut(0x21);
    doc.SelectSlot(4);

    SetDefaultProfiles(Host()); // the host wrote the defaults after the keyboard's reset
    const std::optional<TakeOver> result = doc.TakeOverBlock();
    ASSERT_TRUE(result);
    EXPECT_TRUE(Same(doc.Working().Profiles[2].Buttons[1], Host().Profiles[2].Buttons[1]));
    ASSERT_EQ(result->dropped.size(), 1u);
    EXPECT_EQ(result->dropped[0].what, DroppedEdit::What::Key);
    EXPECT_EQ(doc.Working().CurrentProfile, 4) << "the slot choice was the user's alone";
}

TEST_F(TakeOverTest, UnreadableBlock_NothingChanges)
{
    doc.SelectSlot(5);
    Host().CurrentProfile = 2;
    block.readable = false;
    EXPECT_FALSE(doc.TakeOverBlock());
    EXPECT_EQ(doc.Working().CurrentProfile, 5);
    EXPECT_EQ(doc.Committed().CurrentProfile, 1);
}

// Whatever the host and the user change in whatever order, a take-over never loses a part only
// the user changed and never keeps a part the host changed.
TEST_F(TakeOverTest, RandomEditsOnBothSides_OnlyTheHostsChangedPartsAreReplaced)
{
    std::mt19937 random(20261209);
    for (int round = 0; round < 100; ++round) {
        ASSERT_TRUE(doc.TakeOverBlock());
        const auto base = std::make_unique<ProfileSet>(doc.Committed());
        bool userKey[kProfileCount][kKeyCount] = {};
        for (int n = 0; n < 6; ++n) {
            const int s = static_cast<int>(random() % kProfileCount);
            const int k = static_cast<int>(random() % kKeyCount);
            const auto key = static_cast<uint8_t>(random() % 0x60);
            if (random() % 2) {
                Working(s + 1).Buttons[k] = Shortcut(key);
                userKey[s][k] = true;
            } else {
                Host().Profiles[s].Buttons[k] = Shortcut(key);
            }
        }
        const auto working = std::make_unique<ProfileSet>(doc.Working());
        const std::optional<TakeOver> result = doc.TakeOverBlock();
        ASSERT_TRUE(result);
        for (int s = 0; s < kProfileCount; ++s) {
            for (int k = 0; k < kKeyCount; ++k) {
                const ButtonInfo& now = doc.Working().Profiles[s].Buttons[k];
                const bool hostChanged = !Same(Host().Profiles[s].Buttons[k], base->Profiles[s].Buttons[k]);
                if (hostChanged || !userKey[s][k])
                    EXPECT_TRUE(Same(now, Host().Profiles[s].Buttons[k])) << round << " " << s << " " << k;
                else
                    EXPECT_TRUE(Same(now, working->Profiles[s].Buttons[k])) << round << " " << s << " " << k;
            }
        }
        ApplyAndAnswer(doc, host);
    }
}

TEST_F(TakeOverTest, DialogEdit_LandsInTheSlotItWasOpenedForOrIsDroppedWhenTheHostChangedIt)
{
    doc.SelectSlot(2);
    const ButtonInfo opened = doc.Working().Profiles[1].Buttons[0];
    // The game watch switched to slot 4 while the shortcut dialog was open.
    Host().CurrentProfile = 4;
    ASSERT_TRUE(doc.TakeOverBlock());
    EXPECT_EQ(doc.StoreKeyEdit(2, 1, opened, Shortcut(0x3E)), DialogEdit::Stored);
    EXPECT_TRUE(Same(doc.Working().Profiles[1].Buttons[0], Shortcut(0x3E)));
    EXPECT_FALSE(Same(doc.Working().Profiles[3].Buttons[0], Shortcut(0x3E)));

    // The host changed the very key while a second dialog was open.
    const ButtonInfo reopened = doc.Working().Profiles[1].Buttons[0];
    Host().Profiles[1].Buttons[0] = Shortcut(0x10);
    ASSERT_TRUE(doc.TakeOverBlock());
    EXPECT_EQ(doc.StoreKeyEdit(2, 1, reopened, Shortcut(0x3F)), DialogEdit::Dropped);
    EXPECT_TRUE(Same(doc.Working().Profiles[1].Buttons[0], Shortcut(0x10)));

    EXPECT_EQ(doc.StorePlayerEdit(3, doc.Working().Profiles[2].MediaOption, 2), DialogEdit::Stored);
    EXPECT_EQ(doc.Working().Profiles[2].MediaOption, 2);
    EXPECT_EQ(doc.StorePlayerEdit(3, 0, 1), DialogEdit::Dropped);
    EXPECT_EQ(doc.Working().Profiles[2].MediaOption, 2);

    const auto before = std::make_unique<ProfileSet>(doc.Working());
    EXPECT_EQ(doc.StoreKeyEdit(0, 1, opened, Shortcut(1)), DialogEdit::NoSlot);
    EXPECT_EQ(doc.StoreKeyEdit(2, 6, opened, Shortcut(1)), DialogEdit::NoSlot);
    EXPECT_EQ(doc.StorePlayerEdit(6, 0, 1), DialogEdit::NoSlot);
    EXPECT_TRUE(Same(doc.Working(), *before));
}

TEST_F(TakeOverTest, Apply_EachFailureHasItsOwnOutcomeAndOnlyACompleteOneLetsOkClose)
{
    doc.SelectSlot(3);
    block.writable = false; // the host runs but its block's lock cannot be taken
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::HostBusy);
    EXPECT_EQ(host.calls, 0);
    EXPECT_EQ(IniFile(ConfigIniPath(dir.Path())).ReadInt("Setting", "CurrentProfile", -1), 3);

    block.writable = true;
    std::filesystem::remove(NativePath(MacroLibraryPath(dir.Path())));
    std::filesystem::create_directories(NativePath(MacroLibraryPath(dir.Path())));
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::MacrosNotSaved);
    EXPECT_EQ(Host().CurrentProfile, 3) << "the profiles still went their whole way";
    host.answer = HostWindow::Answer::NoAnswer;
    EXPECT_EQ(ApplyAndAnswer(doc, host), ApplyOutcome::HostDidNotAnswer) << "the worse news is told";

    EXPECT_TRUE(ApplyLetsWindowClose(ApplyOutcome::Applied));
    EXPECT_TRUE(ApplyLetsWindowClose(ApplyOutcome::SavedWithoutHost));
    for (ApplyOutcome retry : {ApplyOutcome::HostBusy, ApplyOutcome::HostDidNotAnswer, ApplyOutcome::MacrosNotSaved,
                               ApplyOutcome::FilesNotSaved})
        EXPECT_FALSE(ApplyLetsWindowClose(retry)) << static_cast<int>(retry);
    EXPECT_EQ(ApplyOutcomeTextId(ApplyOutcome::HostBusy), static_cast<uint32_t>(IDS_STATUS_HOST_BUSY));
    EXPECT_EQ(ApplyOutcomeTextId(ApplyOutcome::SavedWithoutHost), static_cast<uint32_t>(IDS_STATUS_SAVED_NO_HOST));
}

TEST(StatusTexts, PlaceholdersAreFilledAndOtherBracesStay)
{
    EXPECT_EQ(FillPlaceholders("G{key} / {slot} / {slot}", 4, 2), "G2 / 4 / 4");
    EXPECT_EQ(FillPlaceholders("{sl} {key {}", 1, 1), "{sl} {key {}");
    EXPECT_EQ(FillPlaceholders("", 1, 1), "");
}

} // namespace
