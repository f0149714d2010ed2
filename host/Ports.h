// The platform services the host's core calls. Each is a small interface of core types only, so the
// core runs on Linux under test with fakes, and the Win32 program supplies the real adapters.
#pragma once

#include "Clock.h"        // shared with the keyboard simulator
#include "FilterDriver.h" // implemented by the keyboard simulator too
#include "SharedBlock.h"  // the one port both programs implement

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Synthetic input and the NumLock state.
class InputSink {
public:
    static constexpr uint32_t kExtendedKey = 0x0001; // KEYEVENTF_EXTENDEDKEY
    static constexpr uint32_t kKeyUp = 0x0002;       // KEYEVENTF_KEYUP
    // Mouse button flags (MOUSEEVENTF_*); the extra buttons say which one in the data.
    static constexpr uint32_t kLeftDown = 0x0002;
    static constexpr uint32_t kLeftUp = 0x0004;
    static constexpr uint32_t kRightDown = 0x0008;
    static constexpr uint32_t kRightUp = 0x0010;
    static constexpr uint32_t kMiddleDown = 0x0020;
    static constexpr uint32_t kMiddleUp = 0x0040;
    static constexpr uint32_t kExtraDown = 0x0080;
    static constexpr uint32_t kExtraUp = 0x0100;
    static constexpr uint32_t kExtraButton1 = 1; // XBUTTON1
    static constexpr uint32_t kExtraButton2 = 2; // XBUTTON2

    virtual ~InputSink() = default;
    // keybd_event(vk, scan, flags)
    virtual void SendKey(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    // mouse_event(flags, 0, 0, data, extra info of the current message)
    virtual void SendMouse(uint32_t flags, uint32_t data) = 0;
    // The toggle bit of GetKeyState(VK_NUMLOCK).
    virtual bool NumLockToggled() = 0;
};

// Other programs' windows and the messages the host sends them.
using WindowId = uintptr_t; // 0: no window

class DesktopWindows {
public:
    virtual ~DesktopWindows() = default;
    // FindWindow(class, title); an empty string matches any.
    virtual WindowId FindWindow(const std::string& className, const std::string& title) = 0;
    // The next top-level window after window in z-order (GetWindow GW_HWNDNEXT); 0 after the last.
    virtual WindowId NextWindow(WindowId window) = 0;
    virtual std::string WindowTitle(WindowId window) = 0; // up to 260 characters
    virtual std::string WindowClass(WindowId window) = 0;
    virtual bool PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // Waits for the answer of another program's window for a bounded time only: a window that does
    // not answer in time, or whose program hangs, gives 0 and the caller goes on.
    virtual intptr_t SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    // SetForegroundWindow.
    virtual void SetForeground(WindowId window) = 0;
    // Brings window to the front with the foreground thread's input attached to the host's thread.
    virtual void ActivateAttached(WindowId window) = 0;
    // Restores window when minimised (SW_SHOWNORMAL), then SetForegroundWindow and SetActiveWindow.
    virtual void RestoreAndActivate(WindowId window) = 0;
    // The host's own hidden window.
    virtual WindowId HostWindow() = 0;
};

// What the system records for other programs: the registry and the environment.
class SystemSettings {
public:
    virtual ~SystemSettings() = default;
    // A string value of the registry; the path may start with a root name (see the media keys).
    virtual std::optional<std::string> ReadRegistryString(const std::string& path, const std::string& valueName) = 0;
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

// Programs and pages started for the user; whether they started is never checked.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // WinExec(commandLine, SW_SHOWNORMAL).
    virtual void Run(const std::string& commandLine) = 0;
    // ShellExecute(no owner, "open", file, parameters, no folder, SW_SHOW).
    virtual void ShellOpen(const std::string& file, const std::string& parameters) = 0;
};

// The host's icon in the notification area of the taskbar.
class NotificationArea {
public:
    virtual ~NotificationArea() = default;
    // NIM_ADD; true when the taskbar holds the icon afterwards (an icon it already holds is kept, not
    // doubled). False when the taskbar did not take it (it may not run yet, as at log-on).
    virtual bool AddTrayIcon() = 0;
    // NIM_DELETE.
    virtual void RemoveTrayIcon() = 0;
};

// PlaySound.
class SoundPlayer {
public:
    static constexpr uint32_t kFileAsyncNoWait = 0x22001; // SND_FILENAME | SND_NOWAIT | SND_ASYNC
    static constexpr uint32_t kPurge = 0x40;              // SND_PURGE

    virtual ~SoundPlayer() = default;
    // path empty: no sound name (used with kPurge to stop what plays).
    virtual void PlaySound(const std::string& path, uint32_t flags) = 0;
};

// The program that owns the foreground window.
class ForegroundProcess {
public:
    virtual ~ForegroundProcess() = default;
    // File name of the program of the foreground window's process ("game.exe"), whatever its
    // bitness or rights; nothing when there is no foreground window or its program cannot be named.
    virtual std::optional<std::string> ModuleBaseName() = 0;
};

// SetTimer / KillTimer on the host's hidden window; callable from any thread.
class WindowTimers {
public:
    virtual ~WindowTimers() = default;
    virtual void Set(uint32_t id, uint32_t periodMs) = 0;
    virtual void Kill(uint32_t id) = 0;
};
