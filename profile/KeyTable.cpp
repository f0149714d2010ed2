#include "KeyTable.h"

#include "Text.h"

// Defined constexpr so that its shape can be checked at compile time; the header's declaration gives
// it external linkage.
// clang-format off
constexpr KeyTableRow KeyTable[kKeyTableRowCount] = {
    // Letters A..Z
    {0x41, 0x04, 0x1E}, {0x42, 0x05, 0x30}, {0x43, 0x06, 0x2E}, {0x44, 0x07, 0x20},
    {0x45, 0x08, 0x12}, {0x46, 0x09, 0x21}, {0x47, 0x0A, 0x22}, {0x48, 0x0B, 0x23},
    {0x49, 0x0C, 0x17}, {0x4A, 0x0D, 0x24}, {0x4B, 0x0E, 0x25}, {0x4C, 0x0F, 0x26},
    {0x4D, 0x10, 0x32}, {0x4E, 0x11, 0x31}, {0x4F, 0x12, 0x18}, {0x50, 0x13, 0x19},
    {0x51, 0x14, 0x10}, {0x52, 0x15, 0x13}, {0x53, 0x16, 0x1F}, {0x54, 0x17, 0x14},
    {0x55, 0x18, 0x16}, {0x56, 0x19, 0x2F}, {0x57, 0x1A, 0x11}, {0x58, 0x1B, 0x2D},
    {0x59, 0x1C, 0x15}, {0x5A, 0x1D, 0x2C},
    // Digits 1..9, 0
    {0x31, 0x1E, 0x02}, {0x32, 0x1F, 0x03}, {0x33, 0x20, 0x04}, {0x34, 0x21, 0x05},
    {0x35, 0x22, 0x06}, {0x36, 0x23, 0x07}, {0x37, 0x24, 0x08}, {0x38, 0x25, 0x09},
    {0x39, 0x26, 0x0A}, {0x30, 0x27, 0x0B},
    // Enter, Esc, BackSpace, Tab, Space
    {0x0D, 0x28, 0x1C}, {0x1B, 0x29, 0x01}, {0x08, 0x2A, 0x0E}, {0x09, 0x2B, 0x0F},
    {0x20, 0x2C, 0x39},
    // - = [ ] \ (no row for usage 0x32, Europe 1)
    {0xBD, 0x2D, 0x0C}, {0xBB, 0x2E, 0x0D}, {0xDB, 0x2F, 0x1A}, {0xDD, 0x30, 0x1B},
    {0xDC, 0x31, 0x2B},
    // ; ' ` , . /
    {0xBA, 0x33, 0x27}, {0xDE, 0x34, 0x28}, {0xC0, 0x35, 0x29}, {0xBC, 0x36, 0x33},
    {0xBE, 0x37, 0x34}, {0xBF, 0x38, 0x35},
    // Caps Lock
    {0x14, 0x39, 0x3A},
    // F1..F12
    {0x70, 0x3A, 0x3B}, {0x71, 0x3B, 0x3C}, {0x72, 0x3C, 0x3D}, {0x73, 0x3D, 0x3E},
    {0x74, 0x3E, 0x3F}, {0x75, 0x3F, 0x40}, {0x76, 0x40, 0x41}, {0x77, 0x41, 0x42},
    {0x78, 0x42, 0x43}, {0x79, 0x43, 0x44}, {0x7A, 0x44, 0x57}, {0x7B, 0x45, 0x58},
    // Print Screen, Scroll Lock, Break
    {0x2C, 0x46, 0}, {0x91, 0x47, 0}, {0x13, 0x48, 0},
    // Insert, Home, Page Up, Delete, End, Page Down
    {0x2D, 0x49, 0}, {0x24, 0x4A, 0}, {0x21, 0x4B, 0}, {0x2E, 0x4C, 0}, {0x23, 0x4D, 0},
    {0x22, 0x4E, 0},
    // Right, Left, Down, Up arrow
    {0x27, 0x4F, 0}, {0x25, 0x50, 0}, {0x28, 0x51, 0}, {0x26, 0x52, 0},
    // Num Lock, keypad / * - + Enter (keypad Enter is virtual key 0x6C, not 0x0D)
    {0x90, 0x53, 0}, {0x6F, 0x54, 0}, {0x6A, 0x55, 0}, {0x6D, 0x56, 0}, {0x6B, 0x57, 0},
    {0x6C, 0x58, 0},
    // Keypad 1..5, then 7 before 6, then 8, 9, 0, .
    {0x61, 0x59, 0}, {0x62, 0x5A, 0}, {0x63, 0x5B, 0}, {0x64, 0x5C, 0}, {0x65, 0x5D, 0},
    {0x67, 0x5F, 0}, {0x66, 0x5E, 0},
    {0x68, 0x60, 0}, {0x69, 0x61, 0}, {0x60, 0x62, 0}, {0x6E, 0x63, 0},
    // Europe 2, Application, Sleep
    {0xE2, 0x64, 0}, {0x5D, 0x65, 0}, {0x5F, 0x82, 0},
    // Left Control, Shift, Alt, GUI; Right Control, Shift, Alt, GUI
    {0xA2, 0xE0, 0}, {0xA0, 0xE1, 0}, {0xA4, 0xE2, 0}, {0x5B, 0xE3, 0},
    {0xA3, 0xE4, 0}, {0xA1, 0xE5, 0}, {0xA5, 0xE6, 0}, {0x5C, 0xE7, 0},
    // Mouse buttons
    {0xF0, 0xF0, 0}, {0xF1, 0xF1, 0}, {0xF2, 0xF2, 0}, {0xF3, 0xF3, 0}, {0xF4, 0xF4, 0},
};
// clang-format on

