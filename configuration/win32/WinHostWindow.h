// The running host as the configuration program reaches it: its hidden window, found by title.
#pragma once

#include "ConfigDocument.h"

#include <cstdint>

#include <windows.h>

// Posted to the answer window when the host answered an apply request, or when the time limit
// passed without an answer: wParam the request's number, lParam the HostWindow::Answer.
constexpr UINT WM_CFG_APPLY_ANSWER = WM_APP + 22;

class WinHostWindow final : public HostWindow {
public:
    // timeoutMs: how long an apply waits for the host's answer before it tells NoAnswer. The host
    // answers at once and pushes to the keyboard afterwards; an older host pushed first (about
    // three seconds), so the limit is generous.
    explicit WinHostWindow(uint32_t timeoutMs = 30000) : m_timeoutMs(timeoutMs) {}
    // The window the answers are posted to, on the thread that sends; set before the first apply.
    void SetAnswerWindow(HWND window) { m_answerTo = window; }
    // Sends without waiting (SendMessageCallback); the answer and the time limit's timer both come
    // through the sending thread's message loop and are posted to the answer window as
    // WM_CFG_APPLY_ANSWER. A window destroyed meanwhile takes its timer with it, and the late
    // answer's post to it fails harmlessly: nothing is called on a window that is gone.
    bool SendApply(uint32_t request) override;

private:
    uint32_t m_timeoutMs;
    HWND m_answerTo = nullptr;
};
