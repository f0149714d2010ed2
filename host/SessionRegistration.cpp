#include "SessionRegistration.h"

#include "HostConstants.h"
#include "Log.h"

#include <utility>

SessionRegistration::SessionRegistration(WindowTimers& timers, std::function<bool()> tryRegister)
    : m_timers(timers), m_tryRegister(std::move(tryRegister))
{
}

void SessionRegistration::Start()
{
    if (m_tries == 0)
        Try();
}

void SessionRegistration::OnRetryTimer()
{
    if (m_retrying)
        Try();
}

void SessionRegistration::Stop()
{
    StopTimer();
}

void SessionRegistration::Try()
{
    ++m_tries;
    if (m_tryRegister()) {
        m_registered = true;
        StopTimer();
        return;
    }
    if (m_tries >= kTries) {
        StopTimer();
        LogDebug("TolkHid: no session notifications\n");
        return;
    }
    if (!m_retrying) {
        m_timers.Set(kSessionRegistrationTimerId, kSessionRegistrationRetryMs);
        m_retrying = true;
    }
}

void SessionRegistration::StopTimer()
{
    if (m_retrying) {
        m_timers.Kill(kSessionRegistrationTimerId);
        m_retrying = false;
    }
}
