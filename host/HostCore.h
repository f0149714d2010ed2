// The host's decisions, wired together: the device link with its entry points and the open
// sequence, key dispatch, Mode and reset handling, profile switching, the apply request from the
// configuration program, the window timers and the core half of shut-down. The Win32 program only
// turns messages, threads and handles into these calls.
#pragma once

#include "Countdown.h"
#include "HostState.h"
#include "Launcher.h"
#include "MacroPlayer.h"
#include "MediaKeys.h"
#include "TrayIcon.h"

#include <cstdint>
#include <mutex>

class HostCore {
public:
    static constexpr int64_t kTransferPacingMs = 100;
    static constexpr int64_t kArrivalSettleMs = 1500;

    // eventHandleValue: the value of the semaphore handle the driver releases once per event.
    HostCore(HostPorts ports, HostState& state, uint32_t eventHandleValue);

    // Device link. Each transfer does nothing and fails while the device is closed.
    bool OpenDevice();
    void CloseDevice();
    // Reads firmware, profile, Mode, the 25 key sequences and the key switches into the profile
    // set; saves and shares the set when the Mode could be read (the result).
    bool PullAllFromDevice();
    // Sends profile, Mode, the 25 key sequences and the key switches, 100 ms apart, then aligns
    // NumLock.
    void PushAllToDevice();
    // The firmware check that starts every open sequence: records the version and starts the
    // updater when the packaged firmware differs.
    void CheckFirmware();
    // Firmware check, pull, NumLock, the configuration program told, tray icon, Device = 1.
    void OpenSequence();

    // Before start-up: the profile set from the profile files of the program folder (defaults for
    // what they lack) becomes the host's, and is shared with the configuration program.
    void LoadAndShareProfileSet();

    // Window creation: opens the device and runs the open sequence; brings up the configuration
    // program when asked to on the command line (and no update started); records Device.
    void StartUp();
    // WM_DEVICECHANGE: opens the device when it is closed. Always true.
    bool OnDeviceChange();
    // WM_WTSSESSION_CHANGE: 1 console connect, 2 console disconnect.
    void OnSessionChange(uint32_t change);
    // WM_HOST_APPLY: takes the shared block (never trusting it) and pushes it to the keyboard.
    void OnHostApply();
    // WM_TIMER of the hidden window.
    void OnTimer(uint32_t id);

    // The read thread, woken by the driver: reads one event and handles it. False when the read
    // failed (the event is skipped).
    bool ReadAndHandleEvent();
    void OnDeviceEvent(uint32_t word);

    // Dispatch of a reported key (value = the event's low 16 bits).
    void DispatchKey(uint16_t value);
    void SetMode(int32_t mode);
    void SyncNumLock();
    void ResetToDefaults();
    void SetCurrentProfile(int32_t profile);

    // Shut-down, first half: no more game watch, the other programs asked to close, key events no
    // longer dispatched, playback stopped.
    void BeginShutdown();
    // Second half, after the read thread has left: device closed, macro worker ended with every
    // held key released, tray icon gone.
    void FinishShutdown();

    MacroPlayer& Player() { return m_player; }
    Countdown& Timer() { return m_countdown; }
    MediaKeys& Media() { return m_media; }
    TrayIcon& Tray() { return m_tray; }

private:
    bool Control(uint32_t code, uint8_t* buffer);
    // The open sequence up to the tray icon; start-up and arrival record Device after it.
    void ReadyDevice();
    void ShareSet();
    void PostToConfig(uint32_t message);
    void Pace() { m_ports.clock.SleepMs(kTransferPacingMs); }

    HostPorts m_ports;
    HostState& m_state;
    uint32_t m_eventHandleValue;
    std::mutex m_driverMutex; // one call at a time reaches the driver, from either thread
    MacroPlayer m_player;
    Countdown m_countdown;
    MediaKeys m_media;
    TrayIcon m_tray;
};

// A profile set received from the other program, made safe to use: a CurrentProfile outside 1..5
// keeps the host's own, event counts above 512 are clamped, and every string field ends inside
// its field.
void SanitizeAppliedSet(ProfileSet& incoming, int32_t currentProfile);
