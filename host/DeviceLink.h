// The host's link to the keyboard's filter driver: opening and closing it, every control call, the
// pacing between the transfers of a whole push or pull, and the lock that lets one call at a time
// reach the driver from the window thread and the read thread.
#pragma once

#include "Clock.h"
#include "DeviceProtocol.h"
#include "FilterDriver.h"
#include "GuardedProfileSet.h"
#include "Records.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

class DeviceLink {
public:
    // The keyboard takes one transfer of a push or pull at a time, this far apart.
    static constexpr int64_t kTransferPacingMs = 100;

    // eventHandleValue: the value of the semaphore handle the driver releases once per event.
    DeviceLink(FilterDriver& driver, Clock& clock, uint32_t eventHandleValue);

    // Opens the driver and registers the event semaphore; a refused registration closes it again.
    bool Open();
    // Unregisters and closes the driver when it is open.
    void Close();
    // A device handle is held.
    bool IsOpen() const { return m_open; }

    // One control call with the code's request and reply lengths, through buffer (see
    // RequestBuffer). Does nothing and fails while the device is closed or for an unknown code.
    bool Control(uint32_t code, uint8_t* buffer);

    // The firmware version the keyboard reports; nothing when the call fails.
    std::optional<uint16_t> ReadFirmwareVersion();
    // The next event word of the driver's queue; nothing when the read fails.
    std::optional<uint32_t> ReadEvent();
    // Selects profile slot 1..5 on the keyboard.
    bool SetProfile(int32_t profile);

    // Reads profile, Mode, the 25 key sequences and the key switches into profiles, 100 ms apart;
    // a failed key read skips the rest of that profile's keys. True when the Mode could be read.
    bool PullInto(GuardedProfileSet& profiles);
    // Sends profile (when set names a slot), Mode, the 25 key sequences and the key switches, 100 ms
    // apart.
    void Push(const ProfileSet& set);

private:
    void Pace() { m_clock.SleepMs(kTransferPacingMs); }

    FilterDriver& m_driver;
    Clock& m_clock;
    uint32_t m_eventHandleValue;
    std::atomic<bool> m_open{false};
    std::mutex m_driverMutex; // one call at a time reaches the driver, from either thread
};
