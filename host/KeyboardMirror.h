// What the keyboard's memory holds as far as the host knows it, and the transfers a push needs so
// that the keyboard holds a profile set: only those whose request differs from what the keyboard
// holds, and every one the host cannot be sure of.
#pragma once

#include "DeviceProtocol.h"
#include "Records.h"

#include <cstdint>
#include <optional>
#include <vector>

// One set request of a push: the control code and its request buffer.
struct DeviceTransfer {
    uint32_t code;
    RequestBuffer request;
};

// The slot, the Mode byte, the key-switch mask and the 25 key sequences of the keyboard's memory,
// each known or unknown. It starts with everything unknown. Not locked: its owner guards it.
class KeyboardMirror {
public:
    // Everything becomes unknown: a new link, a removal, a reset of the keyboard's memory.
    void Forget();
    void ForgetMode() { m_mode.reset(); }

    // What a read showed the keyboard holds.
    void KnowProfile(uint8_t profile) { m_profile = profile; }
    void KnowMode(uint8_t mode) { m_mode = mode; }
    void KnowSwitches(uint8_t mask) { m_switches = mask; }
    // profile and key 1..5; sequence: kKeySequenceLength bytes.
    void KnowKey(int profile, int key, const uint8_t* sequence);

    // The outcome of a set transfer: after success the keyboard holds its request; after a failure
    // what it holds of that part is unknown (the keyboard may have taken it or not).
    void Record(const DeviceTransfer& transfer, bool succeeded);

    // The set transfers that make the keyboard hold set, in the order of a push: the slot (only when
    // set names one), the Mode and the key switches of the current profile (of the first without
    // one; they are the same in every profile), and the 25 keys profile by profile, before the
    // switches. A part is left out when the keyboard is known to hold exactly its request.
    std::vector<DeviceTransfer> TransfersFor(const ProfileSet& set) const;

    std::optional<uint8_t> Profile() const { return m_profile; }
    std::optional<uint8_t> Mode() const { return m_mode; }
    std::optional<uint8_t> Switches() const { return m_switches; }
    // profile and key 1..5; nothing when unknown or out of range.
    std::optional<KeySequence> Key(int profile, int key) const;

private:
    std::optional<uint8_t> m_profile;
    std::optional<uint8_t> m_mode;
    std::optional<uint8_t> m_switches;
    std::optional<KeySequence> m_keys[kProfileCount][kKeyCount];
};
