#include "KeyStrokes.h"

namespace {

constexpr uint8_t kVkReturn = 0x0D;
constexpr uint8_t kVkSeparator = 0x6C; // the key table's code of the keypad Enter

struct ExtendedKey {
    uint8_t vk;
    uint8_t scan; // the code after the E0 prefix
};

// The keys of the enhanced keyboard outside the typing block that send an E0 prefix, by the
// virtual key the layout gives them; the same in every layout.
constexpr ExtendedKey kExtendedKeys[] = {
    {0x21, 0x49}, // Page Up
    {0x22, 0x51}, // Page Down
    {0x23, 0x4F}, // End
    {0x24, 0x47}, // Home
    {0x25, 0x4B}, // Left Arrow
    {0x26, 0x48}, // Up Arrow
    {0x27, 0x4D}, // Right Arrow
    {0x28, 0x50}, // Down Arrow
    {0x2C, 0x37}, // Print Screen
    {0x2D, 0x52}, // Insert
    {0x2E, 0x53}, // Delete
    {0x5B, 0x5B}, // left Windows key
    {0x5C, 0x5C}, // right Windows key
    {0x5D, 0x5D}, // menu (application) key
    {0x5F, 0x5F}, // Sleep
    {0x6C, 0x1C}, // keypad Enter
    {0x6F, 0x35}, // keypad divide
    {0x90, 0x45}, // Num Lock (no prefix on the wire, an extended key to the system)
    {0xA3, 0x1D}, // right Ctrl
    {0xA5, 0x38}, // right Alt (AltGr)
};

// Left and right modifiers are played as the generic ones.
uint8_t GenericModifier(uint32_t vk)
{
    switch (vk) {
    case 0xA0:
    case 0xA1: return 0x10;
    case 0xA2:
    case 0xA3: return 0x11;
    case 0xA4:
    case 0xA5: return 0x12;
    default: return static_cast<uint8_t>(vk);
    }
}

} // namespace

uint8_t ExtendedScanCode(uint32_t vk)
{
    for (const ExtendedKey& key : kExtendedKeys)
        if (key.vk == vk)
            return key.scan;
    return 0;
}

KeyStroke KeyStrokeFor(uint32_t vk, const KeyboardLayout& layout)
{
    if (vk > 0xFF)
        return {0, 0, false};
    if (const uint8_t scan = ExtendedScanCode(vk))
        return {vk == kVkSeparator ? kVkReturn : GenericModifier(vk), scan, true};
    const uint8_t generic = GenericModifier(vk);
    return {generic, static_cast<uint8_t>(layout.VirtualKeyToScanCode(generic)), false};
}
