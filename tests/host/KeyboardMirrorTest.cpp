#include "DeviceLink.h"
#include "Fakes.h"
#include "KeyboardMirror.h"
#include "KeyboardModel.h"
#include "ProfileStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

// A push after the pull at arrival, with the simulated keyboard as the driver, in virtual time: what
// reaches the keyboard is what differs from its memory, and what the host cannot be sure of.
struct PushAfterPullTest : ::testing::Test {
    FakeClock clock;
    KeyboardModel keyboard{&clock};
    DeviceLink link{keyboard, clock, 0x1234};
    GuardedProfileSet profiles;
    std::unique_ptr<ProfileSet> set = std::make_unique<ProfileSet>();

    void SetUp() override
    {
        ASSERT_TRUE(link.Open());
        SetDefaultProfiles(*set);
        profiles.Replace(*set);
        ASSERT_TRUE(link.PullInto(profiles));
        *set = profiles.Copy();
        keyboard.ClearCallLog();
    }

    // Pushes the set; the calls that reached the keyboard.
    std::vector<KeyboardModel::LoggedCall> Push()
    {
        keyboard.ClearCallLog();
        const int made = link.Push(*set);
        auto log = keyboard.CallLog();
        EXPECT_EQ(made, static_cast<int>(log.size()));
        return log;
    }
    ButtonInfo& Key(int profile, int key) { return set->Profiles[profile - 1].Buttons[key - 1]; }
    KeySequence Encoded(int profile, int key)
    {
        KeySequence sequence{};
        EncodeKeySequence(Key(profile, key), sequence.data());
        return sequence;
    }
};

void MakeShortcut(ButtonInfo& b, uint8_t usage, bool ctrl)
{
    std::memset(&b, 0, sizeof b);
    b.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    b.ShortcutKey = usage;
    b.ShortcutFlags[kFlagCtrl] = ctrl;
}

void MakeMacro(ButtonInfo& b, uint8_t usage)
{
    std::memset(&b, 0, sizeof b);
    b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    b.MacroEventCount = 1;
    b.MacroEvents[0] = {usage, 0, 10};
}

TEST_F(PushAfterPullTest, OnlyWhatDiffersFromTheKeyboardsMemoryIsSent)
{
    const int64_t before = clock.NowUs();
    EXPECT_TRUE(Push().empty()) << "the set as pulled";
    EXPECT_EQ(clock.NowUs(), before) << "no transfer, no pause";

    MakeShortcut(Key(4, 3), 0x04, true); // Ctrl+A on key 3 of profile 4
    auto log = Push();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_KEY);
    EXPECT_EQ(log[0].request[1], 4);
    EXPECT_EQ(log[0].request[2], 3);
    EXPECT_EQ(keyboard.StoredSequence(4, 3), Encoded(4, 3));
    EXPECT_TRUE(Push().empty()) << "the keyboard holds it now";

    set->CurrentProfile = 5;
    log = Push();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_PROFILE);
    EXPECT_EQ(keyboard.CurrentProfile(), 5);

    // A macro key's sequence on the keyboard is empty: giving key 1 a macro clears its shortcut
    // once; another macro on it sends nothing.
    MakeMacro(Key(2, 1), 0x04);
    log = Push();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(keyboard.StoredSequence(2, 1), KeySequence{});
    MakeMacro(Key(2, 1), 0x05);
    Key(2, 1).MacroLoop = 1;
    EXPECT_TRUE(Push().empty());

    // The Mode and the switches come from the current profile: one transfer each.
    set->Profiles[4].Mode = KeyboardMode::NumLockOn;
    set->Profiles[4].KeyFlags[2] = KeySwitch::Off;
    log = Push();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_MODE);
    EXPECT_EQ(log[1].code, IOCTL_FLT_SET_KEY_SWITCH);
    EXPECT_EQ(log[1].timeMs - log[0].timeMs, 100);
    EXPECT_EQ(keyboard.Mode(), 0);
    EXPECT_EQ(keyboard.KeySwitch(), 0x04);

    // Two keys 23 places apart wait for none of the keys between: only the rest after the first
    // profile's last key, 200 ms in all.
    MakeShortcut(Key(1, 1), 0x10, false);
    MakeShortcut(Key(5, 5), 0x11, true);
    log = Push();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].timeMs - log[0].timeMs, 200);
    EXPECT_EQ(keyboard.StoredSequence(1, 1), Encoded(1, 1));
    EXPECT_EQ(keyboard.StoredSequence(5, 5), Encoded(5, 5));
}

