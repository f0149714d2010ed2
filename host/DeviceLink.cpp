#include "DeviceLink.h"

#include "Log.h"

DeviceLink::DeviceLink(FilterDriver& driver, Clock& clock, uint32_t eventHandleValue)
    : m_driver(driver), m_clock(clock), m_eventHandleValue(eventHandleValue)
{
}

bool DeviceLink::Open()
{
    ForgetKeyboardMemory();
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
    ForgetKeyboardMemory();
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

bool DeviceLink::PacedControl(uint32_t code, uint8_t* buffer, int64_t restAfterMs)
{
    if (m_nextTransferUs)
        m_clock.SleepUntilUs(*m_nextTransferUs);
    const bool ok = Control(code, buffer);
    m_nextTransferUs = m_clock.NowUs() + restAfterMs * 1000;
    return ok;
}

void DeviceLink::ForgetKeyboardMemory()
{
    std::lock_guard<std::mutex> lock(m_knownMutex);
    m_known.Forget();
    ++m_generation;
}

void DeviceLink::ForgetMode()
{
    std::lock_guard<std::mutex> lock(m_knownMutex);
    m_known.ForgetMode();
}

KeyboardMirror DeviceLink::Known() const
{
    std::lock_guard<std::mutex> lock(m_knownMutex);
    return m_known;
}

uint64_t DeviceLink::Generation() const
{
    std::lock_guard<std::mutex> lock(m_knownMutex);
    return m_generation;
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
    if (!m_open)
        return false;
    std::lock_guard<std::mutex> sequence(m_sequenceMutex);
    const uint64_t generation = Generation();
    const DeviceTransfer transfer{IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(static_cast<uint8_t>(profile))};
    RequestBuffer request = transfer.request;
    const bool ok = PacedControl(transfer.code, request.data());
    UpdateKnown(generation, [&](KeyboardMirror& known) { known.Record(transfer, ok); });
    return ok;
}

bool DeviceLink::PullInto(GuardedProfileSet& profiles)
{
    std::lock_guard<std::mutex> sequence(m_sequenceMutex);
    // What the keyboard held before is not trusted: a pull that fails or does not end leaves unknown
    // what it did not read.
    ForgetKeyboardMemory();
    const uint64_t generation = Generation();

    RequestBuffer buf{};
    if (PacedControl(IOCTL_FLT_GET_PROFILE, buf.data()) && IsValidSlot(buf[1])) {
        int32_t profile = buf[1];
        profiles.With([&](ProfileSet& set) { set.CurrentProfile = profile; });
        UpdateKnown(generation, [&](KeyboardMirror& known) { known.KnowProfile(buf[1]); });
    }
    Pace();

    buf.fill(0);
    bool modeOk = PacedControl(IOCTL_FLT_GET_MODE, buf.data());
    if (modeOk) {
        const auto mode = static_cast<KeyboardMode>(buf[1]);
        profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                p.Mode = mode;
        });
        UpdateKnown(generation, [&](KeyboardMirror& known) { known.KnowMode(buf[1]); });
    }
    Pace();

    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            RequestBuffer key = DeviceRequest::GetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k));
            if (!PacedControl(IOCTL_FLT_GET_KEY, key.data()))
                break; // the rest of this profile's keys is skipped
            profiles.With([&](ProfileSet& set) { DecodeKeyReply(key.data(), set.Profiles[p - 1].Buttons[k - 1]); });
            UpdateKnown(generation,
                        [&](KeyboardMirror& known) { known.KnowKey(p, k, key.data() + kKeySequenceOffset); });
            Pace();
        }
        Pace();
    }

    buf.fill(0);
    if (PacedControl(IOCTL_FLT_GET_KEY_SWITCH, buf.data())) {
        uint8_t mask = buf[1];
        profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                for (int i = 0; i < kKeyCount; ++i)
                    p.KeyFlags[i] = (mask >> i) & 1 ? KeySwitch::Off : KeySwitch::On;
        });
        UpdateKnown(generation, [&](KeyboardMirror& known) { known.KnowSwitches(mask); });
    }
    return modeOk;
}

int DeviceLink::Push(const ProfileSet& set)
{
    std::lock_guard<std::mutex> sequence(m_sequenceMutex);
    std::vector<DeviceTransfer> transfers;
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_knownMutex);
        transfers = m_known.TransfersFor(set);
        generation = m_generation;
    }
    int made = 0;
    for (size_t i = 0; i < transfers.size(); ++i) {
        const DeviceTransfer& transfer = transfers[i];
        // A closed link or a forgotten memory (a removal, a reset, another link) ends what was
        // decided against the memory as it was.
        if (!m_open || Generation() != generation)
            break;
        // The keyboard rests once more after the last key it is sent of a profile, as it does
        // between the profiles of a whole push.
        const bool endsProfileKeys = transfer.code == IOCTL_FLT_SET_KEY &&
                                     (i + 1 == transfers.size() || transfers[i + 1].code != IOCTL_FLT_SET_KEY ||
                                      transfers[i + 1].request[1] != transfer.request[1]);
        RequestBuffer request = transfer.request;
        const bool ok = PacedControl(transfer.code, request.data(),
                                     endsProfileKeys ? kTransferPacingMs + kProfileRestMs : kTransferPacingMs);
        ++made;
        if (!ok) {
            if (transfer.code == IOCTL_FLT_SET_KEY)
                LogDebug("TolkHid: set key %d/%d failed\n", transfer.request[1], transfer.request[2]);
            else
                LogDebug("TolkHid: transfer 0x%x failed\n", static_cast<unsigned>(transfer.code));
        }
        UpdateKnown(generation, [&](KeyboardMirror& known) { known.Record(transfer, ok); });
    }
    return made;
}
