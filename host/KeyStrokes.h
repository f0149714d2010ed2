// How a virtual key goes out as synthetic input: the virtual key to send, its set-1 scan code and
// whether it is an extended key (one the keyboard sends with an E0 prefix). An extended key sent
// without the flag reaches a program that reads scan codes as a different key: Left Arrow as keypad
// 4, right Alt (AltGr) as left Alt.
#pragma once

#include "KeyboardLayout.h"

#include <cstdint>

struct KeyStroke {
    uint8_t vk;
    uint8_t scan;
    bool extended;
};

// The E0 scan code of an extended key, 0 for every other key. Left and right modifiers are told
// apart (right Ctrl and right Alt are extended, their left twins and both Shift keys are not); the
// keypad Enter is the key table's VK_SEPARATOR (VK_RETURN is the main Enter).
uint8_t ExtendedScanCode(uint32_t vk);

// The stroke that plays vk: extended keys with their fixed scan code and the flag, every other key
// with the layout's scan code; left and right modifiers go out as the generic modifier (so right
// Ctrl and right Alt are told apart by the flag alone, and right Shift takes the generic Shift's
// scan code). The keypad Enter goes out as Enter with the extended flag, as the keyboard sends it.
KeyStroke KeyStrokeFor(uint32_t vk, const KeyboardLayout& layout);