TEST_F(PushAfterPullTest, AFailedTransferIsSentAgainByTheNextPush)
{
    MakeShortcut(Key(3, 2), 0x1D, true);
    MakeShortcut(Key(3, 4), 0x1E, false);
    keyboard.SetFailing(IOCTL_FLT_SET_KEY, true);
    auto log = Push();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_FALSE(log[0].succeeded || log[1].succeeded);
    EXPECT_FALSE(link.Known().Key(3, 2)) << "a failed write leaves the key unknown";

    keyboard.SetFailing(IOCTL_FLT_SET_KEY, false);
    log = Push();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(keyboard.StoredSequence(3, 2), Encoded(3, 2));
    EXPECT_EQ(keyboard.StoredSequence(3, 4), Encoded(3, 4));
    EXPECT_TRUE(Push().empty());

    // A failed slot write is retried too, whatever the keyboard did with it.
    set->CurrentProfile = 2;
    keyboard.SetFailing(IOCTL_FLT_SET_PROFILE, true);
    EXPECT_EQ(Push().size(), 1u);
    keyboard.SetFailing(IOCTL_FLT_SET_PROFILE, false);
    EXPECT_EQ(Push().size(), 1u);
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    EXPECT_TRUE(Push().empty());
}

TEST_F(PushAfterPullTest, WhatAPullCouldNotReadIsWrittenByTheNextPush)
{
    // The Mode read fails: only the Mode is unknown.
    keyboard.SetFailing(IOCTL_FLT_GET_MODE, true);
    EXPECT_FALSE(link.PullInto(profiles));
    keyboard.SetFailing(IOCTL_FLT_GET_MODE, false);
    auto log = Push();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_MODE);

    // Every key read fails: the 25 keys are unknown, the rest is known.
    keyboard.SetFailing(IOCTL_FLT_GET_KEY, true);
    EXPECT_TRUE(link.PullInto(profiles));
    keyboard.SetFailing(IOCTL_FLT_GET_KEY, false);
    log = Push();
    ASSERT_EQ(log.size(), 25u);
    for (const auto& call : log)
        EXPECT_EQ(call.code, IOCTL_FLT_SET_KEY);
}

TEST_F(PushAfterPullTest, AForgottenOrReopenedKeyboardIsWrittenWhole)
{
    link.ForgetKeyboardMemory();
    EXPECT_EQ(Push().size(), 28u);
    EXPECT_TRUE(Push().empty());

    link.Close();
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(Push().size(), 28u) << "a new handle knows nothing of the keyboard until it pulls";

    link.ForgetMode();
    auto log = Push();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_MODE);
}

TEST_F(PushAfterPullTest, APushStopsWhenTheKeyboardsMemoryIsForgottenMeanwhile)
{
    for (int p = 1; p <= kProfileCount; ++p)
        MakeShortcut(Key(p, 1), 0x04, p % 2 == 0);
    int sleeps = 0;
    clock.onSleep = [&](int64_t) {
        if (++sleeps == 2)
            link.ForgetKeyboardMemory(); // a removal read by the read thread between two transfers
    };
    const auto log = Push();
    clock.onSleep = nullptr;
    EXPECT_EQ(log.size(), 2u) << "the transfer after the removal is not made";
    const KeyboardMirror known = link.Known();
    for (int p = 1; p <= kProfileCount; ++p)
        EXPECT_FALSE(known.Key(p, 1)) << "a write made before the removal is not remembered after it";
    EXPECT_FALSE(known.Profile());
}

TEST(KeyboardMirror, AnUnknownMemoryNeedsAFullPushInOrderAndASetWithoutSlotSelectsNone)
{
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->CurrentProfile = -1;
    set->Profiles[0].Mode = KeyboardMode::NumLockOn;
    set->Profiles[0].KeyFlags[4] = KeySwitch::Off;
    KeyboardMirror mirror;
    const auto transfers = mirror.TransfersFor(*set);
    ASSERT_EQ(transfers.size(), 27u) << "no slot to select";
    EXPECT_EQ(transfers[0].code, IOCTL_FLT_SET_MODE);
    EXPECT_EQ(transfers[0].request[1], 0) << "the first profile stands for all";
    EXPECT_EQ(transfers[26].code, IOCTL_FLT_SET_KEY_SWITCH);
    EXPECT_EQ(transfers[26].request[1], 0x10);

    for (const DeviceTransfer& t : transfers)
        mirror.Record(t, true);
    EXPECT_TRUE(mirror.TransfersFor(*set).empty());
    EXPECT_EQ(mirror.Mode(), 0);
    EXPECT_EQ(mirror.Switches(), 0x10);
    mirror.Record(transfers[5], false);
    ASSERT_EQ(mirror.TransfersFor(*set).size(), 1u);
    EXPECT_EQ(mirror.TransfersFor(*set)[0].request[2], transfers[5].request[2]);
    mirror.Forget();
    EXPECT_EQ(mirror.TransfersFor(*set).size(), 27u);
}

} // namespace
