#include "WinKeyboardLayout.h"

#include <windows.h>

namespace {

// Virtual-key codes are one byte; larger values would carry flags into the system calls.
constexpr uint32_t kLastVirtualKey = 0xFF;

} // namespace

uint32_t WinKeyboardLayout::VirtualKeyToScanCode(uint32_t vk) const
{
    if (vk > kLastVirtualKey)
        return 0;
    return MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
}

uint32_t WinKeyboardLayout::ScanCodeToVirtualKey(uint32_t scan) const
{
    return MapVirtualKeyA(scan, MAPVK_VSC_TO_VK_EX);
}

uint8_t WinKeyboardLayout::VirtualKeyToAscii(uint32_t vk) const
{
    if (vk == 0 || vk > kLastVirtualKey)
        return 0;
    // ToAscii keeps a dead key's accent in the thread's keyboard state for the next key it
    // translates; TranslatedCharacter presses the dead key again until the accent has come out.
    return TranslatedCharacter(vk, [](uint32_t key) {
        const BYTE keyState[256] = {};
        // Up to two characters, one byte each, from the low byte of the first word on.
        WORD chars[2] = {};
        KeyTranslation translation;
        translation.count = ToAscii(key, MapVirtualKeyA(key, MAPVK_VK_TO_VSC), keyState, chars, 0);
        translation.chars[0] = static_cast<uint8_t>(chars[0] & 0xFF);
        translation.chars[1] = static_cast<uint8_t>(chars[0] >> 8);
        return translation;
    });
}
