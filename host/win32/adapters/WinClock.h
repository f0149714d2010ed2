// The host's real clock: the performance counter for the time, and per-thread waitable timers that
// wake at absolute deadlines, so that macro playback keeps its recorded timing without drifting.
#pragma once

#include "Ports.h"

// Safe to use from any number of threads at once: every thread that sleeps gets its own timer,
// closed again when that thread ends.
class WinClock final : public Clock {
public:
    WinClock();

    int64_t NowUs() override;
    // Returns when NowUs() has reached deadline, at once when it already has; never early.
    void SleepUntilUs(int64_t deadline) override;

private:
    int64_t m_frequency; // performance counter ticks per second
};
