// The host's link to the keyboard's filter driver: opening and closing it, every control call, the
// pacing between the transfers of pushes and pulls, what the keyboard's memory holds as far as the
// host knows it, and the locks that let one call at a time reach the driver from the window thread,
// the read thread and the device worker, and one push or pull at a time talk to the keyboard.
#pragma once

#include "Clock.h"
#include "DeviceProtocol.h"
#include "FilterDriver.h"
#include "GuardedProfileSet.h"
#include "KeyboardMirror.h"
#include "Records.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

class DeviceLink {
public:
    // The keyboard takes one transfer of a push or pull at a time, at least this far apart.
    static constexpr int64_t kTransferPacingMs = 100;
    // The further rest after the last key transfer of a profile: a whole push takes 3.2 s.
    static constexpr int64_t kProfileRestMs = 100;

    // eventHandleValue: the value of the semaphore handle the driver releases once per event.
    DeviceLink(FilterDriver& driver, Clock& clock, uint32_t eventHandleValue);

    // Opens the driver and registers the event semaphore; a refused registration closes it again.
    // The keyboard's memory is unknown until a pull reads it.
    bool Open();
    // Unregisters and closes the driver when it is open, and forgets the keyboard's memory.
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
    // Selects profile slot 1..5 on the keyboard, as one paced transfer.
    bool SetProfile(int32_t profile);

    // Reads profile, Mode, the 25 key sequences and the key switches into profiles, 100 ms apart;
    // a failed key read skips the rest of that profile's keys. True when the Mode could be read.
    // The keyboard's memory counts as unknown from its start; each read that succeeds makes its
    // part known.
    bool PullInto(GuardedProfileSet& profiles);
    // Sends the transfers that make the keyboard hold set (KeyboardMirror::TransfersFor: the slot,
    // the Mode, the keys and the key switches that differ from what the keyboard holds, or are not
    // known), 100 ms apart (200 ms after a profile's last key), with no pause for a part it leaves
    // out. Each transfer's outcome is recorded. It stops early when the link closes or the
    // keyboard's memory is forgotten meanwhile.
    // The number of transfers made.
    int Push(const ProfileSet& set);

    // The keyboard's memory counts as unknown: after its removal, or a reset of its memory.
    void ForgetKeyboardMemory();
    // The keyboard changed its Mode itself.
    void ForgetMode();
    // A copy of what the host knows the keyboard holds.
    KeyboardMirror Known() const;

private:
    void Pace() { m_clock.SleepMs(kTransferPacingMs); }
    // One control call of a push or pull, no sooner than the previous one's rest allows; the next
    // may follow restAfterMs after this one. Only under m_sequenceMutex.
    bool PacedControl(uint32_t code, uint8_t* buffer, int64_t restAfterMs = kTransferPacingMs);
    // The generation of the keyboard's memory that the next records belong to.
    uint64_t Generation() const;
    // Runs f(KeyboardMirror&) under its lock when the memory is still of generation.
    template <class F>
    void UpdateKnown(uint64_t generation, F&& f)
    {
        std::lock_guard<std::mutex> lock(m_knownMutex);
        if (generation == m_generation)
            f(m_known);
    }

    FilterDriver& m_driver;
    Clock& m_clock;
    uint32_t m_eventHandleValue;
    std::atomic<bool> m_open{false};
    std::mutex m_driverMutex; // one call at a time reaches the driver, from any thread
    // One push or pull at a time: the keyboard takes their transfers in one paced sequence. Event
    // reads do not wait for it.
    std::mutex m_sequenceMutex;
    // When the next transfer may go; under m_sequenceMutex.
    std::optional<int64_t> m_nextTransferUs;

    mutable std::mutex m_knownMutex;
    KeyboardMirror m_known;
    // Changes whenever the memory is forgotten, so that the outcome of a transfer made before that
    // is not recorded after it.
    uint64_t m_generation = 0;
};
