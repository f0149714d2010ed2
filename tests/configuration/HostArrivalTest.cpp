// The main window's decisions that the document takes: finding the block of a host that started
// after the configuration program, the keyboard's arrival, where a dialog's edit of a key or the
// player lands, and what the status line says after an apply or a take-over.
#include "ConfigFakes.h"
#include "KeyCommands.h"
#include "LanguageStrings.h"
#include "NameTexts.h"
#include "ProfileStore.h"
#include "StatusTexts.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool Same(const ButtonInfo& a, const ButtonInfo& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

ButtonInfo Shortcut(uint8_t key)
{
    ButtonInfo info{};
    StoreShortcut(info, key, {0, 0, 1, 0, 0});
    return info;
}

// A language whose every text is its number.
std::string Numbered(uint32_t id)
{
    return "#" + std::to_string(id);
}

class HostArrival : public ::testing::Test {
protected:
    TempFolder dir;
    RecordingHostBlockSource source;
    RecordingSharedBlock hostBlock;
    RecordingHostWindow host;
    ConfigDocument doc{dir.Path(), host};
};

TEST_F(HostArrival, WithoutAHostTheFilesAreUsedAndAnApplyLooksForAHostStartedSince)
{
    SetDefaultProfiles(*hostBlock.content);
    hostBlock.content->CurrentProfile = 3;
    doc.Open(source);
    EXPECT_EQ(source.opens, 1);
    EXPECT_FALSE(doc.HostPresent());
    doc.SelectSlot(2);
    EXPECT_EQ(ApplyAndAnswer(doc, host, source), ApplyOutcome::SavedWithoutHost);
    EXPECT_EQ(source.opens, 2) << "every apply without a host looks for one";
    EXPECT_EQ(host.calls, 0) << "the host is not asked to push what it does not hold";

    // The host started meanwhile without telling: the apply finds its block and hands the set on.
    source.running = &hostBlock;
    EXPECT_EQ(ApplyAndAnswer(doc, host, source), ApplyOutcome::Applied);
    EXPECT_TRUE(doc.HostPresent());
    EXPECT_EQ(hostBlock.content->CurrentProfile, 2);
    EXPECT_EQ(host.calls, 1);
    EXPECT_EQ(ApplyAndAnswer(doc, host, source), ApplyOutcome::Applied);
    EXPECT_EQ(source.opens, 3) << "an attached host is not looked for again";
}

TEST_F(HostArrival, WithAHostAtTheStartItsBlockIsReadInsteadOfTheFiles)
{
    SetDefaultProfiles(*hostBlock.content);
    hostBlock.content->CurrentProfile = 4;
    source.running = &hostBlock;
    doc.Open(source);
    EXPECT_TRUE(doc.HostPresent());
    EXPECT_EQ(doc.Working().CurrentProfile, 4);
    EXPECT_EQ(hostBlock.reads, 1);
}

TEST_F(HostArrival, TheKeyboardArrives_TheFirmwareIsReadAgainAndTheBlockOfALateHostTakenOver)
{
    doc.Open(source);
    doc.SelectSlot(2);
    EXPECT_EQ(doc.FirmwareText(), "1.00") << "the version of a keyboard never seen";

    // The host started after this program, found the keyboard and wrote its firmware version.
    ASSERT_TRUE(WriteFirmwareVersion(128, dir.Path()));
    SetDefaultProfiles(*hostBlock.content);
    hostBlock.content->CurrentProfile = 5;
    source.running = &hostBlock;
    const KeyboardArrival arrival = doc.KeyboardArrived(source);
    EXPECT_EQ(arrival.firmwareText, "1.28");
    EXPECT_TRUE(doc.HostPresent());
    ASSERT_TRUE(arrival.takeOver);
    EXPECT_EQ(doc.Working().CurrentProfile, 5);
    EXPECT_EQ(doc.Committed().CurrentProfile, 5);

    // A block that cannot be read changes nothing; the attached host is not looked for again.
    hostBlock.readable = false;
    doc.SelectSlot(1);
    const KeyboardArrival unread = doc.KeyboardArrived(source);
    EXPECT_FALSE(unread.takeOver);
    EXPECT_EQ(doc.Working().CurrentProfile, 1);
    EXPECT_EQ(source.opens, 2);
}

