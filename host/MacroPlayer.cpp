#include "MacroPlayer.h"

#include "KeyStrokes.h"
#include "KeyTable.h"
#include "Log.h"

#include <algorithm>

namespace {

constexpr uint8_t kFirstMouseCode = 0xF0;
constexpr uint8_t kLastMouseCode = 0xF4;

struct MouseFlags {
    uint32_t press;
    uint32_t release;
    uint32_t data;
};

// 0xF3 is the second extra button and 0xF4 the first.
constexpr MouseFlags kMouse[] = {
    {InputSink::kLeftDown, InputSink::kLeftUp, 0},
    {InputSink::kRightDown, InputSink::kRightUp, 0},
    {InputSink::kMiddleDown, InputSink::kMiddleUp, 0},
    {InputSink::kExtraDown, InputSink::kExtraUp, InputSink::kExtraButton2}, // side 1
    {InputSink::kExtraDown, InputSink::kExtraUp, InputSink::kExtraButton1}, // side 2
};

bool IsMouse(uint8_t code)
{
    return code >= kFirstMouseCode && code <= kLastMouseCode;
}

} // namespace

MacroPlayer::MacroPlayer(Clock& clock, InputSink& input, const KeyboardLayout& layout)
    : m_clock(clock), m_input(input), m_layout(layout), m_actions(kMaxMacroEvents)
{
}

MacroPlayer::~MacroPlayer()
{
    Shutdown();
}

void MacroPlayer::MacroKey(int k, bool release, const ButtonInfo& info)
{
    KeyDecision decision = DecideMacroKey(k, release);
    if (decision == KeyDecision::StartAfterSwitch)
        m_clock.SleepMs(kSwitchDelayMs);
    if (decision != KeyDecision::None)
        Start(k, info);
}

MacroPlayer::KeyDecision MacroPlayer::DecideMacroKey(int k, bool release)
{
    m_repeat = false; // a looping macro ends after its current pass
    KeyDecision decision = KeyDecision::None;
    if (Playing()) {
        if (!release) {
            m_stop = true;
            if (k != m_lastMacroKey.load())
                decision = KeyDecision::StartAfterSwitch;
        }
    } else if (!release) {
        decision = KeyDecision::StartNow;
    }
    // Any macro key event ends a pause for good; what the pause let go stays released.
    m_paused = false;
    std::lock_guard<std::mutex> lock(m_loadMutex);
    m_resume.clear();
    return decision;
}

void MacroPlayer::Start(int k, const ButtonInfo& info)
{
    {
        std::lock_guard<std::mutex> lock(m_loadMutex);
        m_actions.assign(info.MacroEvents, info.MacroEvents + kMaxMacroEvents);
        m_resume.clear();
    }
    m_curAction = 0;
    m_actionCount = std::min<int>(info.MacroEventCount, kMaxMacroEvents);
    m_repeat = info.MacroLoop != 0;
    uint32_t generation = ++m_generation; // a pass of the previous macro stops at once
    m_stop = false;
    m_lastMacroKey = k;
    ++m_busy;
    Post({false, generation});
}

void MacroPlayer::PauseResume()
{
    if (m_paused) {
        m_paused = false;
        m_stop = false;
        ++m_busy;
        Post({false, m_generation.load()});
    } else if (Playing()) {
        ++m_generation;
        m_paused = true;
        m_stop = true;
    }
}

void MacroPlayer::StopMacro()
{
    if (Playing() || m_paused) {
        m_paused = false;
        m_stop = true;
        ++m_generation;
        std::lock_guard<std::mutex> lock(m_loadMutex);
        m_resume.clear();
    }
}

void MacroPlayer::Post(Request request)
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.push_back(request);
    }
    m_queueChanged.notify_one();
}

void MacroPlayer::StartWorker()
{
    if (!m_worker.joinable())
        m_worker = std::thread([this] { WorkerLoop(); });
}

