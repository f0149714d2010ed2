// The byte-level protocol between the host and the keyboard's filter driver: control codes and
// their buffer lengths, the keyboard's own key numbers, the event word, request layouts, and the
// translation of a key assignment to and from the key sequence the keyboard stores.
#pragma once

#include "Records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Control codes: device type 0x22 (unknown), any access, buffered, functions from 0x900.
constexpr uint32_t IOCTL_FLT_REGISTER_EVENT = 0x222400;
constexpr uint32_t IOCTL_FLT_UNREGISTER = 0x222404;
constexpr uint32_t IOCTL_FLT_READ_EVENT = 0x222408;
constexpr uint32_t IOCTL_FLT_SET_MODE = 0x222418;
constexpr uint32_t IOCTL_FLT_GET_MODE = 0x22241C;
constexpr uint32_t IOCTL_FLT_SET_KEY = 0x222420;
constexpr uint32_t IOCTL_FLT_GET_KEY = 0x222424;
constexpr uint32_t IOCTL_FLT_GET_FIRMWARE = 0x222428;
constexpr uint32_t IOCTL_FLT_SET_KEY_SWITCH = 0x22242C;
constexpr uint32_t IOCTL_FLT_GET_KEY_SWITCH = 0x222430;
constexpr uint32_t IOCTL_FLT_SET_PROFILE = 0x222434;
constexpr uint32_t IOCTL_FLT_GET_PROFILE = 0x222438;

// Every call goes through one zeroed buffer of this size; the first In bytes are sent and, where Out
// is not 0, the first Out bytes of the same buffer receive the reply.
constexpr size_t kRequestBufferSize = 100;
using RequestBuffer = std::array<uint8_t, kRequestBufferSize>;

struct ControlLength {
    uint32_t in;
    uint32_t out;
};

// Request and reply length of a control code; nothing for a code the driver does not know.
std::optional<ControlLength> ControlLengths(uint32_t code);

// The first byte of each set request, naming the keyboard command.
constexpr uint8_t kCommandSetMode = 3;
constexpr uint8_t kCommandSetKey = 4;
constexpr uint8_t kCommandSetKeySwitch = 6;
constexpr uint8_t kCommandSetProfile = 7;

// A key sequence: (device key code, state) pairs from byte 3 of a set-key request or get-key reply,
// state 1 down and 0 up, ending at the first zero code. Ten pairs at most, so its last byte (byte 23
// of the request) is always 0.
constexpr size_t kKeySequenceOffset = 3;
constexpr size_t kKeySequenceLength = 21;
constexpr size_t kKeyReplyLength = kKeySequenceOffset + kKeySequenceLength; // 24
// The 21 bytes the keyboard stores for one key.
using KeySequence = std::array<uint8_t, kKeySequenceLength>;
constexpr uint8_t kKeyStateDown = 1;
constexpr uint8_t kKeyStateUp = 0;

// The keyboard's key numbers of the modifiers, indexed like ButtonInfo::ShortcutFlags (index 0, the
// plain-key flag, has none).
inline constexpr uint8_t ModifierDeviceCodes[5] = {0x00, 0x29, 0x7D, 0xA1, 0x4C};

// The keyboard's own media functions (function codes Mute, VolumeUp, VolumeDown).
constexpr uint8_t kDeviceCodeMute = 0x7E;
constexpr uint8_t kDeviceCodeVolumeUp = 0x59;
constexpr uint8_t kDeviceCodeVolumeDown = 0x49;

struct DeviceKeyCodeRow {
    uint8_t Code;  // the keyboard's key number
    uint8_t Usage; // HID usage id
};

constexpr size_t kDeviceKeyCodeCount = 105;

// The keyboard's key numbers of the ordinary keys, searched from the first row. Usage 64 has two
// rows (0x24, then 0x43); usage 63 has none.
extern const DeviceKeyCodeRow DeviceKeyCodeTable[kDeviceKeyCodeCount];

// The code of the first row with this usage; 0 when there is none.
uint8_t UsageToDeviceCode(uint8_t usage);
// The usage of the first row with this code; 0 when there is none (0 itself included).
uint8_t DeviceCodeToUsage(uint8_t code);

