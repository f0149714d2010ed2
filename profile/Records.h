// Records shared with the data files, the keyboard and the other program. Their layouts are part of
// the stored formats and of the shared memory block, so every size and offset is checked below.
#pragma once

#include <cstddef>
#include <cstdint>

// One-byte function code of a programmable key (ButtonInfo::FunctionCode).
enum class KeyFunction : uint8_t {
    None = 0,
    Shortcut = 5,
    Macro = 6,
    ButtonOff = 7,
    MacroPlayPause = 8,
    MacroStop = 9,
    Timer = 10,
    StopTimer = 11,
    OpenPlayer = 32,
    PrevTrack = 33,
    NextTrack = 34,
    PlayPause = 35,
    StopMedia = 36,
    Mute = 37,
    VolumeUp = 38,
    VolumeDown = 39,
    WwwSearch = 48,
    WwwHome = 49,
    WwwBack = 50,
    WwwForward = 51,
    WwwStop = 52,
    WwwRefresh = 53,
    WwwFavorites = 54,
};

constexpr int kProfileCount = 5;     // profile slots 1..5
constexpr int kKeyCount = 5;         // programmable keys 1..5
constexpr int kMaxMacroEvents = 512; // events per macro
constexpr int kGameFileCount = 3;

// Mouse buttons carried in the key byte of macro events and shortcuts.
constexpr uint8_t kMouseLeft = 0xF0;
constexpr uint8_t kMouseRight = 0xF1;
constexpr uint8_t kMouseMiddle = 0xF2;
constexpr uint8_t kMouseSide1 = 0xF3;
constexpr uint8_t kMouseSide2 = 0xF4;

// Press or release: what a macro event does with its key, and what the keyboard reports in the second
// byte of a key event. A macro event keeps the byte as stored, since a file may hold any value there:
// an event that is neither press nor release is skipped by the player.
enum KeyAction : uint8_t { kKeyPress = 0, kKeyRelease = 1 };

// The keyboard's mode switch, as a profile holds it. The host keeps NumLock on in the first mode and
// off in the second; the configuration program's mode button is checked in the first. Unknown: the
// keyboard could not be asked. Any other stored number counts as unknown.
enum class KeyboardMode : int32_t { Unknown = -1, NumLockOn = 0, NumLockOff = 1 };

// A programmable key's own switch, as a profile holds it: on (its switch button checked) or off (the
// key's bit set in the mask the keyboard is sent).
enum class KeySwitch : uint8_t { On = 0, Off = 1 };

// One recorded input event: a HID usage (or mouse button), press or release, and the wait in
// milliseconds after it before the next event.
struct MacroEvent {
    uint8_t Key;
    uint8_t Action; // a KeyAction
    uint16_t Delay;
};

// The assignment of one programmable key. A macro or timer assignment carries its own copy of the
// macro's events or the timer's length, so the host needs nothing else to run it.
struct ButtonInfo {
    uint8_t KeyNumber;
    uint8_t FunctionCode;
    char MacroSetName[50];
    char MacroName[50];
    uint8_t Padding0[2];
    int32_t MacroLoop;
    uint16_t MacroEventCount;
    MacroEvent MacroEvents[kMaxMacroEvents];
    uint8_t ShortcutKey;
    uint8_t ShortcutFlags[5]; // plain key, Shift, Ctrl, Win, Alt
    int32_t TimerSeconds;
    char TimerName[100];
};

// Index of each flag in ButtonInfo::ShortcutFlags.
enum ShortcutFlag { kFlagPlain = 0, kFlagShift = 1, kFlagCtrl = 2, kFlagWin = 3, kFlagAlt = 4 };

// One profile slot.
struct Profile {
    char Name[250];
    char GameFile0[500];
    char GameFile1[500];
    char GameFile2[500];
    uint8_t Padding0[2];
    KeyboardMode Mode;
    int32_t MediaOption;
    KeySwitch KeyFlags[kKeyCount];
    uint8_t Padding1[3];
    ButtonInfo Buttons[kKeyCount];
};

// The whole store in memory, and byte for byte the content of the shared memory block.
struct ProfileSet {
    int32_t CurrentProfile; // active slot 1..5; anything else selects no slot
    Profile Profiles[kProfileCount];
};

// One macro of the macro library.
struct MacroRecord {
    char Name[50];
    uint8_t Padding0[2];
    int32_t Loop;
    int32_t EventCount;
    MacroEvent Events[kMaxMacroEvents];
};

// One countdown timer of the timer library.
struct TimerRecord {
    int32_t Seconds;
    char Name[100];
};

static_assert(sizeof(MacroEvent) == 4, "MacroEvent layout");
static_assert(offsetof(MacroEvent, Key) == 0 && offsetof(MacroEvent, Action) == 1 && offsetof(MacroEvent, Delay) == 2,
              "MacroEvent layout");

static_assert(sizeof(ButtonInfo) == 2268, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, KeyNumber) == 0, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, FunctionCode) == 1, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, MacroSetName) == 2, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, MacroName) == 52, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, MacroLoop) == 104, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, MacroEventCount) == 108, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, MacroEvents) == 110, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, ShortcutKey) == 2158, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, ShortcutFlags) == 2159, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, TimerSeconds) == 2164, "ButtonInfo layout");
static_assert(offsetof(ButtonInfo, TimerName) == 2168, "ButtonInfo layout");

static_assert(sizeof(Profile) == 13108, "Profile layout");
static_assert(offsetof(Profile, Name) == 0, "Profile layout");
static_assert(offsetof(Profile, GameFile0) == 250, "Profile layout");
static_assert(offsetof(Profile, GameFile1) == 750, "Profile layout");
static_assert(offsetof(Profile, GameFile2) == 1250, "Profile layout");
static_assert(offsetof(Profile, Mode) == 1752, "Profile layout");
static_assert(offsetof(Profile, MediaOption) == 1756, "Profile layout");
static_assert(offsetof(Profile, KeyFlags) == 1760, "Profile layout");
static_assert(offsetof(Profile, Buttons) == 1768, "Profile layout");

static_assert(sizeof(ProfileSet) == 65544, "ProfileSet layout");
static_assert(offsetof(ProfileSet, CurrentProfile) == 0, "ProfileSet layout");
static_assert(offsetof(ProfileSet, Profiles) == 4, "ProfileSet layout");

static_assert(sizeof(MacroRecord) == 2108, "MacroRecord layout");
static_assert(offsetof(MacroRecord, Name) == 0, "MacroRecord layout");
static_assert(offsetof(MacroRecord, Loop) == 52, "MacroRecord layout");
static_assert(offsetof(MacroRecord, EventCount) == 56, "MacroRecord layout");
static_assert(offsetof(MacroRecord, Events) == 60, "MacroRecord layout");

static_assert(sizeof(TimerRecord) == 104, "TimerRecord layout");
static_assert(offsetof(TimerRecord, Seconds) == 0, "TimerRecord layout");
static_assert(offsetof(TimerRecord, Name) == 4, "TimerRecord layout");

// True when slot is a usable profile slot number (1..5). A CurrentProfile outside this range
// selects no slot and must never be used as an index.
constexpr bool IsValidSlot(int32_t slot)
{
    return slot >= 1 && slot <= kProfileCount;
}
