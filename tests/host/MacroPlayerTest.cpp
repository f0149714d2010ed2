#include "Fakes.h"
#include "KeyTable.h"
#include "MacroPlayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

namespace {

constexpr uint8_t kA = 0x04, kB = 0x05, kLeftShift = 0xE1, kLeftCtrl = 0xE0;
constexpr uint8_t kVkA = 0x41, kVkB = 0x42, kVkShift = 0x10, kVkControl = 0x11;

ButtonInfo MacroKeyInfo(std::initializer_list<MacroEvent> events, bool loop = false)
{
    ButtonInfo info;
    std::memset(&info, 0, sizeof info);
    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    info.MacroLoop = loop ? 1 : 0;
    int i = 0;
    for (const MacroEvent& e : events)
        info.MacroEvents[i++] = e;
    info.MacroEventCount = static_cast<uint16_t>(i);
    return info;
}

struct PlayerTest : ::testing::Test {
    FakeClock clock;
    RecordingInputSink input{clock};
    MacroPlayer player{clock, input, UsKeyboardLayout()};

    // Times (ms) of the key events of vk, as "d" for down and "u" for up.
    std::vector<std::pair<int64_t, std::string>> KeyLog(uint8_t vk)
    {
        std::vector<std::pair<int64_t, std::string>> out;
        for (const auto& e : input.Events())
            if (!e.mouse && e.vk == vk)
                out.push_back({e.timeUs / 1000, (e.flags & InputSink::kKeyUp) ? "u" : "d"});
        return out;
    }
    // Runs action when the virtual clock reaches atMs during playback.
    void At(int64_t atMs, std::function<void()> action)
    {
        clock.onSleep = [this, atMs, action, done = false](int64_t deadline) mutable {
            if (!done && deadline >= atMs * 1000) {
                done = true;
                clock.Set(atMs * 1000);
                action();
            }
        };
    }
};

TEST_F(PlayerTest, PlaysKeysWithTheirDelaysAndAZeroDelayAsOneMillisecond)
{
    player.MacroKey(0, false, MacroKeyInfo({{kA, 0, 0}, {kA, 1, 20}, {kB, 0, 5}, {kB, 1, 0}}));
    EXPECT_TRUE(player.Playing());
    player.RunPending();
    using Log = std::vector<std::pair<int64_t, std::string>>;
    EXPECT_EQ(KeyLog(kVkA), (Log{{0, "d"}, {1, "u"}}));
    EXPECT_EQ(KeyLog(kVkB), (Log{{21, "d"}, {26, "u"}}));
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(input.NothingHeld());
    // Letters carry the scan code of the layout and no extended flag.
    for (const auto& e : input.Events()) {
        EXPECT_EQ(e.scan, e.vk == kVkA ? 0x1E : 0x30);
        EXPECT_FALSE(e.flags & InputSink::kExtendedKey);
    }
}

TEST_F(PlayerTest, ArrowsAndAltGrGoOutAsExtendedKeysOnBothEdges)
{
    constexpr uint8_t kLeftArrow = 0x50, kRightAlt = 0xE6, kLeftAlt = 0xE2, kKeypad4 = 0x5C;
    player.MacroKey(0, false,
                    MacroKeyInfo({{kLeftArrow, 0, 1},
                                  {kLeftArrow, 1, 1},
                                  {kRightAlt, 0, 1},
                                  {kRightAlt, 1, 1},
                                  {kLeftAlt, 0, 1},
                                  {kLeftAlt, 1, 1},
                                  {kKeypad4, 0, 1},
                                  {kKeypad4, 1, 1}}));
    player.RunPending();
    auto e = input.Events();
    ASSERT_EQ(e.size(), 8u);
    const uint32_t ext = InputSink::kExtendedKey, up = InputSink::kKeyUp;
    // vk, scan and flags as a program reading scan codes tells the keys apart.
    EXPECT_EQ(std::make_tuple(e[0].vk, e[0].scan, e[0].flags), std::make_tuple(uint8_t{0x25}, uint8_t{0x4B}, ext));
    EXPECT_EQ(std::make_tuple(e[1].vk, e[1].scan, e[1].flags), std::make_tuple(uint8_t{0x25}, uint8_t{0x4B}, ext | up));
    EXPECT_EQ(std::make_tuple(e[2].vk, e[2].scan, e[2].flags), std::make_tuple(uint8_t{0x12}, uint8_t{0x38}, ext));
    EXPECT_EQ(std::make_tuple(e[3].vk, e[3].scan, e[3].flags), std::make_tuple(uint8_t{0x12}, uint8_t{0x38}, ext | up));
    EXPECT_EQ(std::make_tuple(e[4].vk, e[4].scan, e[4].flags), std::make_tuple(uint8_t{0x12}, uint8_t{0x38}, 0u));
    EXPECT_EQ(std::make_tuple(e[5].vk, e[5].scan, e[5].flags), std::make_tuple(uint8_t{0x12}, uint8_t{0x38}, up));
    EXPECT_EQ(std::make_tuple(e[6].vk, e[6].scan, e[6].flags), std::make_tuple(uint8_t{0x64}, uint8_t{0x4B}, 0u));
    EXPECT_EQ(std::make_tuple(e[7].vk, e[7].scan, e[7].flags), std::make_tuple(uint8_t{0x64}, uint8_t{0x4B}, up));
}

TEST_F(PlayerTest, HeldExtendedKeysAreReleasedAsExtendedKeys)
{
    player.MacroKey(0, false, MacroKeyInfo({{0xE4, 0, 10}, {0x4F, 0, 1000}}));
    At(100, [&] { player.StopMacro(); });
    player.RunPending();
    auto e = input.Events();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[2].vk, 0x27); // Right Arrow first, then right Ctrl
    EXPECT_EQ(e[3].vk, kVkControl);
    for (const auto& k : e)
        EXPECT_TRUE(k.flags & InputSink::kExtendedKey);
    EXPECT_TRUE(input.NothingHeld());
}