void MacroPlayer::Shutdown()
{
    m_repeat = false;
    m_paused = false;
    m_stop = true;
    ++m_generation;
    if (m_worker.joinable()) {
        Post({true, 0});
        m_worker.join();
    }
    std::lock_guard<std::mutex> lock(m_queueMutex);
    m_queue.clear();
    m_busy = 0;
}

void MacroPlayer::WorkerLoop()
{
    PrepareThread();
    for (;;) {
        Request request;
        {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return !m_queue.empty(); });
            request = m_queue.front();
            m_queue.pop_front();
        }
        if (request.quit)
            return;
        Play(request.generation);
    }
}

bool MacroPlayer::RunPending()
{
    bool any = false;
    for (;;) {
        Request request;
        {
            std::lock_guard<std::mutex> lock(m_queueMutex);
            if (m_queue.empty())
                return any;
            request = m_queue.front();
            m_queue.pop_front();
        }
        if (request.quit)
            return any;
        any = true;
        Play(request.generation);
    }
}

bool MacroPlayer::StopRequested(uint32_t generation) const
{
    return m_stop.load() || m_generation.load() != generation;
}

bool MacroPlayer::WaitUntil(int64_t deadline, uint32_t generation)
{
    for (;;) {
        int64_t now = m_clock.NowUs();
        if (now >= deadline)
            return true;
        if (StopRequested(generation))
            return false;
        m_clock.SleepUntilUs(std::min(deadline, now + kStopPollMs * 1000));
    }
}

void MacroPlayer::Play(uint32_t generation)
{
    if (generation != m_generation.load() || m_stop.load()) {
        --m_busy; // the macro it was for has been stopped or replaced already
        return;
    }
    std::vector<MacroEvent> events;
    std::vector<Held> resume;
    {
        std::lock_guard<std::mutex> lock(m_loadMutex);
        events = m_actions; // this playback's own copy: a switch never changes it underneath
        resume.swap(m_resume);
    }
    const int end = std::min(m_actionCount.load(), static_cast<int>(events.size()));
    int start = std::clamp(m_curAction.load(), 0, end);
    if (start >= end && !m_repeat)
        resume.clear(); // nothing left to play: nothing to press again either

    int64_t deadline = m_clock.NowUs();
    m_anchorPending = true;
    bool stopped = false;
    // A resume first presses again what the pause let go, then goes on where it stopped.
    for (const Held& h : resume) {
        if (StopRequested(generation)) {
            stopped = true;
            break;
        }
        Press(h.code);
        Anchor(deadline);
        int64_t wait = h.holdUntilUs > 0 ? std::max<int64_t>(h.holdUntilUs, 1000) : kReleaseSpacingMs * 1000;
        deadline += wait;
        if (!WaitUntil(deadline, generation)) {
            stopped = true;
            break;
        }
    }
    if (!stopped && start >= end && m_repeat)
        start = 0;

    while (!stopped) {
        const int64_t passStart = deadline;
        if (!Pass(events, start, end, deadline, generation)) {
            stopped = true;
            break;
        }
        start = 0;
        m_curAction = 0;
        if (end == 0 || !m_repeat || StopRequested(generation))
            break;
        // A pass that took no time (only events without waits) must not spin while it loops.
        if (deadline == passStart) {
            deadline += 1000;
            if (!WaitUntil(deadline, generation)) {
                stopped = true;
                break;
            }
        }
    }
    if (stopped && m_paused) {
        // Remember what to press again on resume: the held keys in the order they went down,
        // with the rest of a long hold that was cut short.
        int64_t now = m_clock.NowUs();
        std::vector<Held> keep;
        for (const Held& h : m_held)
            keep.push_back({h.code, h.holdUntilUs > now ? h.holdUntilUs - now : 0});
        std::lock_guard<std::mutex> lock(m_loadMutex);
        m_resume = std::move(keep);
    } else {
        m_curAction = 0;
    }
    ReleaseAllHeld();
    --m_busy;
}

