// Drives a modal dialog as a user would: steps run one after another from the message loop the
// dialog is in, each after its delay. The run always ends: when the steps are done and the dialog
// is still open, the script closes what is open, so a click that missed fails the test instead of
// hanging it.
//
// A step that opens a loop of its own inside the dialog's (a confirmation dialog, a popup menu)
// is added with ThenOpening: the next step is timed before it runs and so runs inside that loop.
// Such a step best ends with the click that opens the loop; the step after the answer looks at
// the result.
#pragma once

#include "Dialog.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

// The dialog of class T the user has in front of them, or null.
template <class T>
T* ActiveDialog()
{
    return dynamic_cast<T*>(CWnd::FromHandle(::GetActiveWindow()));
}

class ModalScript {
public:
    // The result of a dialog the script had to end.
    static constexpr INT_PTR kMissed = -5;

    explicit ModalScript(CDialog& dialog) : m_dialog(&dialog) {}
    // For a dialog that the code under test makes and runs itself (see RunModal(run)).
    ModalScript() = default;
    ~ModalScript()
    {
        if (m_timer != 0)
            ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Then(DWORD delayMs, std::function<void()> step) { m_steps.push_back({delayMs, std::move(step), false, {}}); }
    // A step that opens a nested loop: the next step runs inside it.
    void ThenOpening(DWORD delayMs, std::function<void()> step)
    {
        m_steps.push_back({delayMs, std::move(step), true, {}});
    }
    // A step that runs once ready() holds (a dialog opened), looked for every few milliseconds, or
    // once the patience is over without it, so that its own checks fail.
    void ThenWhen(std::function<bool()> ready, std::function<void()> step)
    {
        m_steps.push_back({kPollMs, std::move(step), false, std::move(ready)});
    }

    // Calls run, which opens a modal dialog and returns when it has ended, with the steps running
    // meanwhile; returns what run returns.
    template <class Run>
    std::invoke_result_t<Run&> RunModal(Run&& run)
    {
        s_current = this;
        Arm();
        auto result = run();
        m_done = true;
        return result;
    }

    // Runs the dialog given at construction modally without an owner; its result, or kMissed.
    INT_PTR RunModal()
    {
        return RunModal([this] { return m_dialog->DoModal(nullptr); });
    }

    // True when the script had to close something the steps left open.
    bool GaveUp() const { return m_gaveUp; }

private:
    struct Step {
        DWORD delayMs;
        std::function<void()> run;
        bool opensLoop;
        std::function<bool()> ready; // empty: the delay is all the step waits for
    };
    static constexpr DWORD kPatienceMs = 3000;
    static constexpr DWORD kRetryMs = 500;
    static constexpr DWORD kPollMs = 20;

    void Arm(DWORD delay) { m_timer = ::SetTimer(nullptr, 0, delay, &ModalScript::OnTimer); }
    void Arm()
    {
        m_armedAt = ::GetTickCount();
        Arm(m_next < m_steps.size() ? m_steps[m_next].delayMs : kPatienceMs);
    }
    bool Over() const { return m_done || (m_dialog != nullptr && !::IsWindow(m_dialog->GetSafeHwnd()) && m_started); }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        ModalScript* script = s_current;
        if (script == nullptr || id != script->m_timer)
            return;
        script->m_timer = 0;
        script->m_started = true;
        if (script->Over())
            return;
        if (script->m_next < script->m_steps.size()) {
            const std::function<bool()>& ready = script->m_steps[script->m_next].ready;
            if (ready && !ready() && ::GetTickCount() - script->m_armedAt < kPatienceMs) {
                script->Arm(kPollMs);
                return;
            }
            const Step step = script->m_steps[script->m_next++];
            if (step.opensLoop)
                script->Arm();
            ++script->m_running;
            step.run();
            --script->m_running;
            // The next step is timed from the end of this one (the patience from the end of the
            // last), unless it was timed already.
            if (script->m_running == 0 && script->m_timer == 0 && !script->Over())
                script->Arm();
            return;
        }
        script->m_gaveUp = true;
        script->Arm(kRetryMs);
        script->CloseInnermost();
    }

    // An open menu first, else the active dialog, else the script's own.
    void CloseInnermost() const
    {
        if (::FindWindowA("#32768", nullptr) != nullptr) {
            ::EndMenu();
            return;
        }
        if (auto* active = dynamic_cast<CDialog*>(CWnd::FromHandle(::GetActiveWindow())))
            active->EndDialog(kMissed);
        else if (m_dialog != nullptr)
            m_dialog->EndDialog(kMissed);
    }

    static inline ModalScript* s_current = nullptr;
    CDialog* m_dialog = nullptr;
    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_armedAt = 0; // when the next step's turn came
    int m_running = 0;   // steps under way, one inside another's nested loop
    bool m_started = false;
    bool m_done = false;
    bool m_gaveUp = false;
};
