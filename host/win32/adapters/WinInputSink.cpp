#include "WinInputSink.h"

#include "WinApi.h"

// The core passes the system's own flag values through; these are where they are named twice.
static_assert(InputSink::kExtendedKey == KEYEVENTF_EXTENDEDKEY && InputSink::kKeyUp == KEYEVENTF_KEYUP);
static_assert(InputSink::kLeftDown == MOUSEEVENTF_LEFTDOWN && InputSink::kLeftUp == MOUSEEVENTF_LEFTUP);
static_assert(InputSink::kRightDown == MOUSEEVENTF_RIGHTDOWN && InputSink::kRightUp == MOUSEEVENTF_RIGHTUP);
static_assert(InputSink::kMiddleDown == MOUSEEVENTF_MIDDLEDOWN && InputSink::kMiddleUp == MOUSEEVENTF_MIDDLEUP);
static_assert(InputSink::kExtraDown == MOUSEEVENTF_XDOWN && InputSink::kExtraUp == MOUSEEVENTF_XUP);
static_assert(InputSink::kExtraButton1 == XBUTTON1 && InputSink::kExtraButton2 == XBUTTON2);

void WinInputSink::SendKey(uint8_t vk, uint8_t scan, uint32_t flags)
{
    keybd_event(vk, scan, flags, 0);
}

void WinInputSink::SendMouse(uint32_t flags, uint32_t data)
{
    mouse_event(flags, 0, 0, data, static_cast<ULONG_PTR>(GetMessageExtraInfo()));
}

bool WinInputSink::NumLockToggled()
{
    return (GetKeyState(VK_NUMLOCK) & 1) != 0;
}
