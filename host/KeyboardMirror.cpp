#include "KeyboardMirror.h"

#include <algorithm>

namespace {

bool IsNumber1To5(int n)
{
    return n >= 1 && n <= 5;
}

KeySequence SequenceAt(const uint8_t* bytes)
{
    KeySequence sequence{};
    std::copy(bytes, bytes + kKeySequenceLength, sequence.begin());
    return sequence;
}

} // namespace

void KeyboardMirror::Forget()
{
    *this = KeyboardMirror{};
}

void KeyboardMirror::KnowKey(int profile, int key, const uint8_t* sequence)
{
    if (IsNumber1To5(profile) && IsNumber1To5(key))
        m_keys[profile - 1][key - 1] = SequenceAt(sequence);
}

std::optional<KeySequence> KeyboardMirror::Key(int profile, int key) const
{
    if (!IsNumber1To5(profile) || !IsNumber1To5(key))
        return std::nullopt;
    return m_keys[profile - 1][key - 1];
}

void KeyboardMirror::Record(const DeviceTransfer& transfer, bool succeeded)
{
    const RequestBuffer& r = transfer.request;
    auto held = [succeeded](uint8_t value) { return succeeded ? std::optional<uint8_t>(value) : std::nullopt; };
    switch (transfer.code) {
    case IOCTL_FLT_SET_PROFILE: m_profile = held(r[1]); break;
    case IOCTL_FLT_SET_MODE: m_mode = held(r[1]); break;
    case IOCTL_FLT_SET_KEY_SWITCH: m_switches = held(r[1]); break;
    case IOCTL_FLT_SET_KEY:
        if (!IsNumber1To5(r[1]) || !IsNumber1To5(r[2]))
            break;
        if (succeeded)
            KnowKey(r[1], r[2], r.data() + kKeySequenceOffset);
        else
            m_keys[r[1] - 1][r[2] - 1].reset();
        break;
    default: break;
    }
}

std::vector<DeviceTransfer> KeyboardMirror::TransfersFor(const ProfileSet& set) const
{
    std::vector<DeviceTransfer> transfers;
    const bool hasCurrent = IsValidSlot(set.CurrentProfile);
    const ::Profile& current = set.Profiles[hasCurrent ? set.CurrentProfile - 1 : 0];

    if (hasCurrent) {
        const RequestBuffer request = DeviceRequest::SetProfile(static_cast<uint8_t>(set.CurrentProfile));
        if (m_profile != request[1])
            transfers.push_back({IOCTL_FLT_SET_PROFILE, request});
    }
    const RequestBuffer mode = DeviceRequest::SetMode(current.Mode);
    if (m_mode != mode[1])
        transfers.push_back({IOCTL_FLT_SET_MODE, mode});
    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            const RequestBuffer key = DeviceRequest::SetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k),
                                                            set.Profiles[p - 1].Buttons[k - 1]);
            if (m_keys[p - 1][k - 1] != SequenceAt(key.data() + kKeySequenceOffset))
                transfers.push_back({IOCTL_FLT_SET_KEY, key});
        }
    }
    const RequestBuffer mask = DeviceRequest::SetKeySwitch(KeySwitchMask(current));
    if (m_switches != mask[1])
        transfers.push_back({IOCTL_FLT_SET_KEY_SWITCH, mask});
    return transfers;
}
