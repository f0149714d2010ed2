#include "DeviceProtocol.h"
#include "Fakes.h"
#include "HostConstants.h"
#include "HostCore.h"
#include "IniFile.h"
#include "KeyboardModel.h"
#include "ProfileStore.h"
#include "TempFolder.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

struct HostTest : ::testing::Test {
    TempFolder dir;
    FakeClock clock;
    KeyboardModel keyboard{&clock};
    RecordingInputSink input{clock};
    FakeSharedBlock shared;
    FakeDesktopWindows desktop{clock};
    FakeSystemSettings settings;
    FakeProgramLauncher launcher;
    FakeNotificationArea trayArea;
    FakeSoundPlayer sound;
    FakeForegroundProcess foreground;
    FakeWindowTimers timers;
    HostState state;
    std::unique_ptr<HostCore> host;

    void SetUp() override
    {
        state.programFolder = dir.Path();
        ProfileSet set;
        ClearProfileSet(set);
        LoadProfileSet(set, dir.Path());
        state.profiles.Replace(set);
        host = std::make_unique<HostCore>(HostPorts{clock, keyboard, input, UsKeyboardLayout(), shared, desktop,
                                                    settings, launcher, trayArea, sound, foreground, timers},
                                          state, 0x1234);
    }

    void Edit(const std::function<void(ProfileSet&)>& f) { state.profiles.With(f); }
    std::vector<KeyboardModel::LoggedCall> Calls(uint32_t code)
    {
        std::vector<KeyboardModel::LoggedCall> out;
        for (const auto& c : keyboard.CallLog())
            if (c.code == code)
                out.push_back(c);
        return out;
    }
    WindowId OpenConfigWindow() { return desktop.AddWindow("#32770", kConfigWindowTitle); }
    // The keyboard present and read, as after start-up.
    void OpenAndPull()
    {
        ASSERT_TRUE(host->OpenDevice());
        host->OpenSequence();
        keyboard.ClearCallLog();
    }
    // The configuration program's apply of the host's set as edit changes it.
    void Apply(const std::function<void(ProfileSet&)>& edit)
    {
        auto set = std::make_unique<ProfileSet>(state.profiles.Copy());
        edit(*set);
        shared.Write(*set);
        host->OnHostApply();
    }
    // The calls on the keyboard's memory (event reads left out).
    std::vector<KeyboardModel::LoggedCall> MemoryCalls()
    {
        std::vector<KeyboardModel::LoggedCall> out;
        for (const auto& c : keyboard.CallLog())
            if (c.code != IOCTL_FLT_READ_EVENT)
                out.push_back(c);
        return out;
    }
    // The events the keyboard queued, read and handled as the read thread does.
    void ReadEvents()
    {
        while (keyboard.PendingEvents() > 0)
            host->ReadAndHandleEvent();
    }
    // Key 1 of slot 1 plays a macro that presses left Shift and A, then waits a minute: a key event
    // during that wait finds both keys held.
    void HoldShiftAndAOnKey1()
    {
        Edit([](ProfileSet& set) {
            set.CurrentProfile = 1;
            ButtonInfo& b = set.Profiles[0].Buttons[0];
            b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
            b.MacroLoop = 1;
            b.MacroEventCount = 2;
            b.MacroEvents[0] = {0xE1, 0, 10};
            b.MacroEvents[1] = {0x04, 0, 60000};
        });
    }
};

ButtonInfo Shortcut(int key, uint8_t usage, bool shift, bool ctrl, bool win, bool alt)
{
    ButtonInfo b{};
    b.KeyNumber = static_cast<uint8_t>(key);
    b.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    b.ShortcutKey = usage;
    b.ShortcutFlags[kFlagShift] = shift;
    b.ShortcutFlags[kFlagCtrl] = ctrl;
    b.ShortcutFlags[kFlagWin] = win;
    b.ShortcutFlags[kFlagAlt] = alt;
    return b;
}

TEST_F(HostTest, OpenRegistersTheSemaphoreAndStartsTheGameWatch)
{
    ASSERT_TRUE(host->OpenDevice());
    EXPECT_EQ(keyboard.RegisteredHandle(), 0x1234u);
    EXPECT_TRUE(timers.IsSet(kGameWatchTimerId));
    EXPECT_TRUE(host->Link().IsOpen() && state.deviceConnected);

    host->CloseDevice();
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_FALSE(host->Link().IsOpen() || state.deviceConnected);

    timers.Kill(kGameWatchTimerId);
    keyboard.SetFailing(IOCTL_FLT_REGISTER_EVENT, true);
    EXPECT_FALSE(host->OpenDevice());
    EXPECT_FALSE(timers.IsSet(kGameWatchTimerId)) << "no game watch without the keyboard";
    EXPECT_FALSE(host->Link().IsOpen() || state.deviceConnected);
}

