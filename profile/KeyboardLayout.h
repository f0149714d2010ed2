// The platform's current keyboard layout, as far as key codes and key names need it.
#pragma once

#include <cstdint>

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;

    // Set-1 scan code, without an extended prefix, of the key that produces virtual-key vk in this
    // layout; 0 when the layout has no such key.
    virtual uint32_t VirtualKeyToScanCode(uint32_t vk) const = 0;

    // Virtual-key code of the key at scan code scan, telling left and right modifiers apart; 0 when
    // the key produces none.
    virtual uint32_t ScanCodeToVirtualKey(uint32_t scan) const = 0;

    // The character (a byte of the ANSI code page) that vk types with no modifier pressed and no lock
    // on; 0 when it types none. A dead key gives the accent it shows and leaves no pending accent.
    virtual uint8_t VirtualKeyToAscii(uint32_t vk) const = 0;
};

// The US 101/102-key layout, used where the platform offers no layout service and in tests.
const KeyboardLayout& UsKeyboardLayout();
