// Plays the macro of a key as synthetic key and mouse input with its recorded timing, on a worker
// of its own, so that key events keep flowing while a macro plays.
//
// Rules a player of this keyboard keeps:
// - a press of a macro key starts its macro; a press of the same key while it plays stops it; a
//   press of another macro key stops the running one and starts the new one after 1500 ms;
// - a looping macro plays again after each pass until any macro key event clears the loop;
// - pause/resume stops at the current event and continues there later, pressing again the keys it
//   had to let go; stop ends playback;
// - whenever playback stops or ends, every key and button it still holds is released, most recent
//   first, 50 ms apart, so no key is ever left pressed;
// - each wait aims at a deadline counted from the start of the pass (previous deadline + the
//   event's delay, 0 played as 1 ms), so oversleeping one wait shortens the next instead of
//   adding up; the schedule starts when the first key has gone out, so a slow first send delays
//   the whole macro rather than shortening its first gap; a key held longer than 500 ms repeats
//   every 33 ms as the keyboard would.
#pragma once

#include "KeyboardLayout.h"
#include "Ports.h"
#include "Records.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class MacroPlayer {
public:
    static constexpr int64_t kSwitchDelayMs = 1500;
    static constexpr int64_t kReleaseSpacingMs = 50;
    static constexpr int64_t kLongHoldMs = 500;
    static constexpr int64_t kAutoRepeatMs = 33;
    // Longest stretch a wait runs without looking at the stop request.
    static constexpr int64_t kStopPollMs = 10;

    // What a macro key event asks for; the caller carries out a delayed start itself, so that the
    // 1500 ms wait happens on its own thread.
    enum class KeyDecision { None, StartNow, StartAfterSwitch };

    MacroPlayer(Clock& clock, InputSink& input, const KeyboardLayout& layout);
    ~MacroPlayer();
    MacroPlayer(const MacroPlayer&) = delete;
    MacroPlayer& operator=(const MacroPlayer&) = delete;

    // A macro key event on key index k (0..4): the full rule, including the wait of a switch.
    void MacroKey(int k, bool release, const ButtonInfo& info);
    // The decision part of MacroKey: clears the loop and the pause, requests a stop when needed.
    KeyDecision DecideMacroKey(int k, bool release);
    // Loads the key's macro (at most 512 events) and asks the worker to play it.
    void Start(int k, const ButtonInfo& info);

    void PauseResume();
    void StopMacro();

    // The worker on a thread of its own, which first does the input path's first-use work so that
    // the first macro keeps its timing. Without it, tests drive the worker with RunPending.
    void StartWorker();
    // Stops playback (releasing what is held), ends the worker and waits for it.
    void Shutdown();
    // Plays every queued request on the calling thread; false when there was none.
    bool RunPending();

    // A macro plays or is about to (its request is queued).
    bool Playing() const { return m_busy.load() > 0; }
    bool Paused() const { return m_paused.load(); }
    int LastMacroKey() const { return m_lastMacroKey.load(); }
    int CurrentAction() const { return m_curAction.load(); }

private:
    struct Request {
        bool quit;
        uint32_t generation; // a play request of an older macro is dropped
    };
    struct Held {
        uint8_t code;
        int64_t holdUntilUs; // end of the long hold it is in, else 0
    };

    void Post(Request request);
    void WorkerLoop();
    void Play(uint32_t generation);
    // One pass over events [start, end); false when it was stopped before its end.
    bool Pass(const std::vector<MacroEvent>& events, int start, int end, int64_t& deadline, uint32_t generation);
    // Moves deadline to now after the first key of a playback went out.
    void Anchor(int64_t& deadline);
    void PrepareThread();
    void Press(uint8_t code);
    void Release(uint8_t code);
    void SendCode(uint8_t code, bool up);
    void ReleaseAllHeld();
    bool StopRequested(uint32_t generation) const;
    // Waits until deadline, returning early (false) when a stop is requested.
    bool WaitUntil(int64_t deadline, uint32_t generation);

    Clock& m_clock;
    InputSink& m_input;
    const KeyboardLayout& m_layout;

    std::mutex m_loadMutex; // guards m_actions and m_resume
    std::vector<MacroEvent> m_actions;
    std::vector<Held> m_resume; // keys released by a pause, to press again on resume
    std::atomic<int> m_actionCount{0};
    std::atomic<int> m_curAction{0};
    std::atomic<bool> m_repeat{false};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_busy{0}; // play requests queued or running
    std::atomic<bool> m_paused{false};
    std::atomic<int> m_lastMacroKey{-1};
    std::atomic<uint32_t> m_generation{0}; // changes with every start: a pass of an older macro stops

    std::vector<Held> m_held;     // worker only
    bool m_anchorPending = false; // worker only: no key of this playback has gone out yet

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<Request> m_queue;
    std::thread m_worker;
};
