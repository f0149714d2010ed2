#include "KeyboardModel.h"

#include "ProfileStore.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

namespace {

constexpr uint8_t kHighestSwitchMask = (1u << kKeyCount) - 1;

bool IsNumber1To5(uint8_t n)
{
    return n >= 1 && n <= 5;
}

std::string Hex(const uint8_t* bytes, size_t count)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * count);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0xF];
    }
    return text;
}

std::string HexWord(uint32_t value)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

int64_t SteadyNowUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

KeyboardModel::KeyboardModel(Clock* clock, bool present)
    : m_clock(clock), m_startUs(clock ? clock->NowUs() : SteadyNowUs()), m_present(present)
{
    RestoreDefaultsLocked();
}

int64_t KeyboardModel::ElapsedMs() const
{
    const int64_t now = m_clock ? m_clock->NowUs() : SteadyNowUs();
    return (now - m_startUs) / 1000;
}

void KeyboardModel::RestoreDefaultsLocked()
{
    auto profile = std::make_unique<Profile>();
    for (int p = 0; p < kProfileCount; ++p) {
        SetDefaultProfile(*profile, p);
        for (int k = 0; k < kKeyCount; ++k)
            EncodeKeySequence(profile->Buttons[k], m_sequences[p][k].data());
    }
    m_mode = 1;
    m_keySwitch = 0;
    m_profile = 1;
}

bool KeyboardModel::Open()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_present)
        return false;
    m_open = true;
    return true;
}

void KeyboardModel::Close()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
}

bool KeyboardModel::Control(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply,
                            uint32_t outLength)
{
    // The clock has its own lock and may call back into tests; it is never asked under ours.
    const int64_t timeMs = ElapsedMs();
    std::vector<uint8_t> sent;
    if (request)
        sent.assign(request, request + std::min<size_t>(inLength, kRequestBufferSize));

    std::lock_guard<std::mutex> lock(m_mutex);
    const bool ok = AnswerLocked(code, request, inLength, reply, outLength);
    m_log.push_back({timeMs, code, std::move(sent), ok});
    return ok;
}

bool KeyboardModel::AnswerLocked(uint32_t code, const uint8_t* request, uint32_t inLength, uint8_t* reply,
                                 uint32_t outLength)
{
    if (!m_open || m_failing.count(code))
        return false;
    const std::optional<ControlLength> lengths = ControlLengths(code);
    if (!lengths || lengths->in != inLength || lengths->out != outLength)
        return false;
    if ((inLength != 0 && !request) || (outLength != 0 && !reply))
        return false;

    // The reply may share the request's buffer: read everything first.
    RequestBuffer in{};
    if (inLength != 0)
        std::memcpy(in.data(), request, inLength);
    RequestBuffer out{};

    switch (code) {
    case IOCTL_FLT_REGISTER_EVENT:
        m_registeredHandle = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
        return true;
    case IOCTL_FLT_UNREGISTER: m_registeredHandle.reset(); return true;
    case IOCTL_FLT_READ_EVENT: {
        if (m_events.empty())
            return false;
        const uint32_t word = m_events.front();
        m_events.pop_front();
        for (int i = 0; i < 4; ++i)
            reply[i] = static_cast<uint8_t>(word >> (8 * i));
        return true;
    }
    default: break;
    }

    if (!m_present)
        return false;

    switch (code) {
    case IOCTL_FLT_SET_MODE:
        if (in[0] != kCommandSetMode)
            return false;
        m_mode = in[1];
        return true;
    case IOCTL_FLT_GET_MODE: out[1] = m_mode; break;
    case IOCTL_FLT_SET_KEY:
        if (in[0] != kCommandSetKey || !IsNumber1To5(in[1]) || !IsNumber1To5(in[2]))
            return false;
        std::memcpy(m_sequences[in[1] - 1][in[2] - 1].data(), in.data() + kKeySequenceOffset, kKeySequenceLength);
        return true;
    case IOCTL_FLT_GET_KEY: {
        if (!IsNumber1To5(in[0]) || !IsNumber1To5(in[1]))
            return false;
        const KeySequence& stored = m_sequences[in[0] - 1][in[1] - 1];
        std::memcpy(out.data() + kKeySequenceOffset, stored.data(), kKeySequenceLength);
        break;
    }
    case IOCTL_FLT_GET_FIRMWARE:
        out[4] = static_cast<uint8_t>(m_firmware & 0xFF);
        out[5] = static_cast<uint8_t>(m_firmware >> 8);
        break;
    case IOCTL_FLT_SET_KEY_SWITCH:
        if (in[0] != kCommandSetKeySwitch || in[1] > kHighestSwitchMask)
            return false;
        m_keySwitch = in[1];
        return true;
    case IOCTL_FLT_GET_KEY_SWITCH: out[1] = m_keySwitch; break;
    case IOCTL_FLT_SET_PROFILE:
        if (in[0] != kCommandSetProfile || !IsNumber1To5(in[1]))
            return false;
        m_profile = in[1];
        return true;
    case IOCTL_FLT_GET_PROFILE: out[1] = m_profile; break;
    default: return false;
    }
    std::memcpy(reply, out.data(), outLength);
    return true;
}

