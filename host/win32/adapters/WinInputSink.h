// Synthetic keyboard and mouse input through the system's input queue, as a user's own keys.
#pragma once

#include "Ports.h"

class WinInputSink final : public InputSink {
public:
    void SendKey(uint8_t vk, uint8_t scan, uint32_t flags) override;
    void SendMouse(uint32_t flags, uint32_t data) override;
    // The toggle state of the calling thread's view of the keyboard.
    bool NumLockToggled() override;
};
