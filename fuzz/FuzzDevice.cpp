// Bytes from the keyboard side: replies decoded into a key's assignment, event words, and requests
// that reach the simulated keyboard through its pipe. Nothing may read or write past its buffers.
#include "DeviceProtocol.h"
#include "KeyboardModel.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size >= kKeyReplyLength) {
        uint8_t reply[kKeyReplyLength];
        std::memcpy(reply, data, kKeyReplyLength);
        ButtonInfo info{};
        info.FunctionCode = 6;
        DecodeKeyReply(reply, info);
        if (info.FunctionCode != 6 && info.FunctionCode != 5 && (info.FunctionCode < 37 || info.FunctionCode > 39))
            std::abort();
    }
    if (size >= 4) {
        DeviceEvent event = DeviceEvent::FromBytes(data);
        ClassifyDeviceEvent(event);
        if (DeviceEvent::FromWord(event.Word()).Word() != event.Word())
            std::abort();
    }
    // A control call with code, lengths and request taken from the input.
    if (size >= 8) {
        static KeyboardModel keyboard;
        keyboard.Open();
        uint32_t code = 0x222400 + (data[0] & 0x3C);
        uint32_t in = data[1] % 40;
        uint32_t out = data[2] % 40;
        std::vector<uint8_t> request(data + 3, data + size);
        request.resize(std::max<size_t>(request.size(), 100));
        std::vector<uint8_t> reply(100);
        keyboard.Control(code, request.data(), in, reply.data(), out);
        keyboard.ClearCallLog();
        while (keyboard.PendingEvents() > 0) {
            uint8_t word[4];
            if (!keyboard.Control(0x222408, word, 4, word, 4))
                break;
        }
    }
    return 0;
}