void KeyboardModel::QueueEvent(uint32_t word, const std::function<void()>& changeUnderLock)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (changeUnderLock)
            changeUnderLock();
        m_events.push_back(word);
    }
    if (onEventQueued)
        onEventQueued();
}

bool KeyboardModel::PressKey(int key)
{
    if (key < 1 || key > kKeyCount)
        return false;
    QueueEvent(KeyPressWord(static_cast<uint8_t>(key - 1)));
    return true;
}

bool KeyboardModel::ReleaseKey(int key)
{
    if (key < 1 || key > kKeyCount)
        return false;
    QueueEvent(KeyReleaseWord(static_cast<uint8_t>(key - 1)));
    return true;
}

bool KeyboardModel::SetModeSwitch(int mode)
{
    if (mode != 0 && mode != 1)
        return false;
    const uint16_t value = mode == 1 ? kEventValueModeNumLockOff : kEventValueModeNumLockOn;
    QueueEvent(DeviceEvent{kEventKindKey, value}.Word(), [&] { m_mode = static_cast<uint8_t>(mode); });
    return true;
}

void KeyboardModel::Arrive()
{
    QueueEvent(DeviceEvent{kEventKindDevice, kEventValueArrival}.Word(), [&] { m_present = true; });
}

void KeyboardModel::Remove()
{
    QueueEvent(DeviceEvent{kEventKindDevice, kEventValueRemoval}.Word(), [&] { m_present = false; });
}

void KeyboardModel::Reset()
{
    QueueEvent(DeviceEvent{kEventKindReset, 0}.Word(), [&] { RestoreDefaultsLocked(); });
}

void KeyboardModel::OsdHide()
{
    QueueEvent(DeviceEvent{kEventKindOsdHide, 0}.Word());
}

void KeyboardModel::QueueRaw(uint32_t word)
{
    QueueEvent(word);
}

void KeyboardModel::SetFirmware(uint16_t version)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_firmware = version;
}

void KeyboardModel::SetFailing(uint32_t code, bool failing)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (failing)
        m_failing.insert(code);
    else
        m_failing.erase(code);
}

bool KeyboardModel::IsOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_open;
}

bool KeyboardModel::IsPresent() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_present;
}

std::optional<uint32_t> KeyboardModel::RegisteredHandle() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_registeredHandle;
}

uint8_t KeyboardModel::Mode() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

uint8_t KeyboardModel::KeySwitch() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keySwitch;
}

uint8_t KeyboardModel::CurrentProfile() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile;
}

uint16_t KeyboardModel::Firmware() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_firmware;
}

KeySequence KeyboardModel::StoredSequence(int profile, int key) const
{
    if (profile < 1 || profile > kProfileCount || key < 1 || key > kKeyCount)
        return KeySequence{};
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequences[profile - 1][key - 1];
}

size_t KeyboardModel::PendingEvents() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_events.size();
}

std::vector<KeyboardModel::LoggedCall> KeyboardModel::CallLog() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_log;
}

void KeyboardModel::ClearCallLog()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
}

std::string KeyboardModel::FormatCall(const LoggedCall& call)
{
    std::string line = std::to_string(call.timeMs) + " " + HexWord(call.code);
    if (!call.request.empty())
        line += " " + Hex(call.request.data(), call.request.size());
    return line;
}

std::vector<std::string> KeyboardModel::CallLogLines() const
{
    std::vector<std::string> lines;
    for (const LoggedCall& call : CallLog())
        lines.push_back(FormatCall(call));
    return lines;
}

std::vector<std::string> KeyboardModel::StateLines() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> lines = {
        "profile " + std::to_string(m_profile),
        "mode " + std::to_string(m_mode),
        "switch " + std::to_string(m_keySwitch),
        "firmware " + std::to_string(m_firmware),
    };
    for (int p = 0; p < kProfileCount; ++p)
        for (int k = 0; k < kKeyCount; ++k)
            lines.push_back("key " + std::to_string(p + 1) + " " + std::to_string(k + 1) + " " +
                            Hex(m_sequences[p][k].data(), kKeySequenceLength));
    return lines;
}