// The first key of a freshly started worker may take long to go out (the platform sets its input
// path up on first use); the gaps between the keys must still be the recorded ones.
TEST_F(PlayerTest, ASlowFirstSendDelaysTheMacroWithoutShorteningItsFirstGap)
{
    struct SlowFirstSend : RecordingInputSink {
        SlowFirstSend(FakeClock& clock) : RecordingInputSink(clock), fake(clock) {}
        void SendKey(uint8_t vk, uint8_t scan, uint32_t flags) override
        {
            if (first)
                fake.Advance(25000);
            first = false;
            RecordingInputSink::SendKey(vk, scan, flags);
        }
        FakeClock& fake;
        bool first = true;
    } slow{clock};
    MacroPlayer fresh(clock, slow, UsKeyboardLayout());
    clock.oversleepUs = 300;
    fresh.MacroKey(0, false, MacroKeyInfo({{kA, 0, 100}, {kB, 0, 50}, {kA, 1, 200}, {kB, 1, 1}}));
    fresh.RunPending();
    auto e = slow.Events();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].timeUs / 1000, 25);
    const int64_t recorded[] = {100, 50, 200};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR((e[i + 1].timeUs - e[i].timeUs) / 1000.0, recorded[i], 0.5) << "gap " << i;

    // A later macro of the same player starts its schedule when its first key went out as well.
    clock.Set(10'000'000);
    fresh.MacroKey(1, false, MacroKeyInfo({{kB, 0, 30}, {kB, 1, 1}}));
    fresh.RunPending();
    e = slow.Events();
    ASSERT_EQ(e.size(), 6u);
    EXPECT_NEAR((e[5].timeUs - e[4].timeUs) / 1000.0, 30, 0.5);
}

TEST_F(PlayerTest, LongHoldsRepeatEvery33MillisecondsAfterHalfASecond)
{
    player.MacroKey(0, false, MacroKeyInfo({{kA, 0, 500}, {kA, 1, 1}}));
    player.RunPending();
    using Log = std::vector<std::pair<int64_t, std::string>>;
    EXPECT_EQ(KeyLog(kVkA), (Log{{0, "d"}, {500, "u"}}));

    input.events.clear();
    clock.Set(0);
    player.MacroKey(1, false, MacroKeyInfo({{kA, 0, 501}, {kA, 1, 1}}));
    player.RunPending();
    // One release/press pair at 500 ms; the next event keeps its recorded time.
    EXPECT_EQ(KeyLog(kVkA), (Log{{0, "d"}, {500, "u"}, {500, "d"}, {501, "u"}}));

    input.events.clear();
    clock.Set(0);
    player.MacroKey(2, false, MacroKeyInfo({{kA, 0, 600}, {kA, 1, 1}}));
    player.RunPending();
    EXPECT_EQ(KeyLog(kVkA), (Log{{0, "d"},
                                 {500, "u"},
                                 {500, "d"},
                                 {533, "u"},
                                 {533, "d"},
                                 {566, "u"},
                                 {566, "d"},
                                 {599, "u"},
                                 {599, "d"},
                                 {600, "u"}}));
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, OversleepingOneWaitShortensTheNextInsteadOfAddingUp)
{
    clock.oversleepUs = 3000;
    std::vector<MacroEvent> events;
    ButtonInfo info = MacroKeyInfo({});
    for (int i = 0; i < 20; ++i)
        info.MacroEvents[i] = {kA, static_cast<uint8_t>(i % 2), 10};
    info.MacroEventCount = 20;
    player.MacroKey(0, false, info);
    player.RunPending();
    auto log = KeyLog(kVkA);
    ASSERT_EQ(log.size(), 20u);
    for (size_t i = 1; i < log.size(); ++i)
        EXPECT_NEAR(log[i].first, static_cast<int64_t>(i) * 10, 3) << "event " << i;
}

