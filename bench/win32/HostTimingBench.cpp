// Under Wine or Windows: the host's core with the real input path and the real clock, measured at a
// window of this process that has the keyboard focus.
//  - key event to first macro key: from the driver's release of the read thread's semaphore for a
//    macro key's press until the window receives the macro's first WM_KEYDOWN;
//  - macro timing: a 200-event macro played with the host's clock (its own choice of wait, then
//    forced to the high-resolution waitable timer), and with a clock that sleeps with Sleep() alone,
//    each event's arrival at the window against its recorded time.
// Prints figures; nothing here passes or fails on time.

#include "WinApi.h"

#include "HostCore.h"
#include "KeyboardModel.h"
#include "NullPorts.h"
#include "ProfileStore.h"
#include "WinClock.h"
#include "WinInputSink.h"
#include "WinKeyboardLayout.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

std::mutex g_mutex;
std::vector<int64_t> g_downs; // microseconds of each WM_KEYDOWN
WinClock g_clock;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KEYDOWN || msg == WM_KEYUP) {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_downs.push_back(g_clock.NowUs());
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Waits with Sleep alone, as a player without deadlines or a fine timer would.
class SleepClock : public Clock {
public:
    int64_t NowUs() override { return g_clock.NowUs(); }
    void SleepUntilUs(int64_t deadline) override
    {
        int64_t left = deadline - NowUs();
        if (left > 0)
            Sleep(static_cast<DWORD>((left + 999) / 1000));
    }
};

void Pump(int64_t untilUs)
{
    MSG msg;
    while (g_clock.NowUs() < untilUs) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

double Percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

void TimingRun(const char* name, Clock& clock, const ButtonInfo& macro, int events)
{
    WinInputSink input;
    WinKeyboardLayout layout;
    MacroPlayer player(clock, input, layout);
    player.StartWorker();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_downs.clear();
    }
    player.MacroKey(0, false, macro);
    int64_t total = 0;
    for (int i = 0; i < events; ++i)
        total += macro.MacroEvents[i].Delay;
    Pump(g_clock.NowUs() + (total + 1500) * 1000);
    player.Shutdown();
    std::vector<int64_t> t;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        t = g_downs;
    }
    if (t.size() < static_cast<size_t>(events)) {
        std::printf("  %-24s only %zu of %d events reached the window\n", name, t.size(), events);
        return;
    }
    // Each event's lateness against its recorded time, taken from the typical lateness (the median):
    // a few events at the start also carry the input path's start-up under Wine, which is latency,
    // not timing.
    std::vector<double> late;
    int64_t recorded = 0;
    for (int i = 0; i < events; ++i) {
        late.push_back(static_cast<double>(t[i] - t[0] - recorded) / 1000.0);
        recorded += int64_t(macro.MacroEvents[i].Delay) * 1000;
    }
    const double base = Percentile(late, 0.5);
    std::vector<double> errors;
    for (double l : late)
        errors.push_back(std::abs(l - base));
    const double drift = late.back() - base;
    std::printf("  %-24s %9.3f %9.3f %9.3f %11.3f\n", name, Percentile(errors, 0.5), Percentile(errors, 0.99),
                Percentile(errors, 1.0), drift);
}

} // namespace

int main()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TolkTimingProbe";
    RegisterClassA(&wc);
    HWND probe = CreateWindowExA(0, wc.lpszClassName, "Timing probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300,
                                 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(probe);
    SetFocus(probe);
    Pump(g_clock.NowUs() + 500000);

    // 200 events: 100 presses and releases of A and B with delays of 1 to 20 ms.
    ButtonInfo macro{};
    macro.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    const int kEvents = 200;
    for (int i = 0; i < kEvents; ++i)
        macro.MacroEvents[i] = {static_cast<uint8_t>(0x04 + (i / 2) % 2), static_cast<uint8_t>(i % 2),
                                static_cast<uint16_t>(1 + (i * 7) % 20)};
    macro.MacroEventCount = kEvents;

    std::printf("Macro timing at the window, %d events with delays of 1 to 20 ms\n", kEvents);
    std::printf("  %-24s %9s %9s %9s %11s\n", "clock", "median ms", "p99 ms", "max ms", "drift ms");
    TimingRun(g_clock.Method() == WinClock::WaitMethod::Timer ? "host clock: timer" : "host clock: thread delay",
              g_clock, macro, kEvents);
    WinClock timerClock(WinClock::WaitMethod::Timer);
    TimingRun("waitable timer", timerClock, macro, kEvents);
    SleepClock sleepClock;
    TimingRun("Sleep()", sleepClock, macro, kEvents);

    // Key event to the first macro key at the window, through the host's core.
    KeyboardModel keyboard(&g_clock);
    WinInputSink input;
    WinKeyboardLayout layout;
    NullSharedBlock shared;
    bench::NullWindows windows;
    bench::NullSettings settings;
    bench::NullLauncher launcher;
    bench::NullTray tray;
    bench::NullSound sound;
    bench::NullForeground foreground;
    bench::NullTimers timers;
    HostState state;
    ProfileSet set;
    SetDefaultProfiles(set);
    ButtonInfo one{};
    one.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    one.MacroEventCount = 2;
    one.MacroEvents[0] = {0x04, 0, 1};
    one.MacroEvents[1] = {0x04, 1, 1};
    set.Profiles[0].Buttons[0] = one;
    state.profiles.Replace(set);
    HostCore host(HostPorts{g_clock, keyboard, input, layout, shared, windows, settings, launcher, tray, sound,
                            foreground, timers},
                  state, 1);
    host.Player().StartWorker();
    // The read thread as the host runs it: blocked on the semaphore the driver releases once per
    // event, then handing the event to the core.
    HANDLE released = CreateSemaphoreA(nullptr, 0, 100, nullptr);
    std::atomic<bool> quit{false};
    std::thread reader([&] {
        while (WaitForSingleObject(released, INFINITE) == WAIT_OBJECT_0 && !quit)
            host.OnDeviceEvent(0xF0000000);
    });
    Pump(g_clock.NowUs() + 100000);
    std::vector<double> latency;
    for (int i = 0; i < 200; ++i) {
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            g_downs.clear();
        }
        int64_t start = g_clock.NowUs();
        ReleaseSemaphore(released, 1, nullptr);
        int64_t until = start + 200000;
        for (;;) {
            Pump(g_clock.NowUs() + 1000);
            std::lock_guard<std::mutex> lock(g_mutex);
            if (!g_downs.empty() || g_clock.NowUs() > until) {
                if (!g_downs.empty())
                    latency.push_back(static_cast<double>(g_downs.front() - start) / 1000.0);
                break;
            }
        }
        Pump(g_clock.NowUs() + 20000);
    }
    quit = true;
    ReleaseSemaphore(released, 1, nullptr);
    reader.join();
    CloseHandle(released);
    host.FinishShutdown();
    if (!latency.empty())
        std::printf("\nKey event to first macro key at the window (%zu presses): median %.3f ms, p99 %.3f ms\n",
                    latency.size(), Percentile(latency, 0.5), Percentile(latency, 0.99));
    DestroyWindow(probe);
    return 0;
}