TEST_F(HostTest, PushThenPullGivesBackShortcutsAndMediaAndKeepsHostOnlyKeys)
{
    ASSERT_TRUE(host->OpenDevice());
    Edit([](ProfileSet& set) {
        set.CurrentProfile = 2;
        for (int p = 0; p < kProfileCount; ++p) {
            Profile& pr = set.Profiles[p];
            pr.Mode = KeyboardMode::NumLockOn;
            pr.KeyFlags[1] = KeySwitch::Off;
            pr.KeyFlags[4] = KeySwitch::Off;
            pr.Buttons[0] = Shortcut(1, static_cast<uint8_t>(0x04 + p), true, false, false, true);
            pr.Buttons[1] = Shortcut(2, 0x4C, false, true, false, true); // Ctrl+Alt+Delete
            pr.Buttons[2] = ButtonInfo{};
            pr.Buttons[2].FunctionCode = static_cast<uint8_t>(KeyFunction::VolumeUp);
            pr.Buttons[3] = ButtonInfo{};
            pr.Buttons[3].FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
            pr.Buttons[3].MacroEventCount = 1;
            pr.Buttons[3].MacroEvents[0] = {0x04, 0, 10};
            pr.Buttons[4] = ButtonInfo{};
            pr.Buttons[4].FunctionCode = static_cast<uint8_t>(p % 2 ? KeyFunction::Timer : KeyFunction::WwwHome);
            pr.Buttons[4].TimerSeconds = 30;
        }
    });
    const ProfileSet pushed = state.profiles.Copy();
    host->PushToDevice();
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    EXPECT_EQ(keyboard.Mode(), 0);
    EXPECT_EQ(keyboard.KeySwitch(), 0x12);

    // Forget everything the keyboard keeps, then read it back.
    Edit([](ProfileSet& set) {
        set.CurrentProfile = 5;
        for (Profile& p : set.Profiles) {
            p.Mode = KeyboardMode::NumLockOff;
            std::memset(p.KeyFlags, 0, sizeof p.KeyFlags);
            for (int k = 0; k < 3; ++k)
                p.Buttons[k] = ButtonInfo{};
        }
    });
    ASSERT_TRUE(host->PullAllFromDevice());
    const ProfileSet pulled = state.profiles.Copy();
    EXPECT_EQ(pulled.CurrentProfile, 2);
    for (int p = 0; p < kProfileCount; ++p) {
        SCOPED_TRACE("profile " + std::to_string(p + 1));
        const Profile& a = pushed.Profiles[p];
        const Profile& b = pulled.Profiles[p];
        EXPECT_EQ(b.Mode, KeyboardMode::NumLockOn);
        EXPECT_EQ(std::memcmp(a.KeyFlags, b.KeyFlags, sizeof a.KeyFlags), 0);
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(b.Buttons[k].FunctionCode, 5);
            EXPECT_EQ(b.Buttons[k].ShortcutKey, a.Buttons[k].ShortcutKey);
            EXPECT_EQ(std::memcmp(b.Buttons[k].ShortcutFlags + 1, a.Buttons[k].ShortcutFlags + 1, 4), 0);
        }
        EXPECT_EQ(b.Buttons[2].FunctionCode, static_cast<uint8_t>(KeyFunction::VolumeUp));
        EXPECT_EQ(std::memcmp(&b.Buttons[3], &a.Buttons[3], sizeof(ButtonInfo)), 0) << "macro key untouched";
        EXPECT_EQ(std::memcmp(&b.Buttons[4], &a.Buttons[4], sizeof(ButtonInfo)), 0) << "timer/web key untouched";
    }
    // The pull is saved and shared.
    EXPECT_EQ(std::memcmp(&shared.block, &pulled, sizeof pulled), 0);
    ProfileSet onDisk;
    ClearProfileSet(onDisk);
    LoadProfileSet(onDisk, dir.Path());
    EXPECT_EQ(onDisk.CurrentProfile, 2);
    EXPECT_EQ(std::memcmp(onDisk.Profiles[1].Buttons, pulled.Profiles[1].Buttons, sizeof(ButtonInfo) * 5), 0);
}

TEST_F(HostTest, AFailedModeReadSavesNothing)
{
    ASSERT_TRUE(host->OpenDevice());
    keyboard.SetFailing(IOCTL_FLT_GET_MODE, true);
    int writes = shared.writes;
    EXPECT_FALSE(host->PullAllFromDevice());
    EXPECT_EQ(shared.writes, writes);
    EXPECT_EQ(ReadBytes(dir / "config.ini").find("CurrentProfile"), std::string::npos);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "FWVersion", -1), 128)
        << "the firmware is recorded all the same";
}

