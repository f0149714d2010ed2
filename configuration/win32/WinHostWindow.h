// The running host as the configuration program reaches it: its hidden window, found by title.
#pragma once

#include "ConfigDocument.h"

#include <cstdint>

class WinHostWindow final : public HostWindow {
public:
    // timeoutMs: how long an apply waits for the host's answer. The host pushes the whole set to
    // the keyboard before it answers (about three seconds), so the default is generous.
    explicit WinHostWindow(uint32_t timeoutMs = 30000) : m_timeoutMs(timeoutMs) {}
    Answer SendApply() override;

private:
    uint32_t m_timeoutMs;
};
