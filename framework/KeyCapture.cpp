#include "KeyCapture.h"

#include "WindowsHook.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>

namespace {

// The one capture of the process; touched only on the user-interface thread (the hook procedure
// runs there too).
struct Stamp {
    DWORD virtualKey;
    bool released;
    int64_t timeUs;
};

struct Capture {
    CWindowsHook hook;
    HWND target = nullptr;
    std::deque<Stamp> stamps; // of the keys posted and not yet taken, oldest first
};

constexpr std::size_t kMaxStamps = 256;

Capture& TheCapture()
{
    static Capture capture;
    return capture;
}

// User handles carry 32 significant bits on every Windows, so "%lx" shows a hook handle whole.
void LogHook(const char* format, HHOOK hook)
{
    char line[64];
    std::snprintf(line, sizeof line, format, static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(hook)));
    ::OutputDebugStringA(line);
}

void RemoveCapture()
{
    Capture& capture = TheCapture();
    if (!capture.hook) {
        capture.target = nullptr;
        return;
    }
    const HHOOK hook = capture.hook.Get();
    LogHook(capture.hook.Remove() ? "key capture: hook %lx removed\r\n"
                                  : "key capture: hook %lx could not be removed\r\n",
            hook);
    capture.target = nullptr;
    capture.stamps.clear();
}

// One key event, as the hook saw it.
void DeliverKey(DWORD virtualKey, bool released)
{
    Capture& capture = TheCapture();
    if (!capture.hook)
        return;
    // Nobody to deliver to: a window destroyed without stopping its capture must not leave a
    // desktop-wide hook behind it.
    if (!::IsWindow(capture.target)) {
        RemoveCapture();
        return;
    }
    // Stamped before posting: the stamp is the moment the hook saw the key.
    const int64_t now = KeyCaptureClockUs();
    if (!::PostMessageA(capture.target, WM_KBDHOOK_KEY, virtualKey, released ? LLKHF_UP : 0))
        return;
    if (capture.stamps.size() >= kMaxStamps)
        capture.stamps.pop_front();
    capture.stamps.push_back({virtualKey, released, now});
}

LRESULT CALLBACK KeyCaptureProc(int code, WPARAM wParam, LPARAM lParam)
{
    // Passed on first: the key reaches the system whatever the capture does with it, also when
    // the capture removes itself below.
    const LRESULT next = ::CallNextHookEx(nullptr, code, wParam, lParam);
    if (code == HC_ACTION) {
        const auto& event = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        DeliverKey(event.vkCode, (event.flags & LLKHF_UP) != 0);
    }
    return next;
}

} // namespace

bool StartKeyCapture(HWND target)
{
    if (target == nullptr || !::IsWindow(target))
        return false;
    Capture& capture = TheCapture();
    if (!capture.hook) {
        capture.hook = CWindowsHook::LowLevel(WH_KEYBOARD_LL, &KeyCaptureProc);
        LogHook("key capture: hook %lx set\r\n", capture.hook.Get());
        if (!capture.hook) {
            capture.target = nullptr;
            return false;
        }
    }
    // Stamps of keys meant for the window that had the capture are not the new target's.
    if (capture.target != target)
        capture.stamps.clear();
    capture.target = target;
    return true;
}

void StopKeyCapture()
{
    RemoveCapture();
}

void StopKeyCapture(HWND target)
{
    if (target != nullptr && TheCapture().target == target)
        RemoveCapture();
}

HWND KeyCaptureTarget()
{
    const Capture& capture = TheCapture();
    return capture.hook ? capture.target : nullptr;
}

int64_t KeyCaptureClockUs()
{
    static const int64_t frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? static_cast<int64_t>(f.QuadPart) : int64_t{1000000};
    }();
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    // Split so that the multiplication cannot overflow however long the machine has been running.
    const int64_t ticks = counter.QuadPart;
    return ticks / frequency * 1000000 + ticks % frequency * 1000000 / frequency;
}

int64_t TakeKeyCaptureStamp(WPARAM virtualKey, LPARAM flags)
{
    std::deque<Stamp>& stamps = TheCapture().stamps;
    const bool released = (flags & LLKHF_UP) != 0;
    for (auto it = stamps.begin(); it != stamps.end(); ++it) {
        if (it->virtualKey == virtualKey && it->released == released) {
            const int64_t time = it->timeUs;
            stamps.erase(stamps.begin(), it + 1);
            return time;
        }
    }
    return KeyCaptureClockUs();
}