TEST_F(HostTest, ArrivalAndRemovalHappenOnceAndDuplicatesDoNothing)
{
    WindowId cfg = OpenConfigWindow();
    ASSERT_TRUE(host->OpenDevice());
    keyboard.Remove();
    host->ReadAndHandleEvent();
    EXPECT_FALSE(state.deviceConnected);
    EXPECT_FALSE(timers.IsSet(kGameWatchTimerId));
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 0);
    host->OnDeviceEvent(0x70000002); // removed again: nothing
    EXPECT_EQ(trayArea.trayRemoves, 0) << "no icon was shown, none is removed";

    keyboard.Arrive();
    int64_t before = clock.NowMs();
    host->ReadAndHandleEvent();
    EXPECT_TRUE(state.deviceConnected);
    EXPECT_GE(clock.NowMs() - before, 1500 + 3200);
    EXPECT_TRUE(timers.IsSet(kGameWatchTimerId));
    EXPECT_EQ(trayArea.trayAdds, 1);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 1);
    ASSERT_EQ(desktop.MessagesTo(kConfigWindowTitle).size(), 1u);
    EXPECT_EQ(desktop.MessagesTo(kConfigWindowTitle)[0].message, WM_CFG_DEVICE_READY);
    (void)cfg;

    keyboard.ClearCallLog();
    host->OnDeviceEvent(0x70000001); // arrived again: nothing
    EXPECT_TRUE(keyboard.CallLog().empty());
    EXPECT_EQ(trayArea.trayAdds, 1);

    keyboard.Remove();
    host->ReadAndHandleEvent();
    keyboard.Arrive();
    host->ReadAndHandleEvent();
    EXPECT_EQ(trayArea.trayAdds - trayArea.trayRemoves, 1) << "exactly one tray icon";
}

TEST_F(HostTest, DeviceChangeAndSessionEntryPoints)
{
    keyboard.Remove();
    EXPECT_TRUE(host->OnDeviceChange());
    EXPECT_FALSE(host->Link().IsOpen()) << "no keyboard, nothing opened";
    keyboard.Arrive();
    EXPECT_TRUE(host->OnDeviceChange());
    EXPECT_TRUE(host->Link().IsOpen());
    keyboard.ClearCallLog();
    EXPECT_TRUE(host->OnDeviceChange());
    EXPECT_TRUE(keyboard.CallLog().empty()) << "already open: nothing";

    host->OnSessionChange(2);
    EXPECT_FALSE(host->Link().IsOpen());
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 0);
    host->OnSessionChange(1);
    EXPECT_TRUE(host->Link().IsOpen());
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 1);
    keyboard.ClearCallLog();
    host->OnSessionChange(1);
    EXPECT_TRUE(Calls(IOCTL_FLT_REGISTER_EVENT).empty()) << "a connect never opens a second handle";
}

TEST_F(HostTest, KeyEventsReachDispatchOnlyForKeysOneToFive)
{
    Edit([](ProfileSet& set) {
        set.CurrentProfile = 1;
        set.Profiles[0].Buttons[2].FunctionCode = static_cast<uint8_t>(KeyFunction::WwwHome);
    });
    host->OnDeviceEvent(0xF0000002); // key 3 pressed
    EXPECT_EQ(input.Events().size(), 2u);
    host->OnDeviceEvent(0xF0000102); // key 3 released: web keys act on press only
    host->OnDeviceEvent(0xF0000108); // neither a key nor the Mode switch
    host->OnDeviceEvent(0xF0000005);
    host->OnDeviceEvent(0xF00000FF);
    host->OnDeviceEvent(0xA0000002);
    host->OnDeviceEvent(0xE0000002);
    EXPECT_EQ(input.Events().size(), 2u);

    Edit([](ProfileSet& set) { set.CurrentProfile = -1; });
    host->OnDeviceEvent(0xF0000002);
    EXPECT_EQ(input.Events().size(), 2u) << "no current profile, no key";

    Edit([](ProfileSet& set) { set.CurrentProfile = 1; });
    state.quit = true;
    host->OnDeviceEvent(0xF0000002);
    EXPECT_EQ(input.Events().size(), 2u) << "nothing is dispatched while shutting down";
}

TEST_F(HostTest, NumLockFollowsTheMode)
{
    Edit([](ProfileSet& set) { set.CurrentProfile = 1; });
    input.numLock = true;
    WindowId cfg = OpenConfigWindow();
    host->OnDeviceEvent(0xF0000009); // Mode 1: NumLock off
    EXPECT_FALSE(input.numLock);
    host->OnDeviceEvent(0xF0000009);
    EXPECT_FALSE(input.numLock) << "a second Mode 1 leaves it off";
    host->OnDeviceEvent(0xF0000008);
    EXPECT_TRUE(input.numLock);
    EXPECT_EQ(shared.block.Profiles[4].Mode, KeyboardMode::NumLockOn)
        << "every profile takes the Mode, and the block is shared";
    auto msgs = desktop.MessagesTo(kConfigWindowTitle);
    ASSERT_EQ(msgs.size(), 3u);
    EXPECT_EQ(msgs[0].message, WM_CFG_DATA_CHANGED);
    EXPECT_EQ(msgs[0].window, cfg);

    Edit([](ProfileSet& set) { set.Profiles[0].Mode = KeyboardMode::Unknown; });
    size_t keys = input.Events().size();
    host->SyncNumLock();
    input.numLock = false;
    host->SyncNumLock();
    EXPECT_EQ(input.Events().size(), keys) << "an unread Mode never touches NumLock";
}

