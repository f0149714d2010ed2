// The keyboard's filter driver, reached as the device "\\.\TolkFltr".
#pragma once

#include "Ports.h"
#include "UniqueHandle.h"
#include "WinApi.h"

#include <mutex>

class WinFilterDriver final : public FilterDriver {
public:
    static constexpr const char kDeviceName[] = "\\\\.\\TolkFltr";

    // Opening again closes the previous handle first.
    bool Open() override;
    void Close() override;
    // False also while the device is not open.
    bool Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply, uint32_t outLength) override;

private:
    std::mutex m_mutex; // keeps Close from pulling the handle out from under a call
    UniqueHandle m_device;
};