TEST_F(PlayerTest, TheSameKeyStopsItsOwnMacroAndItsReleaseDoesNothing)
{
    ButtonInfo info = MacroKeyInfo({{kLeftShift, 0, 100}, {kA, 0, 1000}, {kA, 1, 10}, {kLeftShift, 1, 10}});
    player.MacroKey(3, false, info);
    At(300, [&] { player.MacroKey(3, false, info); });
    player.RunPending();
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(input.NothingHeld());
    // Stopped at 300 ms: A released first (pressed last), Shift 50 ms later; nothing restarted.
    using Log = std::vector<std::pair<int64_t, std::string>>;
    EXPECT_EQ(KeyLog(kVkA), (Log{{100, "d"}, {300, "u"}}));
    EXPECT_EQ(KeyLog(kVkShift), (Log{{0, "d"}, {350, "u"}}));

    size_t before = input.Events().size();
    player.MacroKey(3, true, info);
    EXPECT_FALSE(player.RunPending());
    EXPECT_EQ(input.Events().size(), before);
}

TEST_F(PlayerTest, StopReleasesTheMouseButtonPressedLastBeforeShift)
{
    player.MacroKey(0, false, MacroKeyInfo({{kLeftShift, 0, 10}, {kMouseLeft, 0, 1000}, {kMouseLeft, 1, 10}}));
    At(200, [&] { player.StopMacro(); });
    player.RunPending();
    auto events = input.Events();
    ASSERT_GE(events.size(), 4u);
    EXPECT_TRUE(events[2].mouse);
    EXPECT_EQ(events[2].flags, 0x4u);
    EXPECT_EQ(events[2].timeUs / 1000, 200);
    EXPECT_EQ(events[3].vk, kVkShift);
    EXPECT_EQ(events[3].timeUs / 1000, 250);
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, SideButtonsAreTheExtraButtonsTheOtherWayRound)
{
    player.MacroKey(0, false,
                    MacroKeyInfo({{kMouseSide1, 0, 1},
                                  {kMouseSide1, 1, 1},
                                  {kMouseSide2, 0, 1},
                                  {kMouseSide2, 1, 1},
                                  {kMouseRight, 0, 1},
                                  {kMouseRight, 1, 1},
                                  {kMouseMiddle, 0, 1},
                                  {kMouseMiddle, 1, 1}}));
    player.RunPending();
    auto e = input.Events();
    ASSERT_EQ(e.size(), 8u);
    EXPECT_EQ(e[0].flags, 0x80u);
    EXPECT_EQ(e[0].data, 2u); // XBUTTON2
    EXPECT_EQ(e[1].flags, 0x100u);
    EXPECT_EQ(e[2].data, 1u); // XBUTTON1
    EXPECT_EQ(e[4].flags, 0x8u);
    EXPECT_EQ(e[5].flags, 0x10u);
    EXPECT_EQ(e[6].flags, 0x20u);
    EXPECT_EQ(e[7].flags, 0x40u);
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, LeftAndRightModifiersPlayAsTheGenericOnes)
{
    player.MacroKey(0, false, MacroKeyInfo({{kLeftCtrl, 0, 1}, {0xE5, 0, 1}, {0xE5, 1, 1}, {kLeftCtrl, 1, 1}}));
    player.RunPending();
    auto e = input.Events();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].vk, kVkControl);
    EXPECT_EQ(e[1].vk, kVkShift);
}