TEST_F(HostTest, ResetRestoresDefaultsAndAnnouncesDeviceReady)
{
    ASSERT_TRUE(host->OpenDevice());
    OpenConfigWindow();
    Edit([](ProfileSet& set) {
        set.CurrentProfile = 4;
        CopyToField(set.Profiles[0].Name, "Mine");
    });
    keyboard.ClearCallLog();
    host->OnDeviceEvent(0xB0000000);
    EXPECT_TRUE(keyboard.CallLog().empty()) << "nothing is sent to the keyboard";
    EXPECT_EQ(state.profiles.CurrentProfile(), 1);
    EXPECT_EQ(shared.block.CurrentProfile, 1);
    EXPECT_STREQ(shared.block.Profiles[0].Name, "Default0");
    auto msgs = desktop.MessagesTo(kConfigWindowTitle);
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].message, WM_CFG_DEVICE_READY);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadString("FileName", "Profile1", ""), "Default0");
}

TEST_F(HostTest, GameWatchSwitchesProfileOnKeyboardBlockAndConfiguration)
{
    ASSERT_TRUE(host->OpenDevice());
    OpenConfigWindow();
    Edit([](ProfileSet& set) {
        set.CurrentProfile = 1;
        CopyToField(set.Profiles[3].GameFile1, "  C:\\Games\\Raid.EXE ");
    });
    foreground.name = "raid.exe";
    keyboard.ClearCallLog();
    host->OnTimer(kGameWatchTimerId);
    EXPECT_EQ(state.profiles.CurrentProfile(), 4);
    EXPECT_EQ(shared.block.CurrentProfile, 4);
    EXPECT_TRUE(keyboard.CallLog().empty()) << "the keyboard is switched by the device worker";
    ASSERT_TRUE(host->Pushes().RunPending());
    EXPECT_EQ(keyboard.CurrentProfile(), 4);
    ASSERT_EQ(desktop.MessagesTo(kConfigWindowTitle).size(), 1u);
    EXPECT_EQ(desktop.MessagesTo(kConfigWindowTitle)[0].message, WM_CFG_DATA_CHANGED);

    foreground.name = "explorer.exe"; // leaving the game keeps its profile
    host->OnTimer(kGameWatchTimerId);
    EXPECT_EQ(state.profiles.CurrentProfile(), 4);
}

TEST_F(HostTest, ApplyNeverTrustsTheSharedBlock)
{
    ASSERT_TRUE(host->OpenDevice());
    Edit([](ProfileSet& set) { set.CurrentProfile = 2; });
    SetDefaultProfiles(shared.block);
    shared.block.CurrentProfile = 77;
    shared.block.Profiles[0].Buttons[0].MacroEventCount = 60000;
    std::memset(shared.block.Profiles[0].Name, 'x', sizeof shared.block.Profiles[0].Name);
    std::memset(shared.block.Profiles[1].Buttons[1].TimerName, 'y', 100);
    host->OnHostApply();
    ASSERT_TRUE(host->Pushes().RunPending());
    ProfileSet now = state.profiles.Copy();
    EXPECT_EQ(now.CurrentProfile, 2);
    EXPECT_EQ(now.Profiles[0].Buttons[0].MacroEventCount, 512);
    EXPECT_EQ(std::strlen(now.Profiles[0].Name), 249u);
    EXPECT_EQ(std::strlen(now.Profiles[1].Buttons[1].TimerName), 99u);
    EXPECT_EQ(keyboard.CurrentProfile(), 2);
    EXPECT_EQ(Calls(IOCTL_FLT_SET_KEY).size(), 25u);
}

TEST_F(HostTest, AnApplyAnswersAtOnceAndThePushSendsOnlyWhatChanged)
{
    OpenAndPull();
    Apply([](ProfileSet& set) { set.Profiles[0].Buttons[1] = Shortcut(2, 0x3E, false, true, false, false); });
    EXPECT_EQ(state.profiles.Copy().Profiles[0].Buttons[1].ShortcutKey, 0x3E) << "the set is the host's at once";
    EXPECT_TRUE(keyboard.CallLog().empty()) << "the answer does not wait for the keyboard";
    EXPECT_TRUE(host->Pushes().Busy());
    ASSERT_TRUE(host->Pushes().RunPending());
    auto log = keyboard.CallLog();
    ASSERT_EQ(log.size(), 1u) << "one shortcut changed in one profile: one key transfer";
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_KEY);
    EXPECT_EQ(log[0].request[1], 1);
    EXPECT_EQ(log[0].request[2], 2);
    EXPECT_FALSE(host->Pushes().Busy());

    // A macro key holds no sequence: a second macro on it reaches the keyboard no more than the first
    // one's events did.
    Apply([](ProfileSet& set) {
        ButtonInfo& b = set.Profiles[2].Buttons[4];
        b = ButtonInfo{};
        b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
        b.MacroEventCount = 1;
        b.MacroEvents[0] = {0x04, 0, 10};
    });
    keyboard.ClearCallLog();
    host->Pushes().RunPending();
    EXPECT_EQ(Calls(IOCTL_FLT_SET_KEY).size(), 1u) << "the default shortcut is cleared once";
    Apply([](ProfileSet& set) { set.Profiles[2].Buttons[4].MacroEvents[0] = {0x05, 0, 200}; });
    keyboard.ClearCallLog();
    host->Pushes().RunPending();
    EXPECT_TRUE(keyboard.CallLog().empty());

    Apply([](ProfileSet& set) { set.CurrentProfile = 3; });
    keyboard.ClearCallLog();
    host->Pushes().RunPending();
    ASSERT_EQ(keyboard.CallLog().size(), 1u);
    EXPECT_EQ(keyboard.CallLog()[0].code, IOCTL_FLT_SET_PROFILE);
    EXPECT_EQ(keyboard.CurrentProfile(), 3);
}

