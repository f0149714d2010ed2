#include "DeviceProtocol.h"

#include <cstring>

const DeviceKeyCodeRow DeviceKeyCodeTable[] = {
    {0x12, 4},   {0x61, 5},   {0x18, 6},   {0x14, 7},   {0x10, 8},   {0x31, 9},   {0x40, 10},  {0x42, 11},  {0x80, 12},
    {0x32, 13},  {0x33, 14},  {0x34, 15},  {0x52, 16},  {0x62, 17},  {0x81, 18},  {0x71, 19},  {0x90, 20},  {0x97, 21},
    {0x13, 22},  {0x21, 23},  {0x9F, 24},  {0x51, 25},  {0x98, 26},  {0x1A, 27},  {0x22, 28},  {0x1B, 29},  {0x16, 30},
    {0x15, 31},  {0x1F, 32},  {0xA0, 33},  {0x17, 34},  {0x72, 35},  {0x82, 36},  {0x84, 37},  {0x8B, 38},  {0x8A, 39},
    {0x5A, 40},  {0x93, 41},  {0x2A, 42},  {0x11, 43},  {0xA8, 44},  {0x7B, 45},  {0x73, 46},  {0x5B, 47},  {0x23, 48},
    {0x3A, 49},  {0x3B, 51},  {0x4B, 52},  {0x96, 53},  {0x53, 54},  {0x54, 55},  {0x6B, 56},  {0x76, 57},  {0x9E, 58},
    {0x70, 59},  {0x20, 60},  {0x9A, 61},  {0x8F, 62},  {0x24, 64},  {0x43, 64},  {0x64, 65},  {0x7A, 66},  {0x88, 67},
    {0x4A, 68},  {0x6A, 69},  {0x8E, 70},  {0x99, 71},  {0x91, 72},  {0x0F, 73},  {0x75, 74},  {0x77, 75},  {0x78, 76},
    {0x85, 77},  {0x86, 78},  {0x67, 79},  {0x65, 80},  {0x68, 81},  {0x45, 82},  {0x58, 83},  {0x57, 84},  {0x56, 85},
    {0x66, 86},  {0xA6, 87},  {0x35, 88},  {0x41, 89},  {0x92, 90},  {0x36, 91},  {0x2B, 92},  {0x74, 93},  {0x30, 94},
    {0xAF, 95},  {0x83, 96},  {0x6F, 97},  {0x47, 98},  {0x1E, 99},  {0x44, 101}, {0x87, 130}, {0x7D, 224}, {0x39, 225},
    {0x4C, 226}, {0xA1, 227}, {0x5D, 228}, {0x29, 229}, {0x6C, 230}, {0xA3, 231},
};
static_assert(sizeof DeviceKeyCodeTable / sizeof DeviceKeyCodeTable[0] == kDeviceKeyCodeCount,
              "DeviceKeyCodeTable has one row per key of the keyboard");

namespace {

constexpr uint8_t kModifierDownOrder[4] = {kFlagShift, kFlagCtrl, kFlagWin, kFlagAlt};
constexpr uint8_t kModifierUpOrder[4] = {kFlagAlt, kFlagWin, kFlagCtrl, kFlagShift};
constexpr int kMaxDecodedPairs = 5;

// Appends pairs to a key sequence; a pair that would not fit with the closing zero is dropped.
class SequenceWriter {
public:
    explicit SequenceWriter(uint8_t* out) : m_out(out) { std::memset(m_out, 0, kKeySequenceLength); }

    void Pair(uint8_t code, uint8_t state)
    {
        if (m_used + 2 > kKeySequenceLength - 1)
            return;
        m_out[m_used++] = code;
        m_out[m_used++] = state;
    }

private:
    uint8_t* m_out;
    size_t m_used = 0;
};

void PutLittleEndian32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

RequestBuffer Command(uint8_t command, uint8_t argument)
{
    RequestBuffer buffer{};
    buffer[0] = command;
    buffer[1] = argument;
    return buffer;
}

} // namespace

