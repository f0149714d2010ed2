#include "KeyboardLayout.h"

#include <cstddef>

namespace {

// How many more presses of a dead key may be needed until its pending accent has come out.
constexpr int kDeadKeyFlushTries = 4;

// Virtual key of each set-1 scan code without the extended prefix. The keypad codes give the
// navigation keys, as the keypad does with Num Lock off.
constexpr uint8_t kScanToVirtualKey[] = {
    0x00, 0x1B, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, // 0x00 .. Esc 1..6
    0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB, 0x08, 0x09, // 0x08 7 8 9 0 - = BackSpace Tab
    0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, // 0x10 Q W E R T Y U I
    0x4F, 0x50, 0xDB, 0xDD, 0x0D, 0xA2, 0x41, 0x53, // 0x18 O P [ ] Enter LCtrl A S
    0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C, 0xBA, // 0x20 D F G H J K L ;
    0xDE, 0xC0, 0xA0, 0xDC, 0x5A, 0x58, 0x43, 0x56, // 0x28 ' ` LShift \ Z X C V
    0x42, 0x4E, 0x4D, 0xBC, 0xBE, 0xBF, 0xA1, 0x6A, // 0x30 B N M , . / RShift keypad *
    0xA4, 0x20, 0x14, 0x70, 0x71, 0x72, 0x73, 0x74, // 0x38 LAlt Space Caps F1..F5
    0x75, 0x76, 0x77, 0x78, 0x79, 0x90, 0x91, 0x24, // 0x40 F6..F10 NumLock ScrollLock Home
    0x26, 0x21, 0x6D, 0x25, 0x0C, 0x27, 0x6B, 0x23, // 0x48 Up PgUp keypad - Left Clear Right keypad + End
    0x28, 0x22, 0x2D, 0x2E, 0x2C, 0x00, 0xE2, 0x7A, // 0x50 Down PgDn Insert Delete SysRq .. <> F11
    0x7B,                                           // 0x58 F12
};
constexpr size_t kScanCount = sizeof(kScanToVirtualKey);

struct VirtualKeyScanCode {
    uint8_t VirtualKey;
    uint8_t ScanCode;
};

// Keys the reverse of kScanToVirtualKey does not reach: generic and right-hand modifiers, keys
// that send an extended prefix, and the keypad digits.
constexpr VirtualKeyScanCode kOtherScanCodes[] = {
    {0x10, 0x2A}, {0x11, 0x1D}, {0x12, 0x38}, {0x13, 0x45}, {0x5B, 0x5B}, {0x5C, 0x5C}, {0x5D, 0x5D}, {0x5F, 0x5F},
    {0x60, 0x52}, {0x61, 0x4F}, {0x62, 0x50}, {0x63, 0x51}, {0x64, 0x4B}, {0x65, 0x4C}, {0x66, 0x4D}, {0x67, 0x47},
    {0x68, 0x48}, {0x69, 0x49}, {0x6E, 0x53}, {0x6F, 0x35}, {0xA3, 0x1D}, {0xA5, 0x38},
};

struct VirtualKeyCharacter {
    uint8_t VirtualKey;
    uint8_t Character;
};

// Characters of the keys that are not letters or digits.
constexpr VirtualKeyCharacter kOtherCharacters[] = {
    {0x08, 0x08}, {0x09, 0x09}, {0x0D, 0x0D}, {0x1B, 0x1B}, {0x20, ' '},  {0x6A, '*'},  {0x6B, '+'}, {0x6D, '-'},
    {0x6E, '.'},  {0x6F, '/'},  {0xBA, ';'},  {0xBB, '='},  {0xBC, ','},  {0xBD, '-'},  {0xBE, '.'}, {0xBF, '/'},
    {0xC0, '`'},  {0xDB, '['},  {0xDC, '\\'}, {0xDD, ']'},  {0xDE, '\''}, {0xE2, '\\'},
};

class UsLayout final : public KeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t vk) const override
    {
        if (vk == 0)
            return 0;
        for (const VirtualKeyScanCode& key : kOtherScanCodes)
            if (key.VirtualKey == vk)
                return key.ScanCode;
        for (size_t scan = 0; scan < kScanCount; ++scan)
            if (kScanToVirtualKey[scan] == vk)
                return static_cast<uint32_t>(scan);
        return 0;
    }

    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override
    {
        return scan < kScanCount ? kScanToVirtualKey[scan] : 0;
    }

    uint8_t VirtualKeyToAscii(uint32_t vk) const override
    {
        if (vk >= 'A' && vk <= 'Z')
            return static_cast<uint8_t>(vk - 'A' + 'a');
        if (vk >= '0' && vk <= '9')
            return static_cast<uint8_t>(vk);
        if (vk >= 0x60 && vk <= 0x69) // keypad digits
            return static_cast<uint8_t>(vk - 0x60 + '0');
        for (const VirtualKeyCharacter& key : kOtherCharacters)
            if (key.VirtualKey == vk)
                return key.Character;
        return 0;
    }
};

} // namespace

uint8_t TranslatedCharacter(uint32_t vk, const KeyTranslator& translate)
{
    const KeyTranslation pressed = translate(vk);
    if (pressed.count == 0)
        return 0;
    if (pressed.count < 0) {
        // A layout that chains dead keys may answer the second press with another accent; a few
        // presses end any chain a layout has.
        for (int i = 0; i < kDeadKeyFlushTries; ++i) {
            if (translate(vk).count >= 0)
                break;
        }
    }
    return pressed.chars[0];
}

const KeyboardLayout& UsKeyboardLayout()
{
    static const UsLayout layout;
    return layout;
}