namespace {

// Usages whose key position comes from the layout, and the part of them named by the layout.
constexpr uint32_t kFirstLayoutUsage = 0x04;
constexpr uint32_t kLastLayoutUsage = 0x45;
constexpr uint32_t kLastLayoutNamedUsage = 0x39;

constexpr bool IsLayoutUsage(uint32_t usage)
{
    return usage >= kFirstLayoutUsage && usage <= kLastLayoutUsage;
}

// A short initializer list would leave zero rows at the end; the scan codes must sit exactly on the
// layout usages, because VirtualKeyToUsage relies on a scan code naming such a row.
constexpr bool KeyTableIsWellFormed()
{
    for (const KeyTableRow& row : KeyTable) {
        if (row.VirtualKey == 0 || row.Usage == 0)
            return false;
        if ((row.ScanCode != 0) != IsLayoutUsage(row.Usage))
            return false;
    }
    return true;
}
static_assert(KeyTableIsWellFormed(), "KeyTable rows");

const KeyTableRow* FindRow(uint32_t KeyTableRow::*column, uint32_t value)
{
    for (const KeyTableRow& row : KeyTable)
        if (row.*column == value)
            return &row;
    return nullptr;
}

struct CodeName {
    uint32_t Code;
    const char* Name;
};

// Usages with a fixed name, apart from the F-keys and keypad digits, which are numbered.
// clang-format off
constexpr CodeName kUsageNames[] = {
    {0x46, "Print Screen"},  {0x47, "Scroll Lock"},   {0x48, "Break"},
    {0x49, "Insert"},        {0x4A, "Home"},          {0x4B, "Page Up"},
    {0x4C, "Delete"},        {0x4D, "End"},           {0x4E, "Page Down"},
    {0x4F, "Right Arrow"},   {0x50, "Left Arrow"},    {0x51, "Down Arrow"},
    {0x52, "Up Arrow"},      {0x53, "Num Lock"},      {0x54, "Num_/"},
    {0x55, "Num_*"},         {0x56, "Num_-"},         {0x57, "Num_+"},
    {0x58, "Num_Enter"},     {0x62, "Num_0"},         {0x63, "Num_."},
    {0x64, "Europe 2"},      {0x65, "APP"},           {0x82, "Sleep"},
    {0xE0, "Left Control"},  {0xE1, "Left Shift"},    {0xE2, "Left Alt"},
    {0xE3, "Left GUI"},      {0xE4, "Right Control"}, {0xE5, "Right Shift"},
    {0xE6, "Right Alt"},     {0xE7, "Right GUI"},     {0xF0, "Left Button"},
    {0xF1, "Right Button"},  {0xF2, "Middle Button"}, {0xF3, "Side Button 1"},
    {0xF4, "Side Button 2"},
};
// clang-format on

// Virtual keys with a fixed name, apart from the F-keys and keypad digits, which are numbered.
// clang-format off
constexpr CodeName kVirtualKeyNames[] = {
    {0x08, "BackSpace"},    {0x09, "Tab"},
    {0x0C, "Clr"},          {0x0D, "Enter"},
    {0x10, "Shift"},        {0x11, "Ctrl"},
    {0x12, "Alt"},          {0x13, "Pause"},
    {0x14, "Caps Lock"},    {0x1B, "Esc"},
    {0x20, "Space"},        {0x21, "Page Up"},
    {0x22, "Page Down"},    {0x23, "End"},
    {0x24, "Home"},         {0x25, "Left Arrow"},
    {0x26, "Up Arrow"},     {0x27, "Right Arrow"},
    {0x28, "Down Arrow"},   {0x29, "Select"},
    {0x2A, "Print Screen"}, {0x2B, "Exe"},
    {0x2C, "Snapshot"},     {0x2D, "Insert"},
    {0x2E, "Delete"},       {0x2F, "Help"},
    {0x5B, "Left Windows Button"}, {0x5C, "Right Windows Button"},
    {0x5D, "APP"},          {0x6A, "Num*"},
    {0x6B, "Num+"},         {0x6C, "NumRet"},
    {0x6D, "Num-"},         {0x6E, "Num."},
    {0x6F, "Num/"},         {0x90, "Num Lock"},
    {0x91, "Scroll Lock"},  {0xA0, "Left Shift"},
    {0xA1, "Right Shift"},  {0xA2, "Left Ctrl"},
    {0xA3, "Right Ctrl"},   {0xA4, "Left Alt"},
    {0xA5, "Right Alt"},    {0xF0, "Left Button"},
    {0xF1, "Right Button"}, {0xF2, "Middle Button"},
    {0xF3, "Side Button 1"}, {0xF4, "Side Button 2"},
};
// clang-format on

template <size_t N>
const char* FindName(const CodeName (&names)[N], uint32_t code)
{
    for (const CodeName& entry : names)
        if (entry.Code == code)
            return entry.Name;
    return nullptr;
}

// Upper case in the ANSI code page (Windows-1252), so that keys typing accented letters are named
// as their keycaps show them.
unsigned char UpperCase(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A: return 0x8A; // s caron
    case 0x9C: return 0x8C; // oe
    case 0x9E: return 0x8E; // z caron
    case 0xFF: return 0x9F; // y diaeresis
    default: return c;
    }
}

