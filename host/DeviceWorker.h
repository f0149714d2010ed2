// The host's pushes to the keyboard, run on a thread of their own so that the window that asks for
// one answers its messages meanwhile. Pushes run one at a time, in the order they were asked for.
// A push asked for while one runs is not lost: it waits, and one waiting push stands for any number
// asked for meanwhile, since a push sends what differs from the keyboard's memory when it starts.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class DeviceWorker {
public:
    // push runs on the worker's thread (or on the caller's, through RunPending).
    explicit DeviceWorker(std::function<void()> push);
    // Ends the thread like End and waits for it without a limit.
    ~DeviceWorker();
    DeviceWorker(const DeviceWorker&) = delete;
    DeviceWorker& operator=(const DeviceWorker&) = delete;

    // Starts the thread; without it, tests run the pushes with RunPending.
    void Start();
    // Asks for a push and returns at once. False, with nothing asked, once End has begun.
    bool Request();
    // Runs the waiting push on the calling thread; false when none waits.
    bool RunPending();
    // From now on no push is taken; the one running and the one waiting still run. True when the
    // thread has ended within timeoutMs (or never ran). When it has not (a push stuck in a driver
    // call), it is left running: the caller keeps what the push reaches alive.
    bool End(uint32_t timeoutMs);

    // A push runs or waits.
    bool Busy() const;
    // Returns when no push runs or waits (with the thread started).
    void WaitUntilIdle();

private:
    void WorkerLoop();
    // Runs the waiting push with the lock released; lock is held on entry and on return.
    void RunOne(std::unique_lock<std::mutex>& lock);

    std::function<void()> m_push;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_waiting = false; // a push was asked for and has not started
    bool m_running = false;
    bool m_ending = false;
    bool m_threadLeft = false;
    std::thread m_thread;
};
