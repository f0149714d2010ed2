#include "WinClock.h"

#include "UniqueHandle.h"
#include "WinApi.h"

#include <algorithm>
#include <optional>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

constexpr int64_t kMicrosecondsPerSecond = 1'000'000;
// Waits are made in pieces no longer than this, so the timer's 100 ns units never overflow.
constexpr int64_t kLongestWaitUs = 3'600'000'000;
// Without a high-resolution timer the system's timer ticks every 15.6 ms. Waits shorter than this
// run with the 1 ms system timer resolution in force; longer ones first wait coarsely, up to the
// time a late tick could cost, and finish with a short precise wait. So the finer resolution (which
// costs the whole system power) is held while a macro plays and not while the host idles.
constexpr int64_t kPreciseWaitUs = 50'000;
constexpr int64_t kCoarseLatenessUs = 20'000;
constexpr UINT kFinePeriodMs = 1;

// The waitable timer of the calling thread. Timers cannot be shared: setting a timer again while
// another thread waits on it moves that thread's deadline.
class ThreadTimer {
public:
    ThreadTimer()
    {
        // Windows 10 1803 and later; older systems refuse the flag.
        m_timer.Reset(
            CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
        m_highResolution = static_cast<bool>(m_timer);
        if (!m_timer)
            m_timer.Reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
    }

    bool HighResolution() const { return m_highResolution; }

    // Waits about us microseconds (relative to now).
    void Wait(int64_t us)
    {
        us = std::clamp<int64_t>(us, 1, kLongestWaitUs);
        if (m_timer) {
            LARGE_INTEGER due;
            due.QuadPart = -us * 10; // negative: relative, in 100 ns units
            if (SetWaitableTimer(m_timer.Get(), &due, 0, nullptr, nullptr, FALSE)) {
                WaitForSingleObject(m_timer.Get(), INFINITE);
                return;
            }
        }
        Sleep(static_cast<DWORD>((us + 999) / 1000));
    }

private:
    UniqueHandle m_timer;
    bool m_highResolution = false;
};

using NtDelayExecutionFn = LONG(NTAPI*)(BOOLEAN alertable, PLARGE_INTEGER interval);

HMODULE Ntdll()
{
    return GetModuleHandleA("ntdll.dll");
}

// Through void(*)() because the system's FARPROC has no parameters of its own.
NtDelayExecutionFn ThreadDelayFunction()
{
    static const auto delay =
        reinterpret_cast<NtDelayExecutionFn>(reinterpret_cast<void (*)()>(GetProcAddress(Ntdll(), "NtDelayExecution")));
    return delay;
}

bool RunningUnderWine()
{
    return GetProcAddress(Ntdll(), "wine_get_version") != nullptr;
}

void WINAPI DeleteThreadTimer(void* timer)
{
    delete static_cast<ThreadTimer*>(timer);
}

// The system runs DeleteThreadTimer when a thread that has a timer ends. (Not a C++ thread_local:
// under the mingw runtime its destructor did not reliably close the handle of an ending thread; our
// tests saw one timer handle leak per thread.)
DWORD ThreadTimerSlot()
{
    static const DWORD slot = FlsAlloc(&DeleteThreadTimer);
    return slot;
}

// The calling thread's timer, made on first use; nothing when the system has no slot left for it.
ThreadTimer* CurrentThreadTimer()
{
    const DWORD slot = ThreadTimerSlot();
    if (slot == FLS_OUT_OF_INDEXES)
        return nullptr;
    auto* timer = static_cast<ThreadTimer*>(FlsGetValue(slot));
    if (!timer) {
        timer = new ThreadTimer;
        if (!FlsSetValue(slot, timer)) {
            delete timer;
            return nullptr;
        }
    }
    return timer;
}

// The 1 ms system timer resolution for the lifetime of the object.
class FineTimerPeriod {
public:
    FineTimerPeriod() : m_active(timeBeginPeriod(kFinePeriodMs) == TIMERR_NOERROR) {}
    ~FineTimerPeriod()
    {
        if (m_active)
            timeEndPeriod(kFinePeriodMs);
    }
    FineTimerPeriod(const FineTimerPeriod&) = delete;
    FineTimerPeriod& operator=(const FineTimerPeriod&) = delete;

private:
    bool m_active;
};

} // namespace

WinClock::WinClock(WaitMethod method)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency); // never fails on Windows XP and later
    m_frequency = frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    const bool wantDelay = method == WaitMethod::ThreadDelay || (method == WaitMethod::Automatic && RunningUnderWine());
    m_threadDelay = wantDelay && ThreadDelayFunction() != nullptr;
}

int64_t WinClock::NowUs()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    // Split so that the multiplication cannot overflow however long the system has been running.
    const int64_t seconds = counter.QuadPart / m_frequency;
    const int64_t rest = counter.QuadPart % m_frequency;
    return seconds * kMicrosecondsPerSecond + rest * kMicrosecondsPerSecond / m_frequency;
}

void WinClock::SleepUntilUs(int64_t deadline)
{
    if (m_threadDelay) {
        const NtDelayExecutionFn delay = ThreadDelayFunction();
        for (;;) {
            const int64_t remaining = deadline - NowUs();
            if (remaining <= 0)
                return;
            LARGE_INTEGER interval;
            interval.QuadPart = -std::min(remaining, kLongestWaitUs) * 10; // negative: relative, 100 ns
            delay(FALSE, &interval);
        }
    }
    ThreadTimer* owned = CurrentThreadTimer();
    std::optional<ThreadTimer> temporary; // only when the thread cannot keep one
    ThreadTimer& timer = owned ? *owned : temporary.emplace();
    // A timer may wake a little before the counter reaches the deadline; the loop waits the rest.
    for (;;) {
        const int64_t remaining = deadline - NowUs();
        if (remaining <= 0)
            return;
        if (timer.HighResolution()) {
            timer.Wait(remaining);
        } else if (remaining >= kPreciseWaitUs) {
            timer.Wait(remaining - kCoarseLatenessUs);
        } else {
            FineTimerPeriod fine;
            timer.Wait(remaining);
        }
    }
}
