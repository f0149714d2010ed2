#include "TestLibraries.h"
#include "TimingBars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr uint8_t kA = 0x04;
constexpr uint8_t kB = 0x05;
constexpr uint8_t kC = 0x06;
constexpr uint8_t kPress = 0;
constexpr uint8_t kRelease = 1;

std::string Describe(const std::vector<MacroEvent>& events)
{
    std::string text;
    for (const MacroEvent& e : events)
        text += std::to_string(e.Key) + (e.Action == kPress ? "v" : "^") + std::to_string(e.Delay) + " ";
    return text;
}

std::vector<MacroEvent> EventsOf(const MacroRecord& macro)
{
    return std::vector<MacroEvent>(macro.Events, macro.Events + macro.EventCount);
}

std::vector<TimingBar> Bars(const std::vector<MacroEvent>& events)
{
    return BarsFromEvents(events.data(), static_cast<int>(events.size()));
}

TEST(TimingBars, OverlappingKeysBecomeBarsInReleaseOrderAndComeBackAsTheSameEvents)
{
    auto macro = TestMacro("Combo", 0, {{kA, kPress, 100}, {kB, kPress, 50}, {kA, kRelease, 200}, {kB, kRelease, 0}});
    const std::vector<TimingBar> bars = BarsFromMacro(*macro);
    EXPECT_EQ(bars, (std::vector<TimingBar>{{kA, 0, 150}, {kB, 100, 350}}));

    EXPECT_FALSE(CommitBarsToMacro(bars, *macro));
    EXPECT_EQ(Describe(EventsOf(*macro)), "4v100 5v50 4^200 5^0 ");
}

TEST(TimingBars, OnlyMatchedPairsSurviveAndTheirTimesFollowTheCountedPauses)
{
    // Releases with nothing open, a release of a key never pressed and a press left open.
    const std::vector<MacroEvent> events = {
        {kB, kRelease, 1000},                       // nothing open: skipped with its pause
        {kA, kPress, 10},     {kC, kRelease, 2000}, // C is not open: skipped with its pause
        {kC, kPress, 20},                           // never released: dropped, but its pause counts
        {kA, kRelease, 30},
    };
    EXPECT_EQ(Bars(events), (std::vector<TimingBar>{{kA, 0, 30}}));

    auto onlyReleases = TestMacro("Ups", 0, {{kA, kRelease, 40}, {kB, kRelease, 50}});
    EXPECT_TRUE(BarsFromMacro(*onlyReleases).empty());
    onlyReleases->Events[7] = {kC, kPress, 9}; // a stale slot beyond the count
    EXPECT_FALSE(CommitBarsToMacro(BarsFromMacro(*onlyReleases), *onlyReleases));
    EXPECT_EQ(onlyReleases->EventCount, 0);
    const MacroRecord zeroed{};
    EXPECT_EQ(std::memcmp(onlyReleases->Events, zeroed.Events, sizeof(zeroed.Events)), 0)
        << "an emptied macro keeps nothing in its slots";
}

TEST(TimingBars, AReleaseClosesTheLatestPressOfItsKeyAndLeavesTheOthersOpen)
{
    // A held twice (the inner press is closed first); B pressed between, closed after the A's.
    const std::vector<MacroEvent> events = {
        {kA, kPress, 10}, {kB, kPress, 10}, {kA, kPress, 10}, {kA, kRelease, 10}, {kA, kRelease, 10}, {kB, kRelease, 5},
    };
    const std::vector<TimingBar> bars = Bars(events);
    EXPECT_EQ(bars, (std::vector<TimingBar>{{kA, 20, 30}, {kA, 0, 40}, {kB, 10, 50}}));
    EXPECT_EQ(Bars(EventsFromBars(bars).events), bars);
}

TEST(TimingBars, RebuiltEventsEndWithoutAPauseAndEqualTimesNeverReleaseBeforeTheirPress)
{
    auto macro = TestMacro("Tap", 0, {{kA, kPress, 80}, {kA, kRelease, 500}});
    CommitBarsToMacro(BarsFromMacro(*macro), *macro);
    EXPECT_EQ(Describe(EventsOf(*macro)), "4v80 4^0 ") << "the trailing pause is gone";

    // A bar of no length keeps its press before its release, whatever comes earlier in the list.
    const RebuiltEvents tie = EventsFromBars({{kA, 5, 5}, {kB, 3, 8}});
    EXPECT_EQ(Describe(tie.events), "5v2 4v0 4^3 5^0 ");
    // A key let go and pressed again in the same millisecond: the release goes first, so the
    // second press is not swallowed by a key still down.
    const RebuiltEvents again = EventsFromBars({{kA, 100, 200}, {kA, 0, 100}});
    EXPECT_EQ(Describe(again.events), "4v100 4^0 4v100 4^0 ");
    EXPECT_EQ(Bars(again.events), (std::vector<TimingBar>{{kA, 0, 100}, {kA, 100, 200}}));
}