bool MacroPlayer::Pass(const std::vector<MacroEvent>& events, int start, int end, int64_t& deadline,
                       uint32_t generation)
{
    for (int i = start; i < end; ++i) {
        if (StopRequested(generation)) {
            m_curAction = i;
            LogDebug("TolkHid: macro stopped before event %d (events %d to %d)\n", i, start, end);
            return false;
        }
        m_curAction = i;
        const MacroEvent ev = events[static_cast<size_t>(i)];
        const int64_t delayUs = (ev.Delay ? ev.Delay : 1) * int64_t(1000);
        bool waited = true;
        if (ev.Action == kKeyRelease) {
            Release(ev.Key);
            Anchor(deadline);
            deadline += delayUs;
            waited = WaitUntil(deadline, generation);
        } else if (ev.Action == kKeyPress) {
            Press(ev.Key);
            Anchor(deadline);
            const int64_t next = deadline + delayUs;
            if (!IsMouse(ev.Key) && delayUs > kLongHoldMs * 1000) {
                // A long hold repeats like the keyboard's auto-repeat until the next event is due.
                m_held.back().holdUntilUs = next;
                int64_t tick = deadline + kLongHoldMs * 1000;
                while (waited && tick < next) {
                    waited = WaitUntil(tick, generation);
                    if (!waited)
                        break;
                    SendCode(ev.Key, true);
                    SendCode(ev.Key, false);
                    tick += kAutoRepeatMs * 1000;
                }
            }
            deadline = next;
            if (waited)
                waited = WaitUntil(deadline, generation);
        } else if (!IsMouse(ev.Key)) {
            // An unknown action value presses the key without a wait; it is held like any press,
            // so it is released when playback ends.
            Press(ev.Key);
            Anchor(deadline);
        } else {
            deadline += delayUs;
            waited = WaitUntil(deadline, generation);
        }
        if (!waited) {
            m_curAction = i + 1;
            LogDebug("TolkHid: macro stopped during the wait after event %d (events %d to %d)\n", i, start, end);
            return false;
        }
    }
    LogDebug("TolkHid: macro played events %d to %d\n", start, end);
    return true;
}

void MacroPlayer::Anchor(int64_t& deadline)
{
    if (!m_anchorPending)
        return;
    m_anchorPending = false;
    deadline = std::max(deadline, m_clock.NowUs());
}

void MacroPlayer::PrepareThread()
{
    // The platform sets the layout service, the input path and the clock's waits up per thread on
    // first use, which can take tens of milliseconds (under Wine the layout opens the thread's own
    // display connection; on Windows the first input call makes the thread a GUI thread).
    constexpr uint8_t kUsageA = 0x04;
    KeyStrokeFor(UsageToVirtualKey(kUsageA, m_layout).value_or(0), m_layout);
    m_input.NumLockToggled();
    m_clock.SleepUntilUs(m_clock.NowUs());
}

void MacroPlayer::Press(uint8_t code)
{
    m_held.push_back({code, 0});
    SendCode(code, false);
}

void MacroPlayer::Release(uint8_t code)
{
    for (auto it = m_held.rbegin(); it != m_held.rend(); ++it)
        if (it->code == code) {
            m_held.erase(std::next(it).base());
            break;
        }
    SendCode(code, true);
}

void MacroPlayer::SendCode(uint8_t code, bool up)
{
    if (IsMouse(code)) {
        const MouseFlags& m = kMouse[code - kFirstMouseCode];
        m_input.SendMouse(up ? m.release : m.press, m.data);
        return;
    }
    const KeyStroke key = KeyStrokeFor(UsageToVirtualKey(code, m_layout).value_or(0), m_layout);
    m_input.SendKey(key.vk, key.scan, (key.extended ? InputSink::kExtendedKey : 0) | (up ? InputSink::kKeyUp : 0));
}

void MacroPlayer::ReleaseAllHeld()
{
    // Most recent first, 50 ms apart; this runs to its end whatever is requested meanwhile.
    for (auto it = m_held.rbegin(); it != m_held.rend(); ++it) {
        SendCode(it->code, true);
        LogDebug("TolkHid: held key 0x%x released\n", static_cast<unsigned>(it->code));
        m_clock.SleepMs(kReleaseSpacingMs);
    }
    m_held.clear();
}
