// Numbers and names both programs and the outside programs agree on.
#pragma once

#include <cstdint>

// Window messages between the programs.
constexpr uint32_t WM_HOST_APPLY = 1224;       // configuration program -> host, sent (waits)
constexpr uint32_t WM_CFG_DEVICE_READY = 1254; // host -> configuration program, posted
constexpr uint32_t WM_CFG_DATA_CHANGED = 1255; // host -> configuration program, posted
constexpr uint32_t WM_OSD_COMMAND = 1324;      // host -> on-screen display, posted
constexpr uint32_t WM_TRAY_NOTIFY = 1036;      // tray icon callback of the host's window
constexpr uint32_t WM_MACRO_PLAY = 1616;       // to the macro thread

constexpr uint32_t kOsdHide = 20; // wParam of WM_OSD_COMMAND

// Window messages of the system that the core sends.
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmKeyUp = 0x0101;
constexpr uint32_t kWmCommand = 0x0111;
constexpr uint32_t kWmAppCommand = 0x0319;

// Timers of the host's hidden window.
constexpr uint32_t TIMER_GAME_WATCH = 500;
constexpr uint32_t TIMER_COUNTDOWN = 600;
constexpr uint32_t kGameWatchPeriodMs = 2000;
constexpr uint32_t kCountdownPeriodMs = 1000;

// Tray menu commands.
constexpr uint32_t ID_TRAY_CONFIGURATION = 6001;
constexpr uint32_t ID_TRAY_EXIT = 6002;

// Window titles by which the programs find each other.
constexpr const char kHostWindowTitle[] = "ZentorTolkHid";
constexpr const char kConfigWindowTitle[] = "ZENTOR Tolk Config";
constexpr const char kOsdWindowTitle[] = "Tolk OSD";