std::string ShortcutLabel(const ButtonInfo& info, const KeyboardLayout& layout)
{
    std::string label;
    if (info.ShortcutFlags[kFlagPlain] != 1) {
        if (info.ShortcutFlags[kFlagShift] == 1)
            label += "Shift+";
        if (info.ShortcutFlags[kFlagCtrl] == 1)
            label += "Ctrl+";
        if (info.ShortcutFlags[kFlagWin] == 1)
            label += "Win+";
        if (info.ShortcutFlags[kFlagAlt] == 1)
            label += "Alt+";
    }
    return label + UsageName(info.ShortcutKey, layout);
}

} // namespace

std::optional<uint32_t> VirtualKeyToUsage(uint32_t vk, const KeyboardLayout& layout)
{
    const KeyTableRow* row = FindRow(&KeyTableRow::VirtualKey, vk);
    if (!row)
        return std::nullopt;
    uint32_t usage = row->Usage;
    if (IsLayoutUsage(usage)) {
        // 0 means the layout has no position for vk; it must not pick a row that has no scan code.
        const uint32_t scan = layout.VirtualKeyToScanCode(vk);
        if (scan != 0)
            if (const KeyTableRow* position = FindRow(&KeyTableRow::ScanCode, scan))
                usage = position->Usage;
    }
    return usage;
}

