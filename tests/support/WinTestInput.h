// Input and screen helpers of the tests that drive real windows under Wine: the user's pointer and
// keys as the system delivers them, and what the screen shows.
#pragma once

#include "Wnd.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

// Runs the messages waiting now, as the program's loop does (PreTranslateMessage first).
void PumpPending();
// Runs the thread's messages for a while, as the program's loop does (PreTranslateMessage first).
void Pump(DWORD milliseconds);
// Runs the thread's messages as Pump does until done() holds or timeoutMs have passed; whether
// done() held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);
COLORREF ScreenPixel(POINT at);
// The centre of the window on the screen.
POINT CentreOf(const CWnd& window);
// Moves the pointer there and lets the windows see it.
void MoveMouse(POINT at);
// A left click there, with the pauses a hand leaves between move, press and release.
void Click(POINT at);
// Presses and releases the key; the caller pumps.
void PressKey(BYTE vk);
// One press (up false) or release of the key through SendInput, as a keyboard's own arrives; the
// caller pumps. Repeated presses without a release are a key held down.
void SendKeyInput(BYTE vk, bool up);
// Types text with the keys the keyboard layout has for its characters (Shift where needed).
void TypeText(const std::string& text);

// Runs steps, each after its delay, from whatever loop runs meanwhile: a tracked menu, a scroll bar
// following the mouse, a modal dialog. One script runs at a time.
class TimedSteps {
public:
    TimedSteps() = default;
    // Steps not yet run never run.
    ~TimedSteps()
    {
        if (m_timer != 0 && m_next < m_steps.size())
            ::KillTimer(nullptr, m_timer);
        if (s_current == this)
            s_current = nullptr;
    }
    TimedSteps(const TimedSteps&) = delete;
    TimedSteps& operator=(const TimedSteps&) = delete;

    void Then(DWORD delayMs, std::function<void()> step) { m_steps.push_back({delayMs, {}, std::move(step)}); }
    // A step that runs once ready() holds (a menu shows, a dialog opened), looked for every few
    // milliseconds from its turn on.
    void ThenWhen(std::function<bool()> ready, std::function<void()> step)
    {
        m_steps.push_back({kPollMs, std::move(ready), std::move(step)});
    }
    void Start()
    {
        s_current = this;
        Arm();
    }

private:
    struct Step {
        DWORD delayMs;
        std::function<bool()> ready; // empty: the delay is all the step waits for
        std::function<void()> run;
    };
    static constexpr DWORD kPollMs = 10;

    void Arm(DWORD delayMs) { m_timer = ::SetTimer(nullptr, 0, delayMs, &TimedSteps::OnTimer); }
    void Arm()
    {
        if (m_next < m_steps.size())
            Arm(m_steps[m_next].delayMs);
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        TimedSteps* script = s_current;
        if (script == nullptr)
            return;
        ::KillTimer(nullptr, script->m_timer);
        const Step& step = script->m_steps[script->m_next];
        if (step.ready && !step.ready()) {
            script->Arm(kPollMs);
            return;
        }
        ++script->m_next;
        step.run();
        script->Arm();
    }

    static inline TimedSteps* s_current = nullptr;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};
