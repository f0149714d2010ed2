// The owners of the system's handles that the adapters use: the framework's move-only owners
// (UniqueHandle.h), and three more kinds the host alone needs.
#pragma once

#include "WinApi.h"

#include "UniqueHandle.h"

// Kernel handles; both NULL and INVALID_HANDLE_VALUE mean none, since the system's calls return one
// or the other on failure.
using WinHandle = UniqueHandle;
using WinMappedView = UniqueView;

struct RegKeyTraits {
    using Pointer = HKEY;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer k) noexcept { return k != nullptr; }
    static void Close(Pointer k) noexcept { ::RegCloseKey(k); }
};
using WinRegKey = UniqueResource<RegKeyTraits>;

// Memory the system allocated for us with LocalAlloc (string SIDs, security descriptors).
struct LocalMemoryTraits {
    using Pointer = void*;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer p) noexcept { return p != nullptr; }
    static void Close(Pointer p) noexcept { ::LocalFree(p); }
};
using WinLocalMemory = UniqueResource<LocalMemoryTraits>;

struct IconTraits {
    using Pointer = HICON;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer i) noexcept { return i != nullptr; }
    static void Close(Pointer i) noexcept { ::DestroyIcon(i); }
};
using WinIcon = UniqueResource<IconTraits>;