std::optional<uint32_t> UsageToVirtualKey(uint32_t usage, const KeyboardLayout& layout)
{
    const KeyTableRow* row = FindRow(&KeyTableRow::Usage, usage);
    if (!row)
        return std::nullopt;
    if (!IsLayoutUsage(usage))
        return row->VirtualKey;
    const uint32_t vk = layout.ScanCodeToVirtualKey(row->ScanCode);
    if (vk == 0)
        return std::nullopt;
    return vk;
}

std::string UsageName(uint32_t usage, const KeyboardLayout& layout)
{
    if (usage >= kFirstLayoutUsage && usage <= kLastLayoutNamedUsage) {
        const std::optional<uint32_t> vk = UsageToVirtualKey(usage, layout);
        return vk ? VirtualKeyName(*vk, layout) : std::string();
    }
    if (usage >= 0x3A && usage <= 0x45)
        return "F" + std::to_string(usage - 0x3A + 1);
    if (usage >= 0x59 && usage <= 0x61)
        return "Num_" + std::to_string(usage - 0x59 + 1);
    const char* name = FindName(kUsageNames, usage);
    return name ? name : "";
}

std::string VirtualKeyName(uint32_t vk, const KeyboardLayout& layout)
{
    if (vk >= 0x60 && vk <= 0x69)
        return "Num" + std::to_string(vk - 0x60);
    if (vk >= 0x70 && vk <= 0x7B)
        return "F" + std::to_string(vk - 0x70 + 1);
    if (const char* name = FindName(kVirtualKeyNames, vk))
        return name;
    const unsigned char c = layout.VirtualKeyToAscii(vk);
    if (c == 0)
        return std::string();
    return std::string(1, static_cast<char>(UpperCase(c)));
}

std::string AssignmentLabel(const ButtonInfo& info, const KeyboardLayout& layout)
{
    switch (static_cast<KeyFunction>(info.FunctionCode)) {
    case KeyFunction::Shortcut: return ShortcutLabel(info, layout);
    case KeyFunction::Macro: return std::string(FieldText(info.MacroName));
    case KeyFunction::Timer: return std::string(FieldText(info.TimerName));
    case KeyFunction::ButtonOff: return "Button off";
    case KeyFunction::MacroPlayPause: return "Macro-Play/Pause";
    case KeyFunction::MacroStop: return "Macro-Stop";
    case KeyFunction::StopTimer: return "Stop Timer";
    case KeyFunction::OpenPlayer: return "Open Player";
    case KeyFunction::PrevTrack: return "Pre Track";
    case KeyFunction::NextTrack: return "Next Track";
    case KeyFunction::PlayPause: return "Play/Pause";
    case KeyFunction::StopMedia: return "Stop";
    case KeyFunction::Mute: return "Mute";
    case KeyFunction::VolumeUp: return "Volume Up";
    case KeyFunction::VolumeDown: return "Volume Down";
    case KeyFunction::WwwSearch: return "WWW Search";
    case KeyFunction::WwwHome: return "WWW Home";
    case KeyFunction::WwwBack: return "WWW Back";
    case KeyFunction::WwwForward: return "WWW Forward";
    case KeyFunction::WwwStop: return "WWW Stop";
    case KeyFunction::WwwRefresh: return "WWW Refresh";
    case KeyFunction::WwwFavorites: return "WWW Favorites";
    case KeyFunction::None:
    default: return std::string();
    }
}
