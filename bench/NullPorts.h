// Ports that do nothing, for benchmarks that run the host's core without the rest of the desktop
// (the shared block's is the link's NullSharedBlock).
#pragma once

#include "Ports.h"
#include "Records.h"

#include <optional>
#include <string>

namespace bench {

struct NullWindows : DesktopWindows {
    WindowId FindWindow(const std::string&, const std::string&) override { return 0; }
    WindowId NextWindow(WindowId) override { return 0; }
    std::string WindowTitle(WindowId) override { return {}; }
    std::string WindowClass(WindowId) override { return {}; }
    bool PostMessage(WindowId, uint32_t, uintptr_t, intptr_t) override { return false; }
    intptr_t SendMessage(WindowId, uint32_t, uintptr_t, intptr_t) override { return 0; }
    void SetForeground(WindowId) override {}
    void ActivateAttached(WindowId) override {}
    void RestoreAndActivate(WindowId) override {}
    WindowId HostWindow() override { return 0; }
};
struct NullSettings : SystemSettings {
    std::optional<std::string> ReadRegistryString(const std::string&, const std::string&) override { return {}; }
    std::string ExpandEnvironment(const std::string& t) override { return t; }
};
struct NullLauncher : ProgramLauncher {
    void Run(const std::string&) override {}
    void ShellOpen(const std::string&, const std::string&) override {}
};
struct NullTray : NotificationArea {
    bool AddTrayIcon() override { return true; }
    void RemoveTrayIcon() override {}
};
struct NullSound : SoundPlayer {
    void PlaySound(const std::string&, uint32_t) override {}
};
struct NullForeground : ForegroundProcess {
    std::optional<std::string> ModuleBaseName() override { return {}; }
};
struct NullTimers : WindowTimers {
    void Set(uint32_t, uint32_t) override {}
    void Kill(uint32_t) override {}
};

} // namespace bench
