// The host's real clock: the performance counter for the time, and waits that wake at absolute
// deadlines (per-thread waitable timers, or the thread's own delay under Wine), so that macro
// playback keeps its recorded timing without drifting.
#pragma once

#include "Ports.h"

// Safe to use from any number of threads at once: every thread that sleeps gets its own timer,
// closed again when that thread ends.
class WinClock final : public Clock {
public:
    // How a thread waits. Under Wine a waitable timer is served by the wineserver process, which
    // counts whole milliseconds and must itself be scheduled before it wakes the thread (seen up to
    // several milliseconds late on a busy machine), while the system's thread delay waits in the
    // thread itself to the microsecond. On Windows the high-resolution timer is the precise one and
    // the thread delay keeps the system timer's coarse ticks.
    enum class WaitMethod {
        Automatic,   // the thread delay under Wine, else the waitable timer
        Timer,       // a high-resolution waitable timer per thread
        ThreadDelay, // ntdll's NtDelayExecution; the timer where the system lacks it
    };

    explicit WinClock(WaitMethod method = WaitMethod::Automatic);

    int64_t NowUs() override;
    // Returns when NowUs() has reached deadline, at once when it already has; never early.
    void SleepUntilUs(int64_t deadline) override;

    // The method waits really use.
    WaitMethod Method() const { return m_threadDelay ? WaitMethod::ThreadDelay : WaitMethod::Timer; }

private:
    int64_t m_frequency; // performance counter ticks per second
    bool m_threadDelay;
};