// Event kinds (high half of the event word) and the values that carry a meaning.
constexpr uint16_t kEventKindKey = 0xF000; // programmable key, or the Mode switch
constexpr uint16_t kEventKindDevice = 0x7000;
constexpr uint16_t kEventKindReset = 0xB000;
constexpr uint16_t kEventKindOsdHide = 0x0000;
constexpr uint16_t kEventValueArrival = 1;
constexpr uint16_t kEventValueRemoval = 2;
constexpr uint16_t kEventValueModeNumLockOn = 8;  // the mode switch moved to KeyboardMode::NumLockOn
constexpr uint16_t kEventValueModeNumLockOff = 9; // and to KeyboardMode::NumLockOff
// A key event's value: the key index in the low byte, its KeyAction in the second.

// One event word as the driver delivers it: kind in the high 16 bits, value in the low 16 bits.
struct DeviceEvent {
    uint16_t kind;
    uint16_t value;

    static DeviceEvent FromWord(uint32_t word);
    // The word from the first four bytes of a read-event reply, little-endian.
    static DeviceEvent FromBytes(const uint8_t bytes[4]);
    uint32_t Word() const;

    // For key events: the key index 0..4 (key number minus 1) and whether the key was released.
    uint8_t KeyIndex() const { return static_cast<uint8_t>(value & 0xFF); }
    bool IsRelease() const { return (value >> 8) == kKeyRelease; }
};

// The event word of programmable key keyIndex (0..4) going down or up.
uint32_t KeyPressWord(uint8_t keyIndex);
uint32_t KeyReleaseWord(uint8_t keyIndex);

enum class DeviceEventKind { Key, ModeNumLockOn, ModeNumLockOff, Arrival, Removal, Reset, OsdHide, Ignored };

// What the host does with an event. Kind 0xF000 is a key event only when the low byte is a key
// index 0..4 and the second byte is press (0) or release (1); a second byte above 1 is neither and
// is ignored rather than taken for a release that could stop a running macro. Values 8 and 9 are the
// Mode switch; every other value of that kind (0x0108, a key index above 4) is ignored, as are
// device values other than 1 and 2 and every kind without a meaning (0xA000, 0xE000, ...).
DeviceEventKind ClassifyDeviceEvent(DeviceEvent event);

// Request buffers, zeroed and then filled as the driver expects; send the first In bytes.
namespace DeviceRequest {
// [0] = 3, [1] = low byte of mode.
RequestBuffer SetMode(KeyboardMode mode);
// [0] = 4, [1] = profile number 1..5, [2] = key number 1..5, [3..23] = EncodeKeySequence(info).
RequestBuffer SetKey(uint8_t profile, uint8_t key, const ButtonInfo& info);
// [0] = profile number, [1] = key number.
RequestBuffer GetKey(uint8_t profile, uint8_t key);
// [0] = 6, [1] = mask (see KeySwitchMask).
RequestBuffer SetKeySwitch(uint8_t mask);
// [0] = 7, [1] = profile number.
RequestBuffer SetProfile(uint8_t profile);
// [0..3] = the semaphore's handle value, little-endian.
RequestBuffer RegisterEvent(uint32_t handleValue);
} // namespace DeviceRequest

// Bit i set when KeyFlags[i] is KeySwitch::Off (i = 0..4); any other flag value leaves the bit clear.
uint8_t KeySwitchMask(const Profile& profile);

// The key sequence the keyboard stores for a key (zero-filled first):
// - Shortcut: unless the plain-key flag is 1, a down pair for each modifier flag that is 1 in the
//   order Shift, Ctrl, Win, Alt; then the key's down and up pairs if its usage has a device code;
//   then, unless the plain-key flag is 1, the modifiers' up pairs in the order Alt, Win, Ctrl, Shift.
// - Mute, VolumeUp, VolumeDown: the media code down, then up.
// - Anything else: no pairs; the keyboard then reports the key to the host as an event.
void EncodeKeySequence(const ButtonInfo& info, uint8_t out[kKeySequenceLength]);

// Applies a get-key reply (24 bytes) to a key's assignment:
// - byte 3 a media code: only FunctionCode changes (Mute, VolumeUp, VolumeDown);
// - byte 3 neither 0 nor 0xFF: a Shortcut whose modifier flags and key come from the down pairs
//   read from byte 3 (at most five, ending at a zero code or a state other than down; the first code
//   that is not a modifier gives the key, 0 when the table has no row for it), plain-key flag 0;
// - byte 3 0 or 0xFF: the keyboard holds no sequence for the key (a macro key, say); info stays.
void DecodeKeyReply(const uint8_t reply[kKeyReplyLength], ButtonInfo& info);

// The firmware version in bytes 4..5 of a get-firmware reply (8 bytes), little-endian.
uint16_t FirmwareVersionFromReply(const uint8_t reply[8]);
