// Drives a modal dialog as a user would: steps run one after another from the dialog's own message
// loop, each after its delay. The run always ends: a last step the script never should reach
// ends the dialog with kMissed, so a click that missed fails the test instead of hanging it.
#pragma once

#include "Dialog.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

class ModalScript {
public:
    explicit ModalScript(CDialog& dialog) : m_dialog(dialog) {}
    ~ModalScript()
    {
        if (m_timer != 0)
            ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Then(DWORD delayMs, std::function<void()> step) { m_steps.emplace_back(delayMs, std::move(step)); }

    // Runs the dialog modally without an owner; its result, or kMissed.
    INT_PTR RunModal()
    {
        Then(3000, [this] { m_dialog.EndDialog(kMissed); });
        s_current = this;
        Arm();
        return m_dialog.DoModal(nullptr);
    }

    static constexpr INT_PTR kMissed = -5;

private:
    void Arm()
    {
        m_timer = m_next < m_steps.size() ? ::SetTimer(nullptr, 0, m_steps[m_next].first, &ModalScript::OnTimer) : 0;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(nullptr, id);
        ModalScript* script = s_current;
        if (script == nullptr || id != script->m_timer)
            return;
        script->m_timer = 0;
        const auto step = script->m_steps[script->m_next++].second;
        step();
        if (::IsWindow(script->m_dialog.GetSafeHwnd()))
            script->Arm();
    }

    static inline ModalScript* s_current = nullptr;
    CDialog& m_dialog;
    std::vector<std::pair<DWORD, std::function<void()>>> m_steps;
    std::size_t m_next = 0;
    UINT_PTR m_timer = 0;
};