TEST_F(HostTest, AnApplyDuringAPushWaitsForItAndAnyNumberOfThemMakeOnePush)
{
    OpenAndPull();
    Apply([](ProfileSet& set) {
        for (int k = 0; k < kKeyCount; ++k)
            set.Profiles[0].Buttons[k] = Shortcut(k + 1, 0x04, true, false, false, false);
    });
    // While the first push paces its transfers, three more applies come.
    int sleeps = 0;
    clock.onSleep = [&](int64_t) {
        if (++sleeps == 2)
            for (uint8_t usage : {0x10, 0x11, 0x12})
                Apply([usage](ProfileSet& set) {
                    set.Profiles[4].Buttons[0] = Shortcut(1, usage, false, false, false, true);
                });
    };
    ASSERT_TRUE(host->Pushes().RunPending());
    clock.onSleep = nullptr;
    auto first = keyboard.CallLog();
    ASSERT_EQ(first.size(), 5u) << "the running push ends as it was decided";
    EXPECT_TRUE(host->Pushes().Busy()) << "the applies are not lost";
    keyboard.ClearCallLog();
    ASSERT_TRUE(host->Pushes().RunPending());
    auto second = keyboard.CallLog();
    ASSERT_EQ(second.size(), 1u) << "one push for the three applies, with the last one's set";
    EXPECT_EQ(second[0].request[1], 5);
    KeySequence last{};
    EncodeKeySequence(Shortcut(1, 0x12, false, false, false, true), last.data());
    EXPECT_EQ(keyboard.StoredSequence(5, 1), last);
    EXPECT_GE(second[0].timeMs - first.back().timeMs, 100) << "paced after the previous push too";
    EXPECT_FALSE(host->Pushes().RunPending());
}

TEST_F(HostTest, AfterAResetOrARemovalTheNextPushWritesEverything)
{
    OpenAndPull();
    keyboard.Reset();
    ReadEvents();
    EXPECT_TRUE(MemoryCalls().empty()) << "a reset sends nothing";
    Apply([](ProfileSet&) {});
    host->Pushes().RunPending();
    EXPECT_EQ(MemoryCalls().size(), 28u);

    keyboard.Remove();
    ReadEvents();
    const KeyboardMirror known = host->Link().Known();
    EXPECT_FALSE(known.Profile() || known.Mode() || known.Switches() || known.Key(1, 1));
    keyboard.Arrive();
    ReadEvents();
    keyboard.ClearCallLog();
    Apply([](ProfileSet&) {});
    host->Pushes().RunPending();
    EXPECT_TRUE(MemoryCalls().empty()) << "the arrival's pull read it all again";

    // The keyboard's own Mode switch: the next push writes the Mode, nothing else.
    keyboard.SetModeSwitch(0);
    ReadEvents();
    keyboard.ClearCallLog();
    Apply([](ProfileSet&) {});
    host->Pushes().RunPending();
    ASSERT_EQ(MemoryCalls().size(), 1u);
    EXPECT_EQ(MemoryCalls()[0].code, IOCTL_FLT_SET_MODE);
    EXPECT_EQ(keyboard.Mode(), 0);
}

