#include "WinFilterDriver.h"

bool WinFilterDriver::Open()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_device.Reset(
        CreateFileA(kDeviceName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(m_device);
}

void WinFilterDriver::Close()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_device.Reset();
}

bool WinFilterDriver::Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply,
                              uint32_t outLength)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_device)
        return false;
    DWORD returned = 0;
    // The system's declaration takes a writable input pointer; it does not write through it.
    return DeviceIoControl(m_device.Get(), code, const_cast<uint8_t*>(request), inLength, reply, outLength, &returned,
                           nullptr) != 0;
}
