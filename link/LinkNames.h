// The numbers and names by which the host, the configuration program and the outside programs
// (the on-screen display) find and talk to each other. Every one is fixed: the other programs and
// earlier releases rely on them exactly as they are.
#pragma once

#include <cstddef>
#include <cstdint>

// Window messages between the programs.
constexpr uint32_t WM_HOST_APPLY = 1224;       // configuration program -> host, sent (waits)
constexpr uint32_t WM_CFG_DEVICE_READY = 1254; // host -> configuration program, posted
constexpr uint32_t WM_CFG_DATA_CHANGED = 1255; // host -> configuration program, posted
constexpr uint32_t WM_OSD_COMMAND = 1324;      // host -> on-screen display, posted

constexpr uint32_t kOsdHide = 20; // wParam of WM_OSD_COMMAND

// Window titles by which the programs find each other (FindWindow with no class, exact title).
constexpr const char kHostWindowTitle[] = "ZentorTolkHid";
constexpr const char kConfigWindowTitle[] = "ZENTOR Tolk Config";
constexpr const char kOsdWindowTitle[] = "Tolk OSD";

// The mutexes by which each program keeps to one copy per session. Earlier releases and their
// installers look for them, and our installer closes the running programs by them.
constexpr const char kHostInstanceMutexName[] = "ZentorTolk_HidHost";
constexpr const char kConfigInstanceMutexName[] = "Zentor_Tolk_configure";

// The named objects of the shared block: the lock that guards every copy and the page-file mapping
// that holds one profile set.
// The spelling ("Zentore", "OfMutexObject") is odd, but the configuration program opens these names.
constexpr const char kSharedBlockLockName[] = "Zentore_Tolk_OfMutexObject";
constexpr const char kSharedBlockMappingName[] = "Zentor_Tolk_Share_Data";
// One ProfileSet, copied whole (SharedBlock.h checks it against the record).
constexpr size_t kSharedBlockSize = 65544;
