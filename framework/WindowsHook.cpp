#include "WindowsHook.h"

#include <utility>

CWindowsHook::CWindowsHook(CWindowsHook&& other) noexcept : m_hook(std::exchange(other.m_hook, nullptr)) {}

CWindowsHook& CWindowsHook::operator=(CWindowsHook&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_hook = std::exchange(other.m_hook, nullptr);
    }
    return *this;
}

CWindowsHook CWindowsHook::ForThread(int type, HOOKPROC procedure, DWORD threadId)
{
    return CWindowsHook(::SetWindowsHookExA(type, procedure, nullptr, threadId));
}

CWindowsHook CWindowsHook::LowLevel(int type, HOOKPROC procedure)
{
    // Low-level hooks are global: the system wants the module the procedure lives in.
    return CWindowsHook(::SetWindowsHookExA(type, procedure, ::GetModuleHandleA(nullptr), 0));
}

bool CWindowsHook::Remove() noexcept
{
    if (m_hook == nullptr)
        return true;
    return ::UnhookWindowsHookEx(std::exchange(m_hook, nullptr)) != FALSE;
}
