#include "Countdown.h"

#include "HostConstants.h"

#include <limits>

Countdown::Countdown(WindowTimers& timers, SoundPlayer& sound, std::string programFolder)
    : m_timers(timers), m_sound(sound), m_programFolder(std::move(programFolder))
{
}

std::string Countdown::SoundPath(const char* name) const
{
    return m_programFolder + "Wav\\" + name;
}

void Countdown::Play(const char* name)
{
    m_sound.PlaySound(SoundPath(name), SoundPlayer::kFileAsyncNoWait);
}

void Countdown::StartCountdown(int32_t seconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_running.load())
        m_timers.Kill(kCountdownTimerId);
    m_remaining.store(seconds);
    m_running.store(true);
    Play(kStartedSound);
    m_timers.Set(kCountdownTimerId, kCountdownPeriodMs);
    if (seconds == 10)
        Play(kLastTenSound);
}

void Countdown::StopCountdown()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_running.load())
        return;
    m_timers.Kill(kCountdownTimerId);
    m_running.store(false);
    m_sound.PlaySound("", SoundPlayer::kPurge);
    Play(kStoppedSound);
}

void Countdown::CountdownTick()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_running.load())
        return;
    const int32_t r = m_remaining.load();
    if (r > std::numeric_limits<int32_t>::min())
        m_remaining.store(r - 1);
    if (r == 11) {
        Play(kLastTenSound);
    } else if (r <= 1) {
        m_timers.Kill(kCountdownTimerId);
        m_running.store(false);
    }
}
