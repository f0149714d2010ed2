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

// The thread that waits for the driver's events and calls ReadAndHandleEvent. The program owns it;
// the core decides when it starts and how long shut-down waits for it.
class ReadThread {
public:
    virtual ~ReadThread() = default;
    // Starts the thread; false when it could not be started.
    virtual bool Start() = 0;
    // Wakes it once, as an event from the driver would, so that it sees the host is quitting.
    virtual void Wake() = 0;
    // True when the thread ended within timeoutMs (or never ran).
    virtual bool WaitForEnd(uint32_t timeoutMs) = 0;
};

// How shut-down ended.
enum class ShutdownOutcome {
    Finished,          // the read thread ended: device closed, worker ended, tray icon gone
    ReadThreadStuck    // it did not: keys released and tray icon gone, the device left open
};

class HostCore {
public:
    // Gives the read thread time to finish the event it may be handling before the device goes.
    static constexpr int64_t kShutdownGraceMs = 1000;
    // How long shut-down waits for the read thread after the grace time. The longest event it
    // handles is a media command: four sends to a player, each bounded by the desktop port's send
    // time-out, with short waits between them.
    static constexpr uint32_t kReadThreadExitWaitMs = 10000;

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

    // The whole start of the host once its window and services exist, in this order: the stored
    // profile set loaded and shared, the read thread started (before the device opens, so that no
    // event of the open sequence is missed), the macro worker started, StartUp, and the on-screen
    // display started last. False, with nothing opened, when the read thread cannot start.
    bool Start(ReadThread& readThread);
    // The whole end of the host: BeginShutdown, the read thread woken, the grace time, a bounded
    // wait for the thread, then FinishShutdown. When the thread does not end in time it is stuck
    // in a driver call that holds the device's lock: the macro worker still ends with every key
    // released and the tray icon goes, but the device is not closed (that would wait for the
    // lock), and the caller must keep the core and its ports alive, since the thread may still
    // return into them; the end of the process ends the thread.
    ShutdownOutcome ShutDown(ReadThread& readThread);
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

