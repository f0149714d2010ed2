#include "DeviceLink.h"

#include "Log.h"

DeviceLink::DeviceLink(FilterDriver& driver, Clock& clock, uint32_t eventHandleValue)
    : m_driver(driver), m_clock(clock), m_eventHandleValue(eventHandleValue)
{
}

bool DeviceLink::Open()
{
    std::lock_guard<std::mutex> lock(m_driverMutex);
    if (!m_driver.Open())
        return false;
    RequestBuffer request = DeviceRequest::RegisterEvent(m_eventHandleValue);
    if (!m_driver.Control(IOCTL_FLT_REGISTER_EVENT, request.data(), 4, nullptr, 0)) {
        m_driver.Close();
        return false;
    }
    m_open = true;
    return true;
}

void DeviceLink::Close()
{
    std::lock_guard<std::mutex> lock(m_driverMutex);
    if (!m_open)
        return;
    RequestBuffer request{};
    m_driver.Control(IOCTL_FLT_UNREGISTER, request.data(), 0, nullptr, 0);
    m_driver.Close();
    m_open = false;
}

bool DeviceLink::Control(uint32_t code, uint8_t* buffer)
{
    if (!m_open)
        return false;
    std::optional<ControlLength> lengths = ControlLengths(code);
    if (!lengths)
        return false;
    std::lock_guard<std::mutex> lock(m_driverMutex);
    return m_driver.Control(code, buffer, lengths->in, lengths->out ? buffer : nullptr, lengths->out);
}

std::optional<uint16_t> DeviceLink::ReadFirmwareVersion()
{
    RequestBuffer buf{};
    if (!Control(IOCTL_FLT_GET_FIRMWARE, buf.data()))
        return std::nullopt;
    return FirmwareVersionFromReply(buf.data());
}

std::optional<uint32_t> DeviceLink::ReadEvent()
{
    RequestBuffer buf{};
    if (!Control(IOCTL_FLT_READ_EVENT, buf.data()))
        return std::nullopt;
    return DeviceEvent::FromBytes(buf.data()).Word();
}

bool DeviceLink::SetProfile(int32_t profile)
{
    RequestBuffer request = DeviceRequest::SetProfile(static_cast<uint8_t>(profile));
    return Control(IOCTL_FLT_SET_PROFILE, request.data());
}

bool DeviceLink::PullInto(GuardedProfileSet& profiles)
{
    RequestBuffer buf{};
    if (Control(IOCTL_FLT_GET_PROFILE, buf.data()) && IsValidSlot(buf[1])) {
        int32_t profile = buf[1];
        profiles.With([&](ProfileSet& set) { set.CurrentProfile = profile; });
    }
    Pace();

    buf.fill(0);
    bool modeOk = Control(IOCTL_FLT_GET_MODE, buf.data());
    if (modeOk) {
        const auto mode = static_cast<KeyboardMode>(buf[1]);
        profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                p.Mode = mode;
        });
    }
    Pace();

    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            RequestBuffer key = DeviceRequest::GetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k));
            if (!Control(IOCTL_FLT_GET_KEY, key.data()))
                break; // the rest of this profile's keys is skipped
            profiles.With([&](ProfileSet& set) { DecodeKeyReply(key.data(), set.Profiles[p - 1].Buttons[k - 1]); });
            Pace();
        }
        Pace();
    }

    buf.fill(0);
    if (Control(IOCTL_FLT_GET_KEY_SWITCH, buf.data())) {
        uint8_t mask = buf[1];
        profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                for (int i = 0; i < kKeyCount; ++i)
                    p.KeyFlags[i] = (mask >> i) & 1 ? KeySwitch::Off : KeySwitch::On;
        });
    }
    return modeOk;
}

void DeviceLink::Push(const ProfileSet& set)
{
    // Without a current profile nothing names a slot to select; the Mode and the key switches are
    // the same in every profile, so the first one stands for all.
    const bool hasCurrent = IsValidSlot(set.CurrentProfile);
    const Profile& current = set.Profiles[hasCurrent ? set.CurrentProfile - 1 : 0];

    if (hasCurrent)
        SetProfile(set.CurrentProfile);
    Pace();
    RequestBuffer mode = DeviceRequest::SetMode(current.Mode);
    Control(IOCTL_FLT_SET_MODE, mode.data());
    Pace();
    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            RequestBuffer key = DeviceRequest::SetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k),
                                                      set.Profiles[p - 1].Buttons[k - 1]);
            if (!Control(IOCTL_FLT_SET_KEY, key.data()))
                LogDebug("TolkHid: set key %d/%d failed\n", p, k);
            Pace();
        }
        Pace();
    }
    RequestBuffer mask = DeviceRequest::SetKeySwitch(KeySwitchMask(current));
    Control(IOCTL_FLT_SET_KEY_SWITCH, mask.data());
}