// What the host knows of the keyboard's memory against the simulator's memory, after any mix of
// applies, failing calls, resets, removals, arrivals and Mode switches: nothing it knows is wrong,
// and once calls work again one push makes the keyboard hold exactly the host's set.
TEST_F(HostTest, TheKeyboardHoldsWhatTheHostKnowsAndAfterAPushTheHostsSet)
{
    const uint32_t memoryCodes[] = {IOCTL_FLT_SET_PROFILE,    IOCTL_FLT_SET_MODE,      IOCTL_FLT_SET_KEY,
                                    IOCTL_FLT_SET_KEY_SWITCH, IOCTL_FLT_GET_PROFILE,   IOCTL_FLT_GET_MODE,
                                    IOCTL_FLT_GET_KEY,        IOCTL_FLT_GET_KEY_SWITCH};
    auto expectKnownHeld = [&](const std::string& where) {
        const KeyboardMirror known = host->Link().Known();
        EXPECT_EQ(known.Profile().value_or(keyboard.CurrentProfile()), keyboard.CurrentProfile()) << where;
        EXPECT_EQ(known.Mode().value_or(keyboard.Mode()), keyboard.Mode()) << where;
        EXPECT_EQ(known.Switches().value_or(keyboard.KeySwitch()), keyboard.KeySwitch()) << where;
        for (int p = 1; p <= kProfileCount; ++p) {
            for (int k = 1; k <= kKeyCount; ++k) {
                const KeySequence held = keyboard.StoredSequence(p, k);
                EXPECT_EQ(known.Key(p, k).value_or(held), held) << where << " key " << p << "/" << k;
            }
        }
    };
    OpenAndPull();
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&rng](uint32_t n) { return static_cast<int>(rng() % n); };
        for (int step = 0; step < 40; ++step) {
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            switch (pick(10)) {
            case 0: keyboard.SetFailing(memoryCodes[pick(8)], pick(2) == 0); break;
            case 1: keyboard.Reset(); break;
            case 2: keyboard.Remove(); break;
            case 3: keyboard.Arrive(); break;
            case 4: keyboard.SetModeSwitch(pick(2)); break;
            default:
                Apply([&](ProfileSet& set) {
                    const int p = pick(kProfileCount);
                    const int k = pick(kKeyCount);
                    ButtonInfo& b = set.Profiles[p].Buttons[k];
                    switch (pick(6)) {
                    case 0:
                        b = Shortcut(k + 1, static_cast<uint8_t>(0x04 + pick(40)), pick(2), pick(2), 0, pick(2));
                        break;
                    case 1:
                        b = ButtonInfo{};
                        b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
                        break;
                    case 2:
                        b.FunctionCode = static_cast<uint8_t>(pick(2) ? KeyFunction::Mute : KeyFunction::VolumeUp);
                        break;
                    case 3: set.CurrentProfile = 1 + pick(kProfileCount); break;
                    case 4:
                        for (Profile& each : set.Profiles)
                            each.Mode = pick(2) ? KeyboardMode::NumLockOn : KeyboardMode::NumLockOff;
                        break;
                    default:
                        for (Profile& each : set.Profiles)
                            each.KeyFlags[k] = each.KeyFlags[k] == KeySwitch::On ? KeySwitch::Off : KeySwitch::On;
                    }
                });
                host->Pushes().RunPending();
            }
            ReadEvents();
            expectKnownHeld(where);
        }
        for (uint32_t code : memoryCodes)
            keyboard.SetFailing(code, false);
        if (!keyboard.IsPresent()) {
            keyboard.Arrive();
            ReadEvents();
        }
        Apply([](ProfileSet&) {});
        host->Pushes().RunPending();
        expectKnownHeld("seed " + std::to_string(seed) + " at the end");
        const ProfileSet set = state.profiles.Copy();
        const Profile& current = set.Profiles[set.CurrentProfile - 1];
        EXPECT_EQ(keyboard.CurrentProfile(), set.CurrentProfile) << seed;
        EXPECT_EQ(keyboard.Mode(), static_cast<uint8_t>(current.Mode)) << seed;
        EXPECT_EQ(keyboard.KeySwitch(), KeySwitchMask(current)) << seed;
        for (int p = 1; p <= kProfileCount; ++p)
            for (int k = 1; k <= kKeyCount; ++k) {
                KeySequence expected{};
                EncodeKeySequence(set.Profiles[p - 1].Buttons[k - 1], expected.data());
                EXPECT_EQ(keyboard.StoredSequence(p, k), expected) << "seed " << seed << " key " << p << "/" << k;
            }
    }
}

TEST_F(HostTest, TheDeviceWorkerPushesBesideTheCallerAndShutDownWaitsForItBeforeClosing)
{
    struct IdleReadThread : ReadThread {
        bool Start() override { return true; }
        void Wake() override {}
        bool WaitForEnd(uint32_t) override { return true; }
    } thread;
    ASSERT_TRUE(host->Start(thread)); // the device worker runs on its own thread from here
    for (uint8_t usage = 0x04; usage < 0x0C; ++usage)
        Apply([usage](ProfileSet& set) { set.Profiles[1].Buttons[3] = Shortcut(4, usage, true, false, false, false); });
    host->Pushes().WaitUntilIdle();
    KeySequence expected{};
    EncodeKeySequence(Shortcut(4, 0x0B, true, false, false, false), expected.data());
    EXPECT_EQ(keyboard.StoredSequence(2, 4), expected) << "the last apply reached the keyboard";

    Apply([](ProfileSet& set) { set.Profiles[4].Buttons[4] = Shortcut(5, 0x1D, false, false, true, false); });
    EXPECT_EQ(host->ShutDown(thread), ShutdownOutcome::Finished);
    EncodeKeySequence(Shortcut(5, 0x1D, false, false, true, false), expected.data());
    EXPECT_EQ(keyboard.StoredSequence(5, 5), expected) << "an apply just before shut-down is not lost";
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_FALSE(host->Pushes().Request()) << "no push after shut-down";
}

