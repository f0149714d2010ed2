// The owner of one Windows hook: installed with SetWindowsHookEx, removed with UnhookWindowsHookEx
// when the owner is destroyed, reset or assigned another. No hook handle is held anywhere else.
#pragma once

#include <windows.h>

class CWindowsHook {
public:
    CWindowsHook() noexcept = default;
    ~CWindowsHook() { Reset(); }
    CWindowsHook(CWindowsHook&& other) noexcept;
    CWindowsHook& operator=(CWindowsHook&& other) noexcept;
    CWindowsHook(const CWindowsHook&) = delete;
    CWindowsHook& operator=(const CWindowsHook&) = delete;

    // A hook on one thread of this process (WH_CBT, WH_GETMESSAGE, WH_CALLWNDPROC, WH_KEYBOARD,
    // WH_MOUSE and the like); procedure runs on that thread. Empty when it could not be installed.
    static CWindowsHook ForThread(int type, HOOKPROC procedure, DWORD threadId = ::GetCurrentThreadId());
    // A low-level hook of the desktop's input (WH_KEYBOARD_LL, WH_MOUSE_LL); procedure runs on the
    // installing thread, which must keep handling messages or the system times the hook out.
    static CWindowsHook LowLevel(int type, HOOKPROC procedure);

    HHOOK Get() const noexcept { return m_hook; }
    explicit operator bool() const noexcept { return m_hook != nullptr; }
    // Removes the hook (if any); its procedure is called no more.
    void Reset() noexcept { Remove(); }
    // As Reset; false only when the system refused to remove the hook. Either way this owner holds
    // no hook afterwards.
    bool Remove() noexcept;

private:
    explicit CWindowsHook(HHOOK hook) noexcept : m_hook(hook) {}

    HHOOK m_hook = nullptr;
};
