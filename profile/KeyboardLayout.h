// The platform's current keyboard layout, as far as key codes and key names need it.
#pragma once

#include <cstdint>
#include <functional>

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

// One answer of the platform's translation of a single key press with no modifier and no lock on.
struct KeyTranslation {
    // -1: a dead key, with the accent it shows in chars[0]; 0: no character; 1 or 2: that many
    // characters (two when an accent pending from an earlier press does not combine with the key).
    int count = 0;
    uint8_t chars[2] = {};
};

// The translation of one press of vk. Like the platform's, it may keep a dead key's accent pending
// and combine it with the next press.
using KeyTranslator = std::function<KeyTranslation(uint32_t vk)>;

// The character vk types through translate, as VirtualKeyToAscii gives it; for two characters the
// first. A dead key gives the accent its own press shows, never a character of another key, also
// where the translation keeps no accent pending. The accent it leaves pending is ended by pressing
// the same key again (an accent followed by itself comes out as text), so that the next press, the
// user's next keystroke, is translated as if nothing had been asked.
uint8_t TranslatedCharacter(uint32_t vk, const KeyTranslator& translate);
