#include "TimingBars.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace {

struct OpenPress {
    int32_t key;
    int32_t time;
};

struct TimedEvent {
    uint8_t key;
    uint8_t action; // a KeyAction
    int32_t time;
    // Order among events of the same time: releases of bars that end there, then presses, then
    // releases of bars that also start there, so that a key let go and pressed again in the same
    // millisecond, or a bar of no length, never sends a release before its own press.
    int tieRank;
};

} // namespace

std::vector<TimingBar> BarsFromEvents(const MacroEvent* events, int count)
{
    std::vector<TimingBar> bars;
    if (events == nullptr)
        return bars;
    count = std::clamp(count, 0, kMaxMacroEvents);
    std::vector<OpenPress> open; // the most recent press last
    int32_t time = 0;
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = events[i];
        if (e.Action == kKeyPress) {
            open.push_back({e.Key, time});
            time += e.Delay;
            continue;
        }
        if (e.Action != kKeyRelease)
            continue;
        // Presses above the match stay open in their order, as if taken off and put back.
        auto match = std::find_if(open.rbegin(), open.rend(), [&](const OpenPress& p) { return p.key == e.Key; });
        if (match == open.rend())
            continue;
        bars.push_back({e.Key, match->time, time});
        open.erase(std::next(match).base());
        time += e.Delay;
    }
    return bars;
}

std::vector<TimingBar> BarsFromMacro(const MacroRecord& macro)
{
    return BarsFromEvents(macro.Events, macro.EventCount);
}

RebuiltEvents EventsFromBars(const std::vector<TimingBar>& bars)
{
    const size_t barCount = std::min(bars.size(), static_cast<size_t>(kMaxTimingBars));
    std::vector<TimedEvent> timed;
    timed.reserve(barCount * 2);
    for (size_t i = 0; i < barCount; ++i) {
        const TimingBar& b = bars[i];
        timed.push_back({static_cast<uint8_t>(b.key), kKeyPress, b.start, 1});
        timed.push_back({static_cast<uint8_t>(b.key), kKeyRelease, b.end, b.end == b.start ? 2 : 0});
    }

    // By time; equal times by their rank and otherwise in bar order. An unstable sort here (as a
    // selection sort is) could put a release before its own press and leave the key held down.
    std::stable_sort(timed.begin(), timed.end(), [](const TimedEvent& a, const TimedEvent& b) {
        return a.time != b.time ? a.time < b.time : a.tieRank < b.tieRank;
    });
    const size_t n = timed.size();

    RebuiltEvents result;
    result.events.reserve(n);
    for (size_t j = 0; j < n; ++j) {
        int64_t pause = 0;
        if (j + 1 < n)
            pause = static_cast<int64_t>(timed[j + 1].time) - timed[j].time;
        if (pause > kMaxEventPause) {
            pause = kMaxEventPause;
            result.pauseCapped = true;
        }
        result.events.push_back({timed[j].key, timed[j].action, static_cast<uint16_t>(pause)});
    }
    return result;
}

bool CommitBarsToMacro(const std::vector<TimingBar>& bars, MacroRecord& macro)
{
    const RebuiltEvents rebuilt = EventsFromBars(bars);
    if (rebuilt.events.empty())
        std::memset(macro.Events, 0, sizeof(macro.Events));
    else
        std::memcpy(macro.Events, rebuilt.events.data(), rebuilt.events.size() * sizeof(MacroEvent));
    macro.EventCount = static_cast<int32_t>(rebuilt.events.size());
    return rebuilt.pauseCapped;
}