TEST_F(PlayerTest, ALoopingMacroRepeatsWhileItsKeyIsHeld)
{
    ButtonInfo info = MacroKeyInfo({{kA, 0, 10}, {kA, 1, 90}}, true);
    player.MacroKey(0, false, info);
    At(350, [&] { player.MacroKey(0, true, info); }); // released during the fourth pass
    player.RunPending();
    auto log = KeyLog(kVkA);
    EXPECT_EQ(log.size(), 8u) << "four whole passes";
    EXPECT_EQ(log.back().first, 310);
    EXPECT_TRUE(input.NothingHeld());
    EXPECT_FALSE(player.Playing());
}

TEST_F(PlayerTest, AnotherMacroKeySwitchesAfterTheSwitchDelay)
{
    ButtonInfo first = MacroKeyInfo({{kA, 0, 100}, {kA, 1, 5000}}, true);
    ButtonInfo second = MacroKeyInfo({{kB, 0, 10}, {kB, 1, 10}});
    player.MacroKey(0, false, first);
    At(200, [&] {
        // What the read thread does for a press of key 2: stop now, start 1500 ms later.
        ASSERT_EQ(player.DecideMacroKey(1, false), MacroPlayer::KeyDecision::StartAfterSwitch);
        clock.Set((200 + 1500) * 1000);
        player.Start(1, second);
    });
    player.RunPending();
    using Log = std::vector<std::pair<int64_t, std::string>>;
    EXPECT_EQ(KeyLog(kVkA), (Log{{0, "d"}, {100, "u"}}));
    EXPECT_EQ(KeyLog(kVkB), (Log{{1700, "d"}, {1710, "u"}}));
    EXPECT_EQ(player.LastMacroKey(), 1);
}

TEST_F(PlayerTest, PauseLetsGoAndResumeContinuesWithTheKeysPressedAgain)
{
    ButtonInfo info =
        MacroKeyInfo({{kLeftShift, 0, 100}, {kA, 0, 100}, {kA, 1, 100}, {kB, 0, 10}, {kB, 1, 10}, {kLeftShift, 1, 10}});
    player.MacroKey(0, false, info);
    At(150, [&] { player.PauseResume(); });
    player.RunPending();
    EXPECT_TRUE(player.Paused());
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(input.NothingHeld()) << "a pause leaves nothing pressed";

    clock.onSleep = nullptr;
    clock.Set(1000 * 1000);
    input.events.clear();
    player.PauseResume();
    player.RunPending();
    using Log = std::vector<std::pair<int64_t, std::string>>;
    // Shift and A went down again (50 ms apart), then the macro went on with A's release.
    EXPECT_EQ(KeyLog(kVkShift), (Log{{1000, "d"}, {1220, "u"}}));
    EXPECT_EQ(KeyLog(kVkA), (Log{{1050, "d"}, {1100, "u"}}));
    EXPECT_EQ(KeyLog(kVkB), (Log{{1200, "d"}, {1210, "u"}}));
    EXPECT_TRUE(input.NothingHeld());
    EXPECT_FALSE(player.Paused());
}

TEST_F(PlayerTest, AMacroKeyEndsAPauseForGood)
{
    ButtonInfo info = MacroKeyInfo({{kA, 0, 100}, {kA, 1, 100}});
    player.MacroKey(0, false, info);
    At(50, [&] { player.PauseResume(); });
    player.RunPending();
    player.MacroKey(4, true, info); // a release of another macro key
    EXPECT_FALSE(player.Paused());
    player.PauseResume(); // nothing to resume any more
    EXPECT_FALSE(player.RunPending());
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, OverlongEventCountsPlayAtMost512Events)
{
    ButtonInfo info = MacroKeyInfo({});
    for (int i = 0; i < kMaxMacroEvents; ++i)
        info.MacroEvents[i] = {kA, static_cast<uint8_t>(i % 2), 1};
    info.MacroEventCount = 60000;
    player.MacroKey(0, false, info);
    player.RunPending();
    EXPECT_EQ(input.Events().size(), 512u);
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, UnmatchedPressesAndOddActionsAreReleasedAtTheEnd)
{
    player.MacroKey(0, false, MacroKeyInfo({{kA, 0, 10}, {kB, 7, 10}, {kMouseLeft, 0, 10}}));
    player.RunPending();
    EXPECT_TRUE(input.NothingHeld());
    EXPECT_FALSE(player.Playing());

    // A looping macro whose events take no time still lets time pass and can be stopped.
    ButtonInfo odd = MacroKeyInfo({{kB, 7, 10}}, true);
    player.MacroKey(1, false, odd);
    At(20, [&] { player.MacroKey(1, false, odd); });
    player.RunPending();
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(input.NothingHeld());
}

