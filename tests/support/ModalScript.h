// A user's steps through a modal dialog: each step runs from the message loop the dialog is in,
// after its delay, so that it can click and type into the open dialog. The next step is timed
// before a step runs, so a step that opens a nested modal loop (a confirmation, a popup menu) is
// followed by the next step inside that loop; such a step best ends with the click that opens the
// loop, and the step after the answer looks at the result. When every step has run and the dialog is still
// open, the script closes whatever is open on this thread, again and again until the dialog has
// ended: a click that missed fails the test instead of hanging it.
#pragma once

#include "Dialog.h"

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

class ModalScript {
public:
    // The code the script ends a dialog with when it gives up.
    static constexpr INT_PTR kMissed = -5;

    ModalScript() = default;
    ~ModalScript()
    {
        if (m_timer != 0)
            ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Then(DWORD delayMs, std::function<void()> step) { m_steps.emplace_back(delayMs, std::move(step)); }

    // Calls run, which opens the modal dialog and returns when it has ended, with the steps running
    // meanwhile; returns what run returns.
    template <class Run>
    auto RunModal(Run&& run)
    {
        s_current = this;
        Arm();
        return run();
    }

    // True when the script had to close something the steps left open.
    bool GaveUp() const { return m_gaveUp; }

private:
    static constexpr DWORD kGiveUpAfterMs = 4000;

    void Arm()
    {
        const DWORD delay = m_next < m_steps.size() ? m_steps[m_next].first : kGiveUpAfterMs;
        m_timer = ::SetTimer(nullptr, 0, delay, &ModalScript::OnTimer);
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        ModalScript* script = s_current;
        if (script == nullptr || id != script->m_timer)
            return;
        script->m_timer = 0;
        if (script->m_next < script->m_steps.size()) {
            const auto step = script->m_steps[script->m_next++].second;
            if (script->m_next < script->m_steps.size())
                script->Arm();
            ++script->m_running;
            step();
            --script->m_running;
            // The patience runs from the end of the last step, which may have taken a while.
            if (script->m_next == script->m_steps.size() && script->m_running == 0 && script->m_timer == 0)
                script->Arm();
            return;
        }
        script->m_gaveUp = true;
        script->Arm();
        CloseInnermost();
    }
    // An open menu first, else the active dialog of this program.
    static void CloseInnermost()
    {
        if (::FindWindowA("#32768", nullptr) != nullptr) {
            ::EndMenu();
            return;
        }
        if (auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandle(::GetActiveWindow())))
            dialog->EndDialog(kMissed);
    }

    static inline ModalScript* s_current = nullptr;
    std::vector<std::pair<DWORD, std::function<void()>>> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
    int m_running = 0; // steps under way, one inside another's nested loop
    bool m_gaveUp = false;
};
