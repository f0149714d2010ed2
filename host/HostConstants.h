// Numbers of the host's own: its private window messages, timers and tray commands. What the
// other programs agree on (messages between the programs, window titles) is in LinkNames.h.
#pragma once

#include "LinkNames.h"

#include <cstdint>

// Window messages within the host.
constexpr uint32_t WM_TRAY_NOTIFY = 1036; // tray icon callback of the host's window
constexpr uint32_t WM_MACRO_PLAY = 1616;  // to the macro thread

// Window messages of the system that the core sends.
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmKeyUp = 0x0101;
constexpr uint32_t kWmCommand = 0x0111;
constexpr uint32_t kWmAppCommand = 0x0319;

// Timers of the host's hidden window.
constexpr uint32_t kGameWatchTimerId = 500;
constexpr uint32_t kCountdownTimerId = 600;
constexpr uint32_t kTrayRetryTimerId = 700;
constexpr uint32_t kSessionRegistrationTimerId = 800;
constexpr uint32_t kGameWatchPeriodMs = 2000;
constexpr uint32_t kCountdownPeriodMs = 1000;
constexpr uint32_t kSessionRegistrationRetryMs = 1000;

// Tray menu commands.
constexpr uint32_t kCmdTrayConfiguration = 6001;
constexpr uint32_t kCmdTrayExit = 6002;
