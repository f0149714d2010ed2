// The host's life in order: the whole start once its window and services exist, the whole end with
// the read thread, the session's connect and disconnect, and where each timer of the hidden window
// goes. What each step does is the host's own (HostCore supplies the steps); the lifecycle keeps
// their order and the waits between them.
#pragma once

#include "Clock.h"

#include <cstdint>

// The thread that waits for the driver's events and calls ReadAndHandleEvent. The program owns it;
// the lifecycle decides when it starts and how long shut-down waits for it.
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
    Finished,         // read thread and device worker ended: device closed, macro worker ended, tray icon gone
    ReadThreadStuck,  // the read thread did not: keys released and tray icon gone, the device left open
    DeviceWorkerStuck // the device worker did not end its push: the same
};

class HostLifecycle {
public:
    // Gives the read thread time to finish the event it may be handling before the device goes.
    static constexpr int64_t kShutdownGraceMs = 1000;
    // How long shut-down waits for the read thread after the grace time. The longest event it
    // handles is a media command: four sends to a player, each bounded by the desktop port's send
    // time-out, with short waits between them.
    static constexpr uint32_t kReadThreadExitWaitMs = 10000;
    // How long shut-down then waits for the device worker to finish the push that runs and the one
    // asked for: a full push takes under three seconds.
    static constexpr uint32_t kDeviceWorkerExitWaitMs = 10000;

    // The host's steps that the lifecycle runs.
    class Steps {
    public:
        virtual ~Steps() = default;
        // The stored profile set becomes the host's and is shared with the configuration program.
        virtual void LoadAndShareProfileSet() = 0;
        virtual void StartMacroWorker() = 0;
        // Starts the thread that pushes to the keyboard.
        virtual void StartDeviceWorker() = 0;
        // Opens the device and runs the open sequence, and records whether the keyboard is there.
        virtual void StartUp() = 0;
        // Starts the on-screen display.
        virtual void StartDisplay() = 0;
        // No more game watch, the other programs asked to close, key events no longer dispatched,
        // playback stopped.
        virtual void BeginShutdown() = 0;
        // After the read thread has left: no push is taken any more, and the running and the waiting
        // one finish. True when the device worker ended within timeoutMs.
        virtual bool EndDeviceWorker(uint32_t timeoutMs) = 0;
        // After the read thread and the device worker have left: device closed, macro worker ended with every held key
        // released, tray icon gone.
        virtual void FinishShutdown() = 0;
        // The read thread or the device worker did not leave: the macro worker ends with every key released and the tray
        // icon goes, but the device stays open.
        virtual void FinishShutdownLeavingTheDevice() = 0;
        // Console connect: opens the device when it is closed, then the open sequence.
        virtual void ConnectSession() = 0;
        // Console disconnect: the keyboard recorded as gone and the device closed.
        virtual void DisconnectSession() = 0;
        virtual void OnGameWatchTimer() = 0;
        virtual void OnCountdownTimer() = 0;
        virtual void OnTrayRetryTimer() = 0;
    };

    HostLifecycle(Steps& steps, Clock& clock) : m_steps(steps), m_clock(clock) {}

    // The whole start, in this order: the stored profile set loaded and shared, the read thread
    // started (before the device opens, so that no event of the open sequence is missed), the macro
    // worker and the device worker started, start-up, and the on-screen display started last. False, with nothing opened,
    // when the read thread cannot start.
    bool Start(ReadThread& readThread);
    // The whole end: BeginShutdown, the read thread woken, the grace time, a bounded wait for the
    // thread, a bounded wait for the device worker to finish its pushes, then FinishShutdown, so
    // that the device closes after the last push. When a thread does not end in time it is stuck in
    // a driver call that holds the device's lock: the macro worker still ends with every key
    // released and the tray icon goes, but the device is not closed (that would wait for the lock),
    // and the caller must keep the host and its ports alive, since the thread may still return into
    // them; the end of the process ends the thread.
    ShutdownOutcome ShutDown(ReadThread& readThread);
    // WM_WTSSESSION_CHANGE: 1 console connect, 2 console disconnect; other changes do nothing.
    void OnSessionChange(uint32_t change);
    // WM_TIMER of the hidden window: the game watch, the countdown's tick or the tray icon's retry.
    void OnTimer(uint32_t id);

private:
    Steps& m_steps;
    Clock& m_clock;
};