std::optional<ControlLength> ControlLengths(uint32_t code)
{
    switch (code) {
    case IOCTL_FLT_REGISTER_EVENT: return ControlLength{4, 0};
    case IOCTL_FLT_UNREGISTER: return ControlLength{0, 0};
    case IOCTL_FLT_READ_EVENT: return ControlLength{4, 4};
    case IOCTL_FLT_SET_MODE: return ControlLength{2, 0};
    case IOCTL_FLT_GET_MODE: return ControlLength{2, 2};
    case IOCTL_FLT_SET_KEY: return ControlLength{24, 0};
    case IOCTL_FLT_GET_KEY: return ControlLength{24, 24};
    case IOCTL_FLT_GET_FIRMWARE: return ControlLength{8, 8};
    case IOCTL_FLT_SET_KEY_SWITCH: return ControlLength{2, 0};
    case IOCTL_FLT_GET_KEY_SWITCH: return ControlLength{2, 2};
    case IOCTL_FLT_SET_PROFILE: return ControlLength{2, 0};
    case IOCTL_FLT_GET_PROFILE: return ControlLength{2, 2};
    default: return std::nullopt;
    }
}

uint8_t UsageToDeviceCode(uint8_t usage)
{
    for (const DeviceKeyCodeRow& row : DeviceKeyCodeTable)
        if (row.Usage == usage)
            return row.Code;
    return 0;
}

uint8_t DeviceCodeToUsage(uint8_t code)
{
    for (const DeviceKeyCodeRow& row : DeviceKeyCodeTable)
        if (row.Code == code)
            return row.Usage;
    return 0;
}

DeviceEvent DeviceEvent::FromWord(uint32_t word)
{
    return {static_cast<uint16_t>(word >> 16), static_cast<uint16_t>(word & 0xFFFF)};
}

DeviceEvent DeviceEvent::FromBytes(const uint8_t bytes[4])
{
    return FromWord(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24);
}

uint32_t DeviceEvent::Word() const
{
    return uint32_t{kind} << 16 | value;
}

uint32_t KeyPressWord(uint8_t keyIndex)
{
    return DeviceEvent{kEventKindKey, keyIndex}.Word();
}

uint32_t KeyReleaseWord(uint8_t keyIndex)
{
    return DeviceEvent{kEventKindKey, static_cast<uint16_t>(kKeyRelease << 8 | keyIndex)}.Word();
}

DeviceEventKind ClassifyDeviceEvent(DeviceEvent event)
{
    switch (event.kind) {
    case kEventKindKey:
        if (event.value == kEventValueModeNumLockOn)
            return DeviceEventKind::ModeNumLockOn;
        if (event.value == kEventValueModeNumLockOff)
            return DeviceEventKind::ModeNumLockOff;
        if (event.KeyIndex() < kKeyCount && (event.value >> 8) <= kKeyRelease)
            return DeviceEventKind::Key;
        return DeviceEventKind::Ignored;
    case kEventKindDevice:
        if (event.value == kEventValueArrival)
            return DeviceEventKind::Arrival;
        if (event.value == kEventValueRemoval)
            return DeviceEventKind::Removal;
        return DeviceEventKind::Ignored;
    case kEventKindReset: return DeviceEventKind::Reset;
    case kEventKindOsdHide: return DeviceEventKind::OsdHide;
    default: return DeviceEventKind::Ignored;
    }
}

