// The real clock of the portable build: the standard library's steady clock, waiting with
// sleep_until. (The Windows program uses a high-resolution waitable timer instead.)
#pragma once

#include "Clock.h"

#include <chrono>
#include <thread>

class SteadyClock : public Clock {
public:
    int64_t NowUs() override
    {
        using namespace std::chrono;
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void SleepUntilUs(int64_t deadline) override
    {
        using namespace std::chrono;
        std::this_thread::sleep_until(steady_clock::time_point(microseconds(deadline)));
    }
};