TEST_F(HostTest, TheStoredProfilesBecomeTheHostsAndTheConfigurationProgramsBeforeStartUp)
{
    auto stored = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*stored); // every slot needs a name of its own to be saved
    stored->CurrentProfile = 4;
    CopyToField(stored->Profiles[3].Name, sizeof stored->Profiles[3].Name, "Raid night");
    stored->Profiles[3].Buttons[2] = Shortcut(3, 0x06, false, true, false, false);
    ASSERT_TRUE(SaveProfileSet(*stored, dir.Path()));
    // Whatever the host held before (here an edited set) gives way to the files.
    Edit([](ProfileSet& set) { set.CurrentProfile = 1; });
    const int writesBefore = shared.writes;

    host->LoadAndShareProfileSet();

    const ProfileSet now = state.profiles.Copy();
    EXPECT_EQ(now.CurrentProfile, 4);
    EXPECT_STREQ(now.Profiles[3].Name, "Raid night");
    EXPECT_EQ(now.Profiles[3].Buttons[2].ShortcutKey, 0x06);
    EXPECT_EQ(shared.writes, writesBefore + 1);
    EXPECT_EQ(std::memcmp(&shared.block, &now, sizeof now), 0) << "the block holds exactly the host's set";

    // Without profile files the defaults are loaded and shared all the same.
    TempFolder empty;
    state.programFolder = empty.Path();
    host->LoadAndShareProfileSet();
    EXPECT_STREQ(state.profiles.Copy().Profiles[3].Name, "Default3");
    EXPECT_EQ(state.profiles.Copy().Profiles[3].Buttons[2].ShortcutKey, 0x4B) << "the default key";
    EXPECT_STREQ(shared.block.Profiles[3].Name, "Default3");
    EXPECT_EQ(shared.writes, writesBefore + 2);
}

TEST_F(HostTest, StartUpOpensTheConfigurationOnlyWithTheKeyboardAndNoUpdate)
{
    EnsureFolder(dir / "FWUpdate");
    WriteBytes(dir / "FWUpdate\\config.ini", "[Firmware]\r\ncurVersion=128\r\n");
    state.openConfigAtStart = true;
    host->StartUp();
    ASSERT_EQ(launcher.shellOpens.size(), 1u);
    EXPECT_NE(launcher.shellOpens[0].first.find("TolkCfg.exe"), std::string::npos);
    EXPECT_EQ(trayArea.trayAdds, 1);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 1);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "FWVersion", -1), 128);
}

TEST_F(HostTest, StartUpWithAnUpdateDueStartsTheUpdaterInstead)
{
    EnsureFolder(dir / "FWUpdate");
    WriteBytes(dir / "FWUpdate\\config.ini", "[Firmware]\r\ncurVersion=130\r\n");
    state.openConfigAtStart = true;
    host->StartUp();
    ASSERT_EQ(launcher.shellOpens.size(), 1u);
    EXPECT_NE(launcher.shellOpens[0].first.find("TolkUpdate.exe"), std::string::npos);
    EXPECT_EQ(launcher.shellOpens[0].second, "1");
    EXPECT_FALSE(state.openConfigAtStart);
}

TEST_F(HostTest, AtLogOnTheTrayIconComesOnceTheTaskbarRunsAndGoesWithTheKeyboard)
{
    trayArea.taskbarRuns = false;
    host->StartUp();
    EXPECT_FALSE(host->Tray().Shown());
    EXPECT_TRUE(timers.IsSet(kTrayRetryTimerId));
    host->OnTimer(kTrayRetryTimerId);
    EXPECT_FALSE(trayArea.holdsIcon);

    trayArea.RestartTaskbar();
    host->OnTimer(kTrayRetryTimerId);
    EXPECT_TRUE(trayArea.holdsIcon);
    EXPECT_FALSE(timers.IsSet(kTrayRetryTimerId));

    keyboard.Remove();
    host->ReadAndHandleEvent();
    EXPECT_FALSE(trayArea.holdsIcon);
    host->FinishShutdown();
    EXPECT_EQ(trayArea.trayRemoves, 1);
}

TEST_F(HostTest, StartUpWithoutTheKeyboard)
{
    keyboard.Remove();
    state.openConfigAtStart = true;
    host->StartUp();
    EXPECT_TRUE(launcher.shellOpens.empty());
    EXPECT_EQ(trayArea.trayAdds, 0);
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 0);
}

TEST_F(HostTest, ShutdownClosesTheOthersAndLeavesNoKeyPressed)
{
    host->Player().StartWorker();
    WindowId cfg = OpenConfigWindow();
    WindowId osd = desktop.AddWindow("OSD", kOsdWindowTitle);
    ASSERT_TRUE(host->OpenDevice());
    HoldShiftAndAOnKey1();
    host->DispatchKey(0);
    host->BeginShutdown();
    host->OnDeviceEvent(0xF0000000);
    host->FinishShutdown();
    EXPECT_TRUE(input.NothingHeld());
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_FALSE(timers.IsSet(kGameWatchTimerId));
    ASSERT_EQ(desktop.MessagesTo(kConfigWindowTitle).size(), 1u);
    EXPECT_EQ(desktop.MessagesTo(kConfigWindowTitle)[0].message, kWmClose);
    EXPECT_EQ(desktop.MessagesTo(kOsdWindowTitle)[0].message, kWmClose);
    (void)cfg;
    (void)osd;
}