TEST_F(PlayerTest, AnEmptyMacroEndsAtOnceEvenWhenItLoops)
{
    player.MacroKey(0, false, MacroKeyInfo({}, true));
    player.RunPending();
    EXPECT_TRUE(input.Events().empty());
    EXPECT_FALSE(player.Playing());
}

TEST_F(PlayerTest, ShutdownOfTheWorkerStopsALoopingMacroAndReleasesItsKeys)
{
    RecordingInputSink threadInput{clock};
    MacroPlayer threaded(clock, threadInput, UsKeyboardLayout());
    threaded.StartWorker();
    threaded.MacroKey(0, false, MacroKeyInfo({{kLeftShift, 0, 10}, {kMouseRight, 0, 10}, {kA, 0, 65535}}, true));
    threaded.Shutdown();
    EXPECT_TRUE(threadInput.NothingHeld());
    EXPECT_FALSE(threaded.Playing());
}

// A seeded storm of key presses and releases, pauses, resumes, stops and switches on macros with
// loops, long holds and mouse buttons: whenever the player is idle, nothing may be held.
TEST(MacroPlayerRandom, NoKeyOrButtonIsEverLeftPressed)
{
    const uint8_t codes[] = {kA, kB, kLeftShift, kLeftCtrl, 0xE6, kMouseLeft, kMouseRight, kMouseSide1, kMouseSide2};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        FakeClock clock;
        RecordingInputSink input{clock};
        MacroPlayer player(clock, input, UsKeyboardLayout());

        ButtonInfo keys[kKeyCount];
        for (ButtonInfo& info : keys) {
            info = MacroKeyInfo({}, rng() % 3 == 0);
            int n = static_cast<int>(rng() % 12);
            for (int i = 0; i < n; ++i) {
                uint8_t action = rng() % 10 == 0 ? 2 : static_cast<uint8_t>(rng() % 2);
                uint16_t delay = static_cast<uint16_t>(rng() % 5 == 0 ? 400 + rng() % 1200 : rng() % 60);
                info.MacroEvents[i] = {codes[rng() % sizeof codes], action, delay};
            }
            info.MacroEventCount = static_cast<uint16_t>(n);
        }

        // Scheduled read-thread actions, run when the player's clock reaches them.
        std::multimap<int64_t, std::function<void()>> schedule;
        int64_t t = 0;
        for (int i = 0; i < 60; ++i) {
            t += rng() % 800;
            int kind = static_cast<int>(rng() % 10);
            int k = static_cast<int>(rng() % kKeyCount);
            bool release = rng() % 2;
            schedule.emplace(t, [&, kind, k, release] {
                if (kind < 7) {
                    MacroPlayer::KeyDecision d = player.DecideMacroKey(k, release);
                    if (d == MacroPlayer::KeyDecision::StartNow)
                        player.Start(k, keys[k]);
                    else if (d == MacroPlayer::KeyDecision::StartAfterSwitch)
                        schedule.emplace(clock.NowUs() + MacroPlayer::kSwitchDelayMs * 1000,
                                         [&, k] { player.Start(k, keys[k]); });
                } else if (kind < 9) {
                    player.PauseResume();
                } else {
                    player.StopMacro();
                }
            });
        }
        // A looping macro plays until something stops it: the storm ends with a stop after the
        // last switch could have started.
        schedule.emplace(t + 2000, [&] { player.StopMacro(); });
        // From here on the schedule is in microseconds.
        std::multimap<int64_t, std::function<void()>> us;
        for (auto& [ms, f] : schedule)
            us.emplace(ms * 1000, f);
        schedule.clear();
        auto runDue = [&](int64_t upTo) {
            while (!us.empty() && us.begin()->first <= upTo) {
                auto it = us.begin();
                auto action = it->second;
                int64_t when = it->first;
                us.erase(it);
                if (when > clock.NowUs())
                    clock.Set(when);
                action();
                for (auto& [ms, f] : schedule) // switches scheduled by the action
                    us.emplace(ms, f);
                schedule.clear();
            }
        };
        clock.onSleep = [&](int64_t deadline) { runDue(deadline); };
        while (!us.empty()) {
            runDue(us.begin()->first);
            player.RunPending();
            if (!player.Playing()) {
                ASSERT_TRUE(input.NothingHeld()) << "idle at " << clock.NowMs() << " ms";
            }
        }
        player.Shutdown();
        EXPECT_TRUE(input.NothingHeld());
    }
}

} // namespace
