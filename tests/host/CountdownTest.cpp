#include "Countdown.h"
#include "Fakes.h"
#include "HostConstants.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Names = std::vector<std::string>;

class CountdownTest : public ::testing::Test {
protected:
    // The sounds played so far by file name; "purge" for the call that stops what plays.
    Names Sounds() const
    {
        Names out;
        for (const auto& s : sound.sounds)
            if (s.path.empty() && s.flags == SoundPlayer::kPurge)
                out.push_back("purge");
            else if (s.path.rfind("C:\\Tolk\\Wav\\", 0) == 0 && s.flags == SoundPlayer::kFileAsyncNoWait)
                out.push_back(s.path.substr(12));
            else
                out.push_back("bad call " + s.path);
        return out;
    }
    // The tick at which the countdown ends (0: not within the limit).
    int TicksToEnd()
    {
        for (int i = 1; i <= 100; ++i) {
            EXPECT_TRUE(timers.IsSet(kCountdownTimerId));
            countdown.CountdownTick();
            if (!countdown.Running())
                return i;
        }
        return 0;
    }

    FakeWindowTimers timers;
    FakeSoundPlayer sound;
    Countdown countdown{timers, sound, "C:\\Tolk\\"};
};

TEST_F(CountdownTest, LastTenCueAndEndByLength)
{
    countdown.StartCountdown(10); // the start cue is cut off at once
    EXPECT_EQ(timers.active, (std::map<uint32_t, uint32_t>{{kCountdownTimerId, 1000}}));
    EXPECT_EQ(Sounds(), (Names{"Countdown_Activated.wav", "Countdown.wav"}));
    EXPECT_EQ(TicksToEnd(), 10);
    EXPECT_EQ(Sounds().size(), 2u) << "the end itself is silent";

    countdown.StartCountdown(11);
    countdown.CountdownTick();
    EXPECT_EQ(Sounds().back(), "Countdown.wav");
    EXPECT_EQ(Sounds().size(), 4u);
    EXPECT_EQ(TicksToEnd(), 10) << "ends at the eleventh tick";

    sound.sounds.clear();
    countdown.StartCountdown(5);
    EXPECT_EQ(TicksToEnd(), 5);
    for (int32_t length : {0, -5, -2147483647 - 1}) {
        countdown.StartCountdown(length);
        EXPECT_EQ(TicksToEnd(), 1) << length;
    }
    EXPECT_EQ(Sounds(), Names(4, "Countdown_Activated.wav"));
    EXPECT_FALSE(timers.IsSet(kCountdownTimerId));
}

TEST_F(CountdownTest, StopPurgesAndPlaysTheStopCueOnlyWhenRunning)
{
    countdown.StopCountdown();
    EXPECT_TRUE(sound.sounds.empty());
    countdown.StartCountdown(12);
    countdown.CountdownTick(); // 11 left
    countdown.StopCountdown();
    countdown.StopCountdown();
    countdown.CountdownTick(); // queued before the timer died: must not play the last-ten cue
    EXPECT_EQ(Sounds(), (Names{"Countdown_Activated.wav", "purge", "Countdown_stopped.wav"}));
    EXPECT_EQ(timers.log, (Names{"set 600 1000", "kill 600"}));
}

TEST_F(CountdownTest, StartWhileRunningRestartsWithoutTheStopCue)
{
    countdown.StartCountdown(60);
    countdown.StartCountdown(3);
    EXPECT_EQ(timers.log, (Names{"set 600 1000", "kill 600", "set 600 1000"}));
    EXPECT_EQ(Sounds(), Names(2, "Countdown_Activated.wav"));
    EXPECT_EQ(TicksToEnd(), 3);
}

TEST_F(CountdownTest, StartAndStopOnTheReadThreadInterleaveWholeWithTicks)
{
    std::thread reader([&] {
        for (int i = 0; i < 2000; ++i) {
            countdown.StartCountdown(3);
            countdown.StopCountdown();
        }
    });
    for (int i = 0; i < 2000; ++i)
        countdown.CountdownTick();
    reader.join();
    EXPECT_FALSE(countdown.Running());
    for (size_t i = 0; i < timers.log.size(); ++i)
        ASSERT_EQ(timers.log[i], i % 2 == 0 ? "set 600 1000" : "kill 600") << "entry " << i;
}

} // namespace
