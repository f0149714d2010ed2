// Move-only owners of Windows handles: each closes its handle with the call that kind needs when it
// goes out of scope, is reset or is assigned another. The one set of owners every Win32 folder uses.
#pragma once

#include <windows.h>

#include <utility>

// Traits: Pointer (the handle type), Invalid() (the "no handle" value), IsValid(h), Close(h).
template <class Traits>
class UniqueResource {
public:
    using Pointer = typename Traits::Pointer;

    UniqueResource() noexcept = default;
    // Takes ownership of value (an invalid value is accepted and owns nothing).
    explicit UniqueResource(Pointer value) noexcept : m_value(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : m_value(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Pointer Get() const noexcept { return m_value; }
    explicit operator bool() const noexcept { return Traits::IsValid(m_value); }

    // Gives up ownership without closing; the caller now owns the handle.
    Pointer Release() noexcept { return std::exchange(m_value, Traits::Invalid()); }

    // Closes the owned handle (if any), then owns value.
    void Reset(Pointer value = Traits::Invalid()) noexcept
    {
        Pointer old = std::exchange(m_value, value);
        if (Traits::IsValid(old))
            Traits::Close(old);
    }

private:
    Pointer m_value = Traits::Invalid();
};

struct KernelHandleTraits {
    using Pointer = HANDLE;
    static Pointer Invalid() noexcept { return nullptr; }
    // Creation calls report failure either as NULL or as INVALID_HANDLE_VALUE (CreateFile).
    static bool IsValid(Pointer h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Pointer h) noexcept { ::CloseHandle(h); }
};

struct ModuleTraits {
    using Pointer = HMODULE;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer h) noexcept { return h != nullptr; }
    static void Close(Pointer h) noexcept { ::FreeLibrary(h); }
};

struct MenuTraits {
    using Pointer = HMENU;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer h) noexcept { return h != nullptr; }
    static void Close(Pointer h) noexcept { ::DestroyMenu(h); }
};

template <class GdiHandle>
struct GdiObjectTraits {
    using Pointer = GdiHandle;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer h) noexcept { return h != nullptr; }
    static void Close(Pointer h) noexcept { ::DeleteObject(h); }
};

struct ViewTraits {
    using Pointer = void*;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer p) noexcept { return p != nullptr; }
    static void Close(Pointer p) noexcept { ::UnmapViewOfFile(p); }
};

struct RegKeyTraits {
    using Pointer = HKEY;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer k) noexcept { return k != nullptr; }
    static void Close(Pointer k) noexcept { ::RegCloseKey(k); }
};

// Memory the system allocated for us with LocalAlloc (string SIDs, security descriptors).
struct LocalMemoryTraits {
    using Pointer = void*;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer p) noexcept { return p != nullptr; }
    static void Close(Pointer p) noexcept { ::LocalFree(p); }
};

struct IconTraits {
    using Pointer = HICON;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer i) noexcept { return i != nullptr; }
    static void Close(Pointer i) noexcept { ::DestroyIcon(i); }
};

struct HwndTraits {
    using Pointer = HWND;
    static Pointer Invalid() noexcept { return nullptr; }
    static bool IsValid(Pointer h) noexcept { return h != nullptr; }
    // Works only on the thread that created the window, as DestroyWindow does.
    static void Close(Pointer h) noexcept { ::DestroyWindow(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>; // CloseHandle
using UniqueModule = UniqueResource<ModuleTraits>;       // FreeLibrary
using UniqueMenu = UniqueResource<MenuTraits>;           // DestroyMenu
// DeleteObject; the handle type may be narrowed, as UniqueGdiObject<HBITMAP>. The object must not be
// selected into a device context when it is closed.
template <class GdiHandle = HGDIOBJ>
using UniqueGdiObject = UniqueResource<GdiObjectTraits<GdiHandle>>;
using UniqueView = UniqueResource<ViewTraits>;     // UnmapViewOfFile
using UniqueHwnd = UniqueResource<HwndTraits>;     // DestroyWindow
using UniqueRegKey = UniqueResource<RegKeyTraits>; // RegCloseKey (advapi32)
using UniqueIcon = UniqueResource<IconTraits>;     // DestroyIcon
// LocalFree
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
