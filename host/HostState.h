// State the host's parts share: the ports, the profile set behind its lock, and the link flags.
#pragma once

#include "GuardedProfileSet.h"
#include "KeyboardLayout.h"
#include "Ports.h"
#include "Records.h"

#include <atomic>
#include <cstdint>
#include <string>

// The platform services, handed to each part of the host.
struct HostPorts {
    Clock& clock;
    FilterDriver& driver;
    InputSink& input;
    const KeyboardLayout& layout;
    SharedBlock& shared;
    DesktopWindows& windows;
    SystemSettings& settings;
    ProgramLauncher& launcher;
    NotificationArea& tray;
    SoundPlayer& sound;
    ForegroundProcess& foreground;
    WindowTimers& timers;
};

// Process-wide state of the host.
struct HostState {
    std::string programFolder; // ends in the separator
    GuardedProfileSet profiles;
    std::atomic<bool> deviceConnected{false}; // the keyboard is present and the link set up
    std::atomic<bool> quit{false};            // shutting down: key events are no longer dispatched
    std::atomic<bool> openConfigAtStart{false};
};

// The folder without its trailing separator, as the launch paths ("%s\TolkCfg.exe") want it.
std::string FolderWithoutSeparator(const std::string& folder);
