// The keyboard layout of the calling thread, through the system's key translation.
#pragma once

#include "KeyboardLayout.h"

class WinKeyboardLayout final : public KeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t vk) const override;
    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override;
    // Uses the thread's key translation state: a pending accent typed by the user is lost.
    uint8_t VirtualKeyToAscii(uint32_t vk) const override;
};