namespace DeviceRequest {

RequestBuffer SetMode(KeyboardMode mode)
{
    return Command(kCommandSetMode, static_cast<uint8_t>(static_cast<int32_t>(mode) & 0xFF));
}

RequestBuffer SetKey(uint8_t profile, uint8_t key, const ButtonInfo& info)
{
    RequestBuffer buffer = Command(kCommandSetKey, profile);
    buffer[2] = key;
    EncodeKeySequence(info, buffer.data() + kKeySequenceOffset);
    return buffer;
}

RequestBuffer GetKey(uint8_t profile, uint8_t key)
{
    return Command(profile, key);
}

RequestBuffer SetKeySwitch(uint8_t mask)
{
    return Command(kCommandSetKeySwitch, mask);
}

RequestBuffer SetProfile(uint8_t profile)
{
    return Command(kCommandSetProfile, profile);
}

RequestBuffer RegisterEvent(uint32_t handleValue)
{
    RequestBuffer buffer{};
    PutLittleEndian32(buffer.data(), handleValue);
    return buffer;
}

} // namespace DeviceRequest

uint8_t KeySwitchMask(const Profile& profile)
{
    uint8_t mask = 0;
    for (int i = 0; i < kKeyCount; ++i)
        if (profile.KeyFlags[i] == KeySwitch::Off)
            mask = static_cast<uint8_t>(mask | 1u << i);
    return mask;
}

void EncodeKeySequence(const ButtonInfo& info, uint8_t out[kKeySequenceLength])
{
    SequenceWriter sequence(out);
    auto media = [&](uint8_t code) {
        sequence.Pair(code, kKeyStateDown);
        sequence.Pair(code, kKeyStateUp);
    };
    switch (static_cast<KeyFunction>(info.FunctionCode)) {
    case KeyFunction::Shortcut: {
        const bool withModifiers = info.ShortcutFlags[kFlagPlain] != 1;
        if (withModifiers)
            for (uint8_t flag : kModifierDownOrder)
                if (info.ShortcutFlags[flag] == 1)
                    sequence.Pair(ModifierDeviceCodes[flag], kKeyStateDown);
        if (const uint8_t code = UsageToDeviceCode(info.ShortcutKey)) {
            sequence.Pair(code, kKeyStateDown);
            sequence.Pair(code, kKeyStateUp);
        }
        if (withModifiers)
            for (uint8_t flag : kModifierUpOrder)
                if (info.ShortcutFlags[flag] == 1)
                    sequence.Pair(ModifierDeviceCodes[flag], kKeyStateUp);
        break;
    }
    case KeyFunction::Mute: media(kDeviceCodeMute); break;
    case KeyFunction::VolumeUp: media(kDeviceCodeVolumeUp); break;
    case KeyFunction::VolumeDown: media(kDeviceCodeVolumeDown); break;
    default: break;
    }
}

void DecodeKeyReply(const uint8_t reply[kKeyReplyLength], ButtonInfo& info)
{
    const uint8_t first = reply[kKeySequenceOffset];
    switch (first) {
    case kDeviceCodeVolumeUp: info.FunctionCode = static_cast<uint8_t>(KeyFunction::VolumeUp); return;
    case kDeviceCodeVolumeDown: info.FunctionCode = static_cast<uint8_t>(KeyFunction::VolumeDown); return;
    case kDeviceCodeMute: info.FunctionCode = static_cast<uint8_t>(KeyFunction::Mute); return;
    case 0x00:
    case 0xFF: return;
    default: break;
    }

    uint8_t flags[5] = {};
    uint8_t usage = 0;
    for (int pair = 0; pair < kMaxDecodedPairs; ++pair) {
        const uint8_t code = reply[kKeySequenceOffset + 2 * pair];
        const uint8_t state = reply[kKeySequenceOffset + 2 * pair + 1];
        if (code == 0 || state != kKeyStateDown)
            break;
        int modifier = 0;
        for (int flag = kFlagShift; flag <= kFlagAlt; ++flag)
            if (ModifierDeviceCodes[flag] == code)
                modifier = flag;
        if (modifier == 0) {
            usage = DeviceCodeToUsage(code);
            break;
        }
        flags[modifier] = 1;
    }

    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    info.ShortcutKey = usage;
    std::memcpy(info.ShortcutFlags, flags, sizeof flags);
}

uint16_t FirmwareVersionFromReply(const uint8_t reply[8])
{
    return static_cast<uint16_t>(reply[4] | reply[5] << 8);
}