TEST_F(HostArrival, AKeyDialogEditsTheKeyOfTheSlotCurrentWhenItOpened)
{
    doc.Open(source);
    EXPECT_FALSE(doc.BeginKeyEdit(1)) << "a fresh install has no current slot";
    EXPECT_FALSE(doc.BeginPlayerEdit());
    EXPECT_TRUE(Same(doc.AssignmentOf(1), ButtonInfo{}));

    doc.SelectSlot(2);
    EXPECT_FALSE(doc.BeginKeyEdit(0));
    EXPECT_FALSE(doc.BeginKeyEdit(kKeyCount + 1));
    EXPECT_TRUE(Same(doc.AssignmentOf(kKeyCount + 1), ButtonInfo{}));
    ASSERT_EQ(doc.StoreKeyEdit(2, 3, doc.Working().Profiles[1].Buttons[2], Shortcut(0x3C)), DialogEdit::Stored);
    EXPECT_TRUE(Same(doc.AssignmentOf(3), Shortcut(0x3C)));

    const std::optional<KeyEdit> edit = doc.BeginKeyEdit(3);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->slot, 2);
    EXPECT_EQ(edit->key, 3);
    EXPECT_TRUE(Same(edit->openedWith, Shortcut(0x3C)));
    const std::optional<PlayerEdit> player = doc.BeginPlayerEdit();
    ASSERT_TRUE(player);
    EXPECT_EQ(player->slot, 2);

    // The user chose slot 4 while the dialogs were open: the edits still land in slot 2.
    doc.SelectSlot(4);
    EXPECT_EQ(doc.StoreKeyEdit(*edit, Shortcut(0x3E)), DialogEdit::Stored);
    EXPECT_TRUE(Same(doc.Working().Profiles[1].Buttons[2], Shortcut(0x3E)));
    EXPECT_FALSE(Same(doc.Working().Profiles[3].Buttons[2], Shortcut(0x3E)));
    EXPECT_EQ(doc.StorePlayerEdit(*player, player->openedWith + 1), DialogEdit::Stored);
    EXPECT_EQ(doc.Working().Profiles[1].MediaOption, player->openedWith + 1);
    // A second edit opened with the old contents comes too late.
    EXPECT_EQ(doc.StoreKeyEdit(*edit, Shortcut(0x3F)), DialogEdit::Dropped);
    EXPECT_EQ(doc.StorePlayerEdit(*player, 0), DialogEdit::Dropped);
    EXPECT_TRUE(Same(doc.Working().Profiles[1].Buttons[2], Shortcut(0x3E)));
}

TEST_F(HostArrival, TheStatusLineTellsTheOutcomeOrTheNameThatCouldNotBeSaved)
{
    doc.Open(source);
    doc.SelectSlot(2);
    EXPECT_EQ(ApplyStatusText(ApplyOutcome::Applied, doc, Numbered), Numbered(IDS_STATUS_APPLIED));
    EXPECT_EQ(ApplyStatusText(ApplyOutcome::FilesNotSaved, doc, Numbered), Numbered(IDS_STATUS_NOT_SAVED))
        << "every name can be saved: the files could not be written";

    GameProfileValues values = doc.GameProfile();
    values.name = "CON";
    doc.SetGameProfile(values);
    const std::optional<SlotNameProblem> unusable = doc.UnusableProfileName();
    ASSERT_TRUE(unusable);
    EXPECT_EQ(ApplyStatusText(ApplyOutcome::FilesNotSaved, doc, Numbered), UnusableNameText(*unusable, Numbered));
    EXPECT_NE(ApplyStatusText(ApplyOutcome::FilesNotSaved, doc, Numbered), Numbered(IDS_STATUS_NOT_SAVED));
    EXPECT_EQ(ApplyStatusText(ApplyOutcome::HostBusy, doc, Numbered), Numbered(IDS_STATUS_HOST_BUSY));
}

TEST(StatusTexts, ATakeOverTellsTheFirstEditItDroppedAndNothingWhenItKeptThemAll)
{
    const auto text = [](uint32_t id) { return std::to_string(id) + " {slot}/{key}"; };
    EXPECT_FALSE(TakeOverText(TakeOver{}, text));
    TakeOver takeOver;
    takeOver.dropped.push_back({DroppedEdit::What::Key, 2, 3});
    takeOver.dropped.push_back({DroppedEdit::What::Slot, 4, 0});
    EXPECT_EQ(TakeOverText(takeOver, text), std::to_string(IDS_STATUS_DROPPED_KEY) + " 2/3");
}

} // namespace