TEST(TimingBars, AGapLongerThanAnEventCanWaitIsShortenedAndReported)
{
    const std::vector<TimingBar> bars = {{kA, 0, 10}, {kB, 70000, 70010}};
    const RebuiltEvents rebuilt = EventsFromBars(bars);
    EXPECT_TRUE(rebuilt.pauseCapped);
    EXPECT_EQ(Describe(rebuilt.events), "4v10 4^65535 5v10 5^0 ");
    EXPECT_EQ(Bars(rebuilt.events), (std::vector<TimingBar>{{kA, 0, 10}, {kB, 65545, 65555}}))
        << "what follows the gap plays earlier";

    // Bars beyond 65535 ms that need no long pause are kept exactly.
    const std::vector<TimingBar> late = {{kA, 60000, 120000}, {kB, 100000, 130000}};
    const RebuiltEvents kept = EventsFromBars(late);
    EXPECT_FALSE(kept.pauseCapped);
    EXPECT_EQ(Bars(kept.events), (std::vector<TimingBar>{{kA, 0, 60000}, {kB, 40000, 70000}}))
        << "times count from the first event";
    EXPECT_EQ(Describe(kept.events), "4v40000 5v20000 4^10000 5^0 ");
}

TEST(TimingBars, AtMost256BarsAreRebuiltAndAFullMacroIsRead)
{
    std::vector<TimingBar> bars;
    for (int i = 0; i < 300; ++i)
        bars.push_back({kA, i * 10, i * 10 + 5});
    auto macro = TestMacro("Full", 0);
    CommitBarsToMacro(bars, *macro);
    ASSERT_EQ(macro->EventCount, kMaxMacroEvents);
    const std::vector<TimingBar> back = BarsFromMacro(*macro);
    ASSERT_EQ(back.size(), 256u);
    EXPECT_EQ(back.back(), (TimingBar{kA, 2550, 2555}));

    macro->EventCount = 100000; // never trusted: read as the 512 slots there are
    EXPECT_EQ(BarsFromMacro(*macro).size(), 256u);
    macro->EventCount = -3;
    EXPECT_TRUE(BarsFromMacro(*macro).empty());
}

// Deterministic pseudo-random numbers (the same on every standard library).
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint32_t Below(uint32_t n)
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>((m_state >> 33) % n);
    }

private:
    uint64_t m_state;
};

struct GeneratedMacro {
    std::vector<MacroEvent> events;
    std::vector<TimingBar> pairs; // matched press/release pairs in release order, with their times
};

// A macro of a few keys pressed, nested, released (each release closing that key's latest press),
// with stray releases, presses never released, and now and then a long pause. Every counted pause
// is at least 1 ms, so no two paired events share a time.
GeneratedMacro Generate(Random& random)
{
    const uint8_t keys[] = {kA, kB, kC, 0x2C, kMouseLeft};
    GeneratedMacro m;
    std::map<uint8_t, std::vector<int32_t>> held; // key -> press times, latest last
    int32_t time = 0;
    const uint32_t length = 1 + random.Below(kMaxMacroEvents);
    for (uint32_t i = 0; i < length; ++i) {
        const uint8_t key = keys[random.Below(5)];
        const uint16_t pause =
            static_cast<uint16_t>(random.Below(40) == 0 ? 30000 + random.Below(35536) : 1 + random.Below(300));
        const uint8_t action = random.Below(100) < 55 ? kPress : kRelease;
        m.events.push_back({key, action, pause});
        std::vector<int32_t>& presses = held[key];
        if (action == kPress) {
            presses.push_back(time);
        } else if (presses.empty()) {
            continue; // a stray release: its pause is not counted
        } else {
            m.pairs.push_back({key, presses.back(), time});
            presses.pop_back();
        }
        time += pause;
    }
    return m;
}

bool NeedsALongerPause(const std::vector<TimingBar>& pairs)
{
    std::vector<int32_t> times;
    for (const TimingBar& p : pairs) {
        times.push_back(p.start);
        times.push_back(p.end);
    }
    std::sort(times.begin(), times.end());
    for (size_t i = 1; i < times.size(); ++i) {
        if (times[i] - times[i - 1] > kMaxEventPause)
            return true;
    }
    return false;
}

TEST(TimingBars, EveryMatchedPairKeepsItsKeyAndTimesThroughBarsAndBack)
{
    Random random(20240611);
    int capped = 0;
    int exact = 0;
    for (int round = 0; round < 300; ++round) {
        const GeneratedMacro m = Generate(random);
        const std::vector<TimingBar> bars = Bars(m.events);
        ASSERT_EQ(bars, m.pairs) << "round " << round << ": " << Describe(m.events);

        const RebuiltEvents rebuilt = EventsFromBars(bars);
        ASSERT_EQ(rebuilt.events.size(), 2 * bars.size());
        ASSERT_EQ(rebuilt.pauseCapped, NeedsALongerPause(m.pairs)) << "round " << round;
        const std::vector<TimingBar> again = Bars(rebuilt.events);
        if (rebuilt.pauseCapped) {
            ++capped;
            ASSERT_EQ(again.size(), bars.size()) << "round " << round << ": shortened, but every pair stays";
            for (size_t i = 0; i < bars.size(); ++i)
                ASSERT_EQ(again[i].key, bars[i].key) << "round " << round << ", bar " << i;
            continue;
        }
        ++exact;
        // The rebuilt macro starts at its first press; every pair keeps its place relative to it.
        std::vector<TimingBar> expected = m.pairs;
        const int32_t first =
            expected.empty()
                ? 0
                : std::min_element(expected.begin(), expected.end(), [](const TimingBar& x, const TimingBar& y) {
                      return x.start < y.start;
                  })->start;
        for (TimingBar& p : expected) {
            p.start -= first;
            p.end -= first;
        }
        ASSERT_EQ(again, expected) << "round " << round << ": " << Describe(rebuilt.events);
    }
    EXPECT_GT(capped, 10);
    EXPECT_GT(exact, 100);
}

} // namespace