// The read thread as the program runs it, seen from the core: what the host had done when each
// call came, and whether the thread ends in time.
struct RecordingReadThread : ReadThread {
    HostTest& t;
    explicit RecordingReadThread(HostTest& test) : t(test) {}
    bool startWorks = true;
    bool endsInTime = true;
    std::vector<std::string> calls;
    int sharedWritesAtStart = -1;
    bool deviceOpenAtStart = true;
    int64_t wakeUs = 0;
    int64_t waitUs = 0;
    uint32_t waitedMs = 0;
    bool Start() override
    {
        calls.push_back("start");
        sharedWritesAtStart = t.shared.writes;
        deviceOpenAtStart = t.keyboard.IsOpen();
        return startWorks;
    }
    void Wake() override
    {
        calls.push_back("wake");
        wakeUs = t.clock.NowUs();
    }
    bool WaitForEnd(uint32_t timeoutMs) override
    {
        calls.push_back("wait");
        waitUs = t.clock.NowUs();
        waitedMs = timeoutMs;
        return endsInTime;
    }
};

TEST_F(HostTest, StartSharesTheProfilesAndStartsTheReadThreadBeforeTheDeviceAndTheDisplayLast)
{
    RecordingReadThread thread(*this);
    ASSERT_TRUE(host->Start(thread));
    EXPECT_EQ(thread.calls, std::vector<std::string>({"start"}));
    EXPECT_GE(thread.sharedWritesAtStart, 1) << "the configuration program sees the stored set from the start";
    EXPECT_FALSE(thread.deviceOpenAtStart) << "no event of the open sequence may come before the thread runs";
    EXPECT_TRUE(keyboard.IsOpen());
    EXPECT_EQ(IniFile(dir / "config.ini").ReadInt("Setting", "Device", -1), 1);
    ASSERT_FALSE(launcher.shellOpens.empty());
    EXPECT_NE(launcher.shellOpens.back().first.find("osd.exe"), std::string::npos) << "the display comes last";
    host->ShutDown(thread);
}

TEST_F(HostTest, AHostWhoseReadThreadCannotStartOpensNothing)
{
    RecordingReadThread thread(*this);
    thread.startWorks = false;
    EXPECT_FALSE(host->Start(thread));
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_TRUE(launcher.shellOpens.empty());
    EXPECT_EQ(trayArea.trayAdds, 0);
}

TEST_F(HostTest, ShutDownWakesTheThreadGivesItTheGraceTimeThenClosesTheDevice)
{
    RecordingReadThread thread(*this);
    ASSERT_TRUE(host->Start(thread));
    const int64_t before = clock.NowUs();
    EXPECT_EQ(host->ShutDown(thread), ShutdownOutcome::Finished);
    EXPECT_EQ(thread.calls, std::vector<std::string>({"start", "wake", "wait"}));
    EXPECT_TRUE(state.quit.load()) << "the woken thread must see the host quitting";
    EXPECT_EQ(thread.wakeUs, before);
    EXPECT_EQ(thread.waitUs - thread.wakeUs, HostLifecycle::kShutdownGraceMs * 1000);
    EXPECT_EQ(thread.waitedMs, HostLifecycle::kReadThreadExitWaitMs) << "the wait is bounded";
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_FALSE(trayArea.holdsIcon);
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(HostTest, AReadThreadStuckInTheDriverLeavesTheDeviceOpenButNoKeyHeldAndNoIcon)
{
    RecordingReadThread thread(*this);
    ASSERT_TRUE(host->Start(thread));
    HoldShiftAndAOnKey1();
    host->DispatchKey(0);
    thread.endsInTime = false;
    EXPECT_EQ(host->ShutDown(thread), ShutdownOutcome::ReadThreadStuck);
    EXPECT_TRUE(keyboard.IsOpen()) << "closing would wait for the lock the stuck thread holds";
    EXPECT_TRUE(input.NothingHeld());
    EXPECT_FALSE(trayArea.holdsIcon);
}

TEST_F(HostTest, OsdHideEventHidesTheDisplay)
{
    host->OnDeviceEvent(0x00000000);
    EXPECT_TRUE(desktop.messages.empty()) << "no display window, nothing posted";
    desktop.AddWindow("OSDClass", kOsdWindowTitle);
    host->OnDeviceEvent(0x00000005);
    auto msgs = desktop.MessagesTo(kOsdWindowTitle);
    ASSERT_EQ(msgs.size(), 1u);
    EXPECT_EQ(msgs[0].message, WM_OSD_COMMAND);
    EXPECT_EQ(msgs[0].wParam, 20u);
}

} // namespace
