// The host's decisions, wired together from three pieces that are read and tested alone: the device
// link (DeviceLink: the transfers, their pacing and their lock), key dispatch (DispatchKey) and the
// lifecycle (HostLifecycle: start, shut-down, session, timers). What is left here is what joins them
// to the host's state: the open sequence, events, Mode and NumLock, reset, profile switching, the
// apply request from the configuration program and the device worker that pushes to the keyboard. The Win32 program only turns messages, threads and
// handles into these calls.
#pragma once

#include "Countdown.h"
#include "DeviceLink.h"
#include "DeviceWorker.h"
#include "HostLifecycle.h"
#include "HostState.h"
#include "Launcher.h"
#include "MacroPlayer.h"
#include "MediaKeys.h"
#include "TrayIcon.h"

#include <cstdint>

class HostCore final : private HostLifecycle::Steps {
public:
    // The keyboard settles this long after it arrives before the open sequence talks to it.
    static constexpr int64_t kArrivalSettleMs = 1500;

    // eventHandleValue: the value of the semaphore handle the driver releases once per event.
    HostCore(HostPorts ports, HostState& state, uint32_t eventHandleValue);

    // Device link. Opening also starts the game watch and records the keyboard as connected.
    bool OpenDevice();
    void CloseDevice();
    // Reads firmware, profile, Mode, the 25 key sequences and the key switches into the profile
    // set; saves and shares the set when the Mode could be read (the result).
    bool PullAllFromDevice();
    // The push itself, on the calling thread: sends what the keyboard holds differently from the
    // host's set (DeviceLink::Push), then aligns NumLock. Does nothing while the device is closed.
    // The device worker runs it.
    void PushToDevice();
    // Asks the device worker for a push and returns at once.
    void RequestPush();
    // The firmware check that starts every open sequence: records the version and starts the
    // updater when the packaged firmware differs.
    void CheckFirmware();
    // Firmware check, pull, NumLock, the configuration program told, tray icon, Device = 1.
    void OpenSequence();

    // Before start-up: the profile set from the profile files of the program folder (defaults for
    // what they lack) becomes the host's, and is shared with the configuration program.
    void LoadAndShareProfileSet() override;

    // Window creation: opens the device and runs the open sequence; brings up the configuration
    // program when asked to on the command line (and no update started); records Device.
    void StartUp() override;

    // The whole start and the whole end of the host (see HostLifecycle).
    bool Start(ReadThread& readThread) { return m_lifecycle.Start(readThread); }
    ShutdownOutcome ShutDown(ReadThread& readThread) { return m_lifecycle.ShutDown(readThread); }
    // WM_DEVICECHANGE: opens the device when it is closed. Always true.
    bool OnDeviceChange();
    // WM_WTSSESSION_CHANGE: 1 console connect, 2 console disconnect.
    void OnSessionChange(uint32_t change) { m_lifecycle.OnSessionChange(change); }
    // WM_HOST_APPLY: takes the shared block (never trusting it) as the host's set and asks for a
    // push of it; the answer does not wait for the keyboard.
    void OnHostApply();
    // WM_TIMER of the hidden window.
    void OnTimer(uint32_t id) { m_lifecycle.OnTimer(id); }

    // The read thread, woken by the driver: reads one event and handles it. False when the read
    // failed (the event is skipped).
    bool ReadAndHandleEvent();
    void OnDeviceEvent(uint32_t word);

    // Dispatch of a reported key (value = the event's low 16 bits): the key of the current profile
    // goes to DispatchKey.
    void DispatchKey(uint16_t value);
    void SetMode(KeyboardMode mode);
    void SyncNumLock();
    void ResetToDefaults();
    // The game watch's switch: the host's set, the block and the configuration program at once, the
    // keyboard by a push.
    void SetCurrentProfile(int32_t profile);

    // Shut-down, first half: no more game watch, the other programs asked to close, key events no
    // longer dispatched, playback stopped.
    void BeginShutdown() override;
    // Second half, after the read thread and the device worker have left: device closed, macro worker ended with every
    // held key released, tray icon gone.
    void FinishShutdown() override;

    DeviceLink& Link() { return m_link; }
    MacroPlayer& Player() { return m_player; }
    Countdown& Timer() { return m_countdown; }
    MediaKeys& Media() { return m_media; }
    TrayIcon& Tray() { return m_tray; }
    DeviceWorker& Pushes() { return m_deviceWorker; }

private:
    // The lifecycle's other steps.
    void StartMacroWorker() override;
    void StartDeviceWorker() override;
    bool EndDeviceWorker(uint32_t timeoutMs) override;
    void StartDisplay() override;
    void FinishShutdownLeavingTheDevice() override;
    void ConnectSession() override;
    void DisconnectSession() override;
    void OnGameWatchTimer() override;
    void OnCountdownTimer() override;
    void OnTrayRetryTimer() override;

    // The open sequence up to the tray icon; start-up and arrival record Device after it.
    void ReadyDevice();
    void ShareSet();
    void PostToConfig(uint32_t message);

    HostPorts m_ports;
    HostState& m_state;
    DeviceLink m_link;
    MacroPlayer m_player;
    Countdown m_countdown;
    MediaKeys m_media;
    TrayIcon m_tray;
    HostLifecycle m_lifecycle;
    // Last, so that it ends before the members its pushes use go.
    DeviceWorker m_deviceWorker;
};
