// The host window's registration for session-change notices (console connect and disconnect).
#pragma once

#include "Ports.h"

#include <functional>

// Early at log-on the system may refuse the registration while its terminal services start. The
// first try is made at once; a refused one is tried again on a window timer
// (kSessionRegistrationTimerId, every kSessionRegistrationRetryMs), ten tries in all, after which the
// host runs without the notices. The window never waits for it. Used on the window's thread only.
class SessionRegistration {
public:
    static constexpr int kTries = 10;

    // tryRegister makes one registration call and says whether the system took it.
    SessionRegistration(WindowTimers& timers, std::function<bool()> tryRegister);

    // The first try; on refusal the retry timer starts.
    void Start();
    // kSessionRegistrationTimerId expired: the next try. The timer stops when a try is taken and
    // after the last try.
    void OnRetryTimer();
    // The window goes: no more tries.
    void Stop();

    bool Registered() const { return m_registered; }
    // The retry timer runs.
    bool Retrying() const { return m_retrying; }

private:
    void Try();
    void StopTimer();

    WindowTimers& m_timers;
    std::function<bool()> m_tryRegister;
    int m_tries = 0;
    bool m_registered = false;
    bool m_retrying = false;
};
