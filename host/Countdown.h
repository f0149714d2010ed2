// The one countdown of the host: started and stopped by keys on the read thread, counted down once
// a second by kCountdownTimerId on the UI thread, with sound cues from the program folder's "Wav\".
#pragma once

#include "Ports.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class Countdown {
public:
    static constexpr const char kStartedSound[] = "Countdown_Activated.wav";
    static constexpr const char kStoppedSound[] = "Countdown_stopped.wav";
    static constexpr const char kLastTenSound[] = "Countdown.wav";

    // programFolder ends in the separator.
    Countdown(WindowTimers& timers, SoundPlayer& sound, std::string programFolder);

    // Starts a countdown of seconds (the key's TimerSeconds); a running one is replaced without the
    // stop cue. A length of exactly 10 plays the last-ten cue at once; 0 or less ends at the first tick.
    void StartCountdown(int32_t seconds);
    // Ends a running countdown with the stop cue; does nothing when none runs.
    void StopCountdown();
    // One second has passed. A tick that arrives after the countdown ended (already queued when the
    // timer was killed from the other thread) does nothing.
    void CountdownTick();

    bool Running() const { return m_running.load(); }
    int32_t Remaining() const { return m_remaining.load(); }

    // program folder + "Wav\" + name
    std::string SoundPath(const char* name) const;

private:
    void Play(const char* name);

    WindowTimers& m_timers;
    SoundPlayer& m_sound;
    const std::string m_programFolder;
    // Start and stop run on the read thread, ticks on the UI thread; each step is whole under it.
    std::mutex m_mutex;
    std::atomic<bool> m_running{false};
    std::atomic<int32_t> m_remaining{0};
};
