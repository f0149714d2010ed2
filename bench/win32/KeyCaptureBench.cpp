// Under Wine or Windows: how long a key takes through the keyboard capture, from SendInput of a
// key event to its WM_KBDHOOK_KEY handled by the capturing window, for the presses and the
// releases of 200 keys. Prints figures; nothing here passes or fails on time.

#include "KeyCapture.h"
#include "Wnd.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kKeys = 200;
constexpr WORD kKey = VK_F24; // no program reacts to it
constexpr DWORD kGiveUpMs = 1000;

int64_t NowTicks()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// The capturing window: notes when each captured key is handled.
class Target : public BaseWindow<Target> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {OnMessage<WM_KBDHOOK_KEY, &Target::OnCaptured>()};
        return kEntries;
    }
    bool Create() { return CreateEx(0, nullptr, "KeyCaptureBench", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }

    int64_t handledAt = 0;
    LPARAM flags = -1;

private:
    LRESULT OnCaptured(WPARAM wParam, LPARAM lParam)
    {
        if (wParam == kKey) {
            handledAt = NowTicks();
            flags = lParam;
        }
        return 0;
    }
};

// Sends one event of the key and runs the message loop until the window handled its capture;
// the time taken in microseconds, or a negative number when it never arrived.
double TimeOneEvent(Target& target, bool up, double ticksPerUs)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = kKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    target.handledAt = 0;
    const int64_t sent = NowTicks();
    ::SendInput(1, &input, sizeof input);
    const DWORD deadline = ::GetTickCount() + kGiveUpMs;
    while (target.handledAt == 0 && static_cast<LONG>(deadline - ::GetTickCount()) > 0) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        if (target.handledAt == 0)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    if (target.handledAt == 0 || target.flags != (up ? LLKHF_UP : 0))
        return -1;
    return static_cast<double>(target.handledAt - sent) / ticksPerUs;
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<size_t>(p * static_cast<double>(values.size())))];
}

void Report(const char* name, const std::vector<double>& samples)
{
    if (samples.empty()) {
        std::printf("  %-9s none arrived\n", name);
        return;
    }
    std::printf("  %-9s %7zu %11.1f %11.1f %11.1f\n", name, samples.size(), Percentile(samples, 0.5),
                Percentile(samples, 0.99), *std::max_element(samples.begin(), samples.end()));
}

} // namespace

int main()
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const double ticksPerUs = static_cast<double>(frequency.QuadPart) / 1e6;

    Target target;
    if (!target.Create() || !StartKeyCapture(target.GetSafeHwnd())) {
        std::printf("Key capture: could not start\n");
        return 1;
    }
    // A first key warms the path up (the hook's first call, the window's first message).
    TimeOneEvent(target, false, ticksPerUs);
    TimeOneEvent(target, true, ticksPerUs);

    std::vector<double> presses;
    std::vector<double> releases;
    int lost = 0;
    for (int i = 0; i < kKeys; ++i) {
        const double press = TimeOneEvent(target, false, ticksPerUs);
        const double release = TimeOneEvent(target, true, ticksPerUs);
        press >= 0 ? presses.push_back(press) : void(++lost);
        release >= 0 ? releases.push_back(release) : void(++lost);
    }
    StopKeyCapture();

    std::printf("Key capture: SendInput to WM_KBDHOOK_KEY handled, %d keys\n", kKeys);
    std::printf("  %-9s %7s %11s %11s %11s\n", "event", "samples", "median us", "p99 us", "max us");
    Report("press", presses);
    Report("release", releases);
    if (lost != 0)
        std::printf("  %d events never arrived within %lu ms\n", lost, static_cast<unsigned long>(kGiveUpMs));
    return 0;
}
