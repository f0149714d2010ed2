#include "KeyCapture.h"

#include "WindowsHook.h"

#include <cstdint>
#include <cstdio>

namespace {

// The one capture of the process; touched only on the user-interface thread (the hook procedure
// runs there too).
struct Capture {
    CWindowsHook hook;
    HWND target = nullptr;
};

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
    LogHook("Hhook: %lx\r\n", capture.hook.Get());
    ::OutputDebugStringA(capture.hook.Remove() ? "UnHhook: Success \r\n" : "UnHhook: Fail \r\n");
    capture.target = nullptr;
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
    ::PostMessageA(capture.target, WM_KBDHOOK_KEY, virtualKey, released ? LLKHF_UP : 0);
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
        LogHook("Hhook: %lx\r\n", capture.hook.Get());
        if (!capture.hook) {
            capture.target = nullptr;
            return false;
        }
    }
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
