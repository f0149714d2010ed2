// The keyboard's filter driver as the host calls it. The host's adapters implement it over the real
// driver or the simulator's pipe; the simulator's keyboard model implements it for tests.
#pragma once

#include <cstdint>

// The keyboard's filter driver: open, synchronous control calls, close.
class FilterDriver {
public:
    virtual ~FilterDriver() = default;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Sends the first inLength bytes of request; on success the reply's first outLength bytes are in
    // reply (which may be the request buffer itself). False when the call fails.
    virtual bool Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply,
                         uint32_t outLength) = 0;
};
