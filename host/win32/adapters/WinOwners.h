// Owning wrappers of the system's handles, one per kind: each closes what it holds exactly once,
// moves but never copies.
#pragma once

#include "WinApi.h"

#include <utility>

// Closes its value with Close::Free unless it is one of the kind's "no object" values.
template <class T, class Close> class WinOwner {
public:
    WinOwner() = default;
    explicit WinOwner(T value) : m_value(value) {}
    ~WinOwner() { Reset(); }
    WinOwner(const WinOwner&) = delete;
    WinOwner& operator=(const WinOwner&) = delete;
    WinOwner(WinOwner&& other) noexcept : m_value(std::exchange(other.m_value, Close::Empty())) {}
    WinOwner& operator=(WinOwner&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_value = std::exchange(other.m_value, Close::Empty());
        }
        return *this;
    }

    T Get() const { return m_value; }
    explicit operator bool() const { return Close::Valid(m_value); }
    void Reset(T value = Close::Empty())
    {
        if (Close::Valid(m_value))
            Close::Free(m_value);
        m_value = value;
    }
    T Release() { return std::exchange(m_value, Close::Empty()); }

private:
    T m_value = Close::Empty();
};

// Kernel handles; both NULL and INVALID_HANDLE_VALUE mean none, since the system's calls return one
// or the other on failure.
struct WinHandleClose {
    static HANDLE Empty() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { CloseHandle(h); }
};
using WinHandle = WinOwner<HANDLE, WinHandleClose>;

struct WinMappedViewClose {
    static void* Empty() { return nullptr; }
    static bool Valid(void* p) { return p != nullptr; }
    static void Free(void* p) { UnmapViewOfFile(p); }
};
using WinMappedView = WinOwner<void*, WinMappedViewClose>;

struct WinRegKeyClose {
    static HKEY Empty() { return nullptr; }
    static bool Valid(HKEY k) { return k != nullptr; }
    static void Free(HKEY k) { RegCloseKey(k); }
};
using WinRegKey = WinOwner<HKEY, WinRegKeyClose>;

// Memory the system allocated for us with LocalAlloc (string SIDs, security descriptors).
struct WinLocalMemoryClose {
    static void* Empty() { return nullptr; }
    static bool Valid(void* p) { return p != nullptr; }
    static void Free(void* p) { LocalFree(p); }
};
using WinLocalMemory = WinOwner<void*, WinLocalMemoryClose>;

struct WinIconClose {
    static HICON Empty() { return nullptr; }
    static bool Valid(HICON i) { return i != nullptr; }
    static void Free(HICON i) { DestroyIcon(i); }
};
using WinIcon = WinOwner<HICON, WinIconClose>;
