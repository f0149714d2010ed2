#include "Fakes.h"
#include "KeyDispatch.h"
#include "KeyboardLayout.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

// Dispatch with the players it reaches and only their ports, in virtual time.
struct KeyDispatchTest : ::testing::Test {
    TempFolder dir;
    FakeClock clock;
    RecordingInputSink input{clock};
    FakeDesktopWindows desktop{clock};
    FakeSystemSettings settings;
    FakeProgramLauncher launcher;
    FakeSoundPlayer sound;
    FakeWindowTimers timers;
    MacroPlayer player{clock, input, UsKeyboardLayout()};
    Countdown countdown{timers, sound, dir.Path()};
    MediaKeys media{desktop, settings, launcher, clock, input};
    ButtonInfo keys[kKeyCount] = {};
    int32_t mediaOption = 0;

    // The key keyIndex reported pressed or released.
    void Press(int keyIndex) { DispatchKey(keys[keyIndex], keyIndex, false, mediaOption, {player, countdown, media}); }
    void Release(int keyIndex) { DispatchKey(keys[keyIndex], keyIndex, true, mediaOption, {player, countdown, media}); }
};

TEST_F(KeyDispatchTest, EachFunctionRunsOnTheRightEdge)
{
    mediaOption = 3; // Winamp
    keys[0].FunctionCode = static_cast<uint8_t>(KeyFunction::Timer);
    keys[0].TimerSeconds = 42;
    keys[1].FunctionCode = static_cast<uint8_t>(KeyFunction::StopTimer);
    keys[2].FunctionCode = static_cast<uint8_t>(KeyFunction::PlayPause);
    keys[3].FunctionCode = static_cast<uint8_t>(KeyFunction::Mute);
    keys[4].FunctionCode = 12;
    WindowId winamp = desktop.AddWindow("Winamp v1.x", "Winamp");
    Release(0); // timer key released: nothing
    EXPECT_FALSE(countdown.Running());
    Press(0);
    EXPECT_TRUE(countdown.Running());
    EXPECT_EQ(countdown.Remaining(), 42);
    Press(1);
    EXPECT_FALSE(countdown.Running());

    Press(2);
    Release(2);
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].window, winamp);
    EXPECT_EQ(desktop.messages[0].wParam, 40045u);

    size_t before = desktop.messages.size() + input.Events().size() + sound.sounds.size();
    Press(3); // the keyboard mutes by itself
    Press(4); // unknown function
    EXPECT_EQ(desktop.messages.size() + input.Events().size() + sound.sounds.size(), before);
}

TEST_F(KeyDispatchTest, PlayPauseAndStopKeysActOnPressAndRelease)
{
    keys[0].FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    keys[0].MacroEventCount = 2;
    keys[0].MacroEvents[0] = {0x04, 0, 1000};
    keys[0].MacroEvents[1] = {0x04, 1, 10};
    keys[1].FunctionCode = static_cast<uint8_t>(KeyFunction::MacroPlayPause);
    Press(0);
    EXPECT_TRUE(player.Playing());
    Press(1); // press pauses
    EXPECT_TRUE(player.Paused());
    Release(1); // release resumes
    EXPECT_FALSE(player.Paused());
    player.RunPending();
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(KeyDispatchTest, ALoopingMacroEndsAfterItsPassWhenAnotherMacroKeyIsReleased)
{
    for (int k = 0; k < 2; ++k) {
        ButtonInfo& b = keys[k];
        b.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
        b.MacroLoop = k == 0 ? 1 : 0;
        b.MacroEventCount = 2;
        b.MacroEvents[0] = {static_cast<uint8_t>(0x04 + k), 0, 10};
        b.MacroEvents[1] = {static_cast<uint8_t>(0x04 + k), 1, 90};
    }
    Press(0); // its macro loops
    bool released = false;
    clock.onSleep = [&](int64_t deadline) {
        if (!released && deadline >= 250'000) {
            released = true;
            clock.Set(250'000);
            Release(1); // key 2 released during the third pass
        }
    };
    player.RunPending();
    std::vector<int64_t> times;
    for (const auto& e : input.Events()) {
        EXPECT_EQ(e.vk, 0x41) << "the release started nothing";
        times.push_back(e.timeUs / 1000);
    }
    EXPECT_EQ(times, (std::vector<int64_t>{0, 10, 100, 110, 200, 210})) << "three whole passes";
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(input.NothingHeld());
}

} // namespace
