#include "WinKeyboardLayout.h"

#include <windows.h>

namespace {

// Virtual-key codes are one byte; larger values would carry flags into the system calls.
constexpr uint32_t kLastVirtualKey = 0xFF;

// A repeated dead key types its accent and ends the pending state; a few tries cover layouts that
// chain dead keys.
constexpr int kDeadKeyFlushTries = 4;

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
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    const BYTE keyState[256] = {};
    // Up to two characters, one byte each, from the first byte on.
    WORD chars[2] = {};
    const int count = ToAscii(vk, scan, keyState, chars, 0);
    if (count == 0)
        return 0;
    const uint8_t first = static_cast<uint8_t>(chars[0] & 0xFF);
    if (count < 0) {
        // A dead key leaves its accent pending for the next key the thread translates; flush it
        // so that neither our next query nor the user's next key is changed by it.
        for (int i = 0; i < kDeadKeyFlushTries; ++i) {
            WORD flushed[2] = {};
            if (ToAscii(vk, scan, keyState, flushed, 0) >= 0)
                break;
        }
    }
    return first;
}
