// Translation between Windows virtual-key codes, HID usage ids (the key codes stored in shortcuts and
// macro events) and scan codes, and the names by which keys and key assignments are shown.
#pragma once

#include "KeyboardLayout.h"
#include "Records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// One key: virtual-key code, HID usage id (or mouse button code 0xF0..0xF4) and set-1 scan code.
// Exactly the keys whose usage is 0x04..0x45 carry a scan code; the others carry 0.
struct KeyTableRow {
    uint32_t VirtualKey;
    uint32_t Usage;
    uint32_t ScanCode;
};

constexpr size_t kKeyTableRowCount = 111;

// Identical in both programs and searched from the first row: the first matching row wins.
extern const KeyTableRow KeyTable[kKeyTableRowCount];

// The usage to store for a pressed key. Letters, digits, punctuation and F-keys (usages 0x04..0x45)
// are recorded by their physical position: the layout's scan code for vk picks the row, so a layout
// that moves letters still records the key's US position. Empty when the table has no row for vk.
std::optional<uint32_t> VirtualKeyToUsage(uint32_t vk, const KeyboardLayout& layout);

// The virtual key to play for a stored usage. Usages 0x04..0x45 go through the row's scan code and
// the layout; empty when the table has no row or the layout no key at that position.
std::optional<uint32_t> UsageToVirtualKey(uint32_t usage, const KeyboardLayout& layout);

// Display name of a stored usage: letters, digits and punctuation as the layout labels them (letters
// upper case), everything else by a fixed name; empty for codes without a name.
std::string UsageName(uint32_t usage, const KeyboardLayout& layout);

// Display name of a virtual key: a fixed name, or else the character the key types in the layout
// with letters upper case; empty when it types none.
std::string VirtualKeyName(uint32_t vk, const KeyboardLayout& layout);

// The text shown for a key's assignment: modifier prefixes and key name for a shortcut, the macro or
// timer name, or the fixed label of the function; empty for unknown function codes.
std::string AssignmentLabel(const ButtonInfo& info, const KeyboardLayout& layout);
