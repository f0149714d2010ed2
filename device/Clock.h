// Time as the host and the keyboard simulator see it: the one port below both, so that pacing,
// macro timing and the simulator's call log all run in the same virtual time under test.
#pragma once

#include <cstdint>

// Monotonic time in microseconds. Tests use a virtual clock in which waits return at once.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t NowUs() = 0;
    // Returns when the clock has reached deadline (at once when it already has).
    virtual void SleepUntilUs(int64_t deadline) = 0;

    void SleepMs(int64_t ms) { SleepUntilUs(NowUs() + ms * 1000); }
};
