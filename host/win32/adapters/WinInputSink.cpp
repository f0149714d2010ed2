#include "WinInputSink.h"

#include "WinApi.h"

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
