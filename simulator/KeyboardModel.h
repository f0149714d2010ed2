// The keyboard and its filter driver, simulated: the keyboard's memory, the driver side of every
// control code with the byte layouts the host expects, and the queue of event words. Tests use it as
// the host's driver; the simulator program puts a transport and a command interface around it.
#pragma once

#include "Clock.h"
#include "DeviceProtocol.h"
#include "FilterDriver.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Every method may be called from any thread; one lock guards the whole state.
//
// Presence: Open() succeeds only while the keyboard is present. Remove() keeps an open link open
// (the host holds on to its handle) but makes every call on the keyboard's memory fail until
// Arrive(); event calls (register, unregister, read event) keep working, so the host still reads
// the removal and the later arrival. Every call fails while the link is not open.
//
// A call fails, changing nothing and writing no reply byte, when: the link is closed; the code is
// unknown or made to fail (SetFailing); the request or reply length differs from the code's In or
// Out length; a set request names the wrong command in byte 0, a profile or key number outside 1..5,
// or a key-switch mask with bits above bit 4; a read-event call finds the queue empty.
class KeyboardModel : public FilterDriver {
public:
    struct LoggedCall {
        int64_t timeMs; // since construction
        uint32_t code;
        std::vector<uint8_t> request; // the In bytes as sent
        bool succeeded;
    };

    static constexpr uint16_t kDefaultFirmware = 128;

    // clock stamps the call log (the system's steady clock without one). The keyboard starts with
    // its default memory (see Reset) and present unless told otherwise.
    explicit KeyboardModel(Clock* clock = nullptr, bool present = true);

    bool Open() override;
    void Close() override;
    bool Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply, uint32_t outLength) override;

    // The keyboard's side. Each method queues exactly one event word.
    // key is the key number 1..5; false, with nothing queued, outside that range.
    bool PressKey(int key);
    bool ReleaseKey(int key);
    // The Mode switch: mode 0 or 1 becomes the stored Mode and queues 0xF0000008 / 0xF0000009; false,
    // with nothing changed, for any other value.
    bool SetModeSwitch(int mode);
    // Queue 0x70000001 / 0x70000002 even when already present / removed, so that a duplicate can be
    // delivered on purpose.
    void Arrive();
    void Remove();
    // The keyboard's memory returns to its defaults (every profile's keys hold the sequences of the
    // default profile of their slot, Mode 1, mask 0, profile 1; the firmware version stays) and
    // 0xB0000000 is queued.
    void Reset();
    void OsdHide();
    void QueueRaw(uint32_t word);

    void SetFirmware(uint16_t version);
    // While failing, every call with this code fails (a refused register call, a failed Mode read).
    void SetFailing(uint32_t code, bool failing);

    bool IsOpen() const;
    bool IsPresent() const;
    // The semaphore handle value of the last register call; nothing after unregister.
    std::optional<uint32_t> RegisteredHandle() const;
    uint8_t Mode() const;
    uint8_t KeySwitch() const;
    uint8_t CurrentProfile() const;
    uint16_t Firmware() const;
    // The stored sequence of profile 1..5, key 1..5; all zero outside that range.
    KeySequence StoredSequence(int profile, int key) const;
    size_t PendingEvents() const;

    std::vector<LoggedCall> CallLog() const;
    void ClearCallLog();
    // "MS CODE INPUT": decimal milliseconds, the code in upper-case hex without prefix (222420), the
    // In bytes in upper-case hex without spaces; a call without In bytes ends after the code.
    static std::string FormatCall(const LoggedCall& call);
    std::vector<std::string> CallLogLines() const;

    // "profile P", "mode M", "switch MASK", "firmware V" (all decimal), then "key P K HEX" for every
    // profile 1..5 and key 1..5, HEX being the 21 stored sequence bytes in upper-case hex.
    std::vector<std::string> StateLines() const;

    // Runs once per queued event, after the lock is released (the simulator program releases the
    // host's semaphore here). Set it before the model is shared between threads.
    std::function<void()> onEventQueued;

private:
    int64_t ElapsedMs() const;
    void RestoreDefaultsLocked();
    void QueueEvent(uint32_t word, const std::function<void()>& changeUnderLock = {});
    bool AnswerLocked(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply, uint32_t outLength);

    Clock* m_clock;
    int64_t m_startUs;

    mutable std::mutex m_mutex;
    bool m_present;
    bool m_open = false;
    std::optional<uint32_t> m_registeredHandle;
    KeySequence m_sequences[kProfileCount][kKeyCount] = {};
    uint8_t m_mode = 1;
    uint8_t m_keySwitch = 0;
    uint8_t m_profile = 1;
    uint16_t m_firmware = kDefaultFirmware;
    std::deque<uint32_t> m_events;
    std::set<uint32_t> m_failing;
    std::vector<LoggedCall> m_log;
};
