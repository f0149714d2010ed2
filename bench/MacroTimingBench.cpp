// Macro timing with the real clock: how far each played event lands from its recorded time, for the
// player (deadlines counted from the start of the pass) and for a naive player that sleeps each
// event's delay in turn; and the latency from a key event to the first synthetic input. Prints
// figures; nothing here passes or fails on time.

#include "HostCore.h"
#include "KeyboardModel.h"
#include "MacroPlayer.h"
#include "NullPorts.h"
#include "ProfileStore.h"
#include "SteadyClock.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int kEvents = 1000;
constexpr int kLatencyRuns = 1000;

// Stamps every key event with the real clock and wakes a waiter on the first one.
class StampingInput : public InputSink {
public:
    explicit StampingInput(Clock& clock) : m_clock(clock) {}
    void SendKey(uint8_t, uint8_t, uint32_t) override { Stamp(); }
    void SendMouse(uint32_t, uint32_t) override { Stamp(); }
    bool NumLockToggled() override { return false; }

    std::vector<int64_t> Times()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_times;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_times.clear();
    }
    int64_t WaitFirst()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_times.empty(); });
        return m_times.front();
    }

private:
    void Stamp()
    {
        int64_t now = m_clock.NowUs();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_times.push_back(now);
        }
        m_changed.notify_all();
    }
    Clock& m_clock;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<int64_t> m_times;
};

struct Stats {
    double median, p99, max, drift;
};

Stats Errors(const std::vector<int64_t>& times, const std::vector<int64_t>& offsets)
{
    std::vector<double> err;
    for (size_t i = 0; i < times.size() && i < offsets.size(); ++i)
        err.push_back(std::abs(static_cast<double>(times[i] - times[0] - offsets[i])) / 1000.0);
    double drift = static_cast<double>(times.back() - times[0] - offsets[times.size() - 1]) / 1000.0;
    std::sort(err.begin(), err.end());
    return {err[err.size() / 2], err[err.size() * 99 / 100], err.back(), drift};
}

void Print(const char* name, const Stats& s)
{
    std::printf("  %-28s %9.3f %9.3f %9.3f %11.3f\n", name, s.median, s.p99, s.max, s.drift);
}

} // namespace

int main()
{
    SteadyClock clock;
    StampingInput input(clock);

    // A 1000-event macro with delays of 1 to 20 ms.
    ButtonInfo info{};
    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    std::mt19937 rng(7);
    std::vector<int64_t> offsets; // recorded time of each event from the first, in microseconds
    int64_t at = 0;
    for (int i = 0; i < kEvents && i < kMaxMacroEvents; ++i) {
        uint16_t delay = static_cast<uint16_t>(1 + rng() % 20);
        info.MacroEvents[i] = {0x04, static_cast<uint8_t>(i % 2), delay};
    }
    // A macro holds 512 events; the player plays the 1000 as two passes of a looping macro.
    info.MacroEventCount = 500;
    info.MacroLoop = 1;
    for (int i = 0; i < kEvents; ++i) {
        offsets.push_back(at);
        at += info.MacroEvents[i % 500].Delay * 1000;
    }

    std::printf("Macro timing, %d events with delays of 1 to 20 ms (%.1f s), real clock\n", kEvents, at / 1e6);
    std::printf("  %-28s %9s %9s %9s %11s\n", "player", "median ms", "p99 ms", "max ms", "drift ms");

    {
        MacroPlayer player(clock, input, UsKeyboardLayout());
        player.StartWorker();
        player.MacroKey(0, false, info);
        while (input.Times().size() < static_cast<size_t>(kEvents))
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        player.StopMacro();
        player.Shutdown();
        std::vector<int64_t> times = input.Times();
        times.resize(kEvents);
        Print("deadline player", Errors(times, offsets));
    }
    {
        input.Clear();
        for (int i = 0; i < kEvents; ++i) {
            input.SendKey(0x41, 0x1E, 0);
            clock.SleepMs(info.MacroEvents[i % 500].Delay);
        }
        Print("sleep per event (baseline)", Errors(input.Times(), offsets));
    }

    // Key event to first input: the read thread's dispatch of a macro key until the worker sends.
    namespace fs = std::filesystem;
    fs::path folder = fs::temp_directory_path() / ("tolk-bench-" + std::to_string(rng()));
    fs::create_directories(folder);
    KeyboardModel keyboard(&clock);
    NullSharedBlock shared;
    bench::NullWindows windows;
    bench::NullSettings settings;
    bench::NullLauncher launcher;
    bench::NullTray tray;
    bench::NullSound sound;
    bench::NullForeground foreground;
    bench::NullTimers timers;
    HostState state;
    state.programFolder = folder.string() + "/";
    ProfileSet set;
    SetDefaultProfiles(set);
    ButtonInfo one{};
    one.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    one.MacroEventCount = 2;
    one.MacroEvents[0] = {0x04, 0, 1};
    one.MacroEvents[1] = {0x04, 1, 1};
    set.Profiles[0].Buttons[0] = one;
    state.profiles.Replace(set);
    HostCore host(HostPorts{clock, keyboard, input, UsKeyboardLayout(), shared, windows, settings, launcher, tray,
                            sound, foreground, timers},
                  state, 1);
    host.Player().StartWorker();
    std::vector<double> latency;
    for (int i = 0; i < kLatencyRuns; ++i) {
        input.Clear();
        int64_t start = clock.NowUs();
        host.OnDeviceEvent(0xF0000000);
        latency.push_back(static_cast<double>(input.WaitFirst() - start) / 1000.0);
        while (host.Player().Playing())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    host.FinishShutdown();
    fs::remove_all(folder);
    std::sort(latency.begin(), latency.end());
    std::printf("\nKey event to first input (%d macro key presses): median %.3f ms, p99 %.3f ms, max %.3f ms\n",
                kLatencyRuns, latency[latency.size() / 2], latency[latency.size() * 99 / 100], latency.back());
    return 0;
}
