// Timing bars: a macro seen as the keys it holds, one bar per key from its press to its release, and
// the conversions between a macro's events and its bars. Only matched press/release pairs have a
// bar, so unmatched presses and releases are lost on the way to bars and back.
#pragma once

#include "Records.h"

#include <cstdint>
#include <vector>

// The key of a bar that was added and still waits for the user to press its key.
constexpr int32_t kKeyPending = -1;
// A macro of 512 events holds at most this many pairs, and the user adds bars only below it.
constexpr int kMaxTimingBars = kMaxMacroEvents / 2;
// The longest pause an event can carry.
constexpr int32_t kMaxEventPause = 65535;

// One key held from its press to its release. Times are milliseconds from the start of the macro
// and 32-bit, so a bar may lie anywhere in a long macro; only the pauses between events are 16-bit.
struct TimingBar {
    int32_t key; // HID usage or mouse button code (0xF0..0xF4), or kKeyPending
    int32_t start;
    int32_t end;

    bool operator==(const TimingBar& other) const
    {
        return key == other.key && start == other.start && end == other.end;
    }
    bool operator!=(const TimingBar& other) const { return !(*this == other); }
};

// The bars of an event list, in the order of their releases. A release closes the most recent open
// press of its key; a release that closes nothing is skipped together with its pause, and presses
// still open at the end are dropped (their pauses still count). A count outside 0..512 is held to it.
std::vector<TimingBar> BarsFromEvents(const MacroEvent* events, int count);
std::vector<TimingBar> BarsFromMacro(const MacroRecord& macro);

struct RebuiltEvents {
    std::vector<MacroEvent> events;
    // A gap between two events was longer than an event can wait and was shortened to 65535 ms, so
    // everything after it plays earlier than its bar shows.
    bool pauseCapped = false;
};

// The events of bars: a press at each start and a release at each end, ordered by time (a selection
// sort that takes the first of equal times), with each event's pause reaching the next event's time
// and a last pause of 0. Only the first 256 bars are taken. The sort swaps, so events of equal
// times may change places: a bar of zero length can come out released before it is pressed, and
// such a pair is lost when the macro is read again.
RebuiltEvents EventsFromBars(const std::vector<TimingBar>& bars);

// Replaces the macro's events by those of the bars; no bars leave it empty with all slots cleared.
// Slots beyond the new count keep what they held. True when a pause had to be capped.
bool CommitBarsToMacro(const std::vector<TimingBar>& bars, MacroRecord& macro);
