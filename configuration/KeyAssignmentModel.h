// The rules of the shortcut dialog (CKeyAssignmentDlg): it captures one key from the keyboard and
// five toggles (plain key, Shift, Ctrl, Win, Alt) and, on OK, they become the key's shortcut. The
// window starts and stops the keyboard capture and passes each captured key in.
#pragma once

#include "KeyboardLayout.h"
#include "Records.h"

#include <array>
#include <cstdint>
#include <string>

class KeyAssignmentModel {
public:
    using Flags = std::array<uint8_t, 5>; // plain key, Shift, Ctrl, Win, Alt; nonzero is on

    // Starts from the key's stored shortcut (ShortcutKey, ShortcutFlags).
    KeyAssignmentModel(uint8_t key, const Flags& flags, const KeyboardLayout& layout);

    // A key went down or up anywhere (WM_KBDHOOK_KEY, wParam). Press and release count alike, so
    // the last key touched is the result; a key the key table does not know becomes 0, which has
    // no name.
    void KeyCaptured(uint32_t virtualKey);

    // Toggle index (kFlagPlain .. kFlagAlt) was clicked and is now checked or not. The plain key
    // excludes the modifiers: turning any toggle on or off clears the other kind. The window then
    // sets all five toggles from Checked.
    void ToggleClicked(int index, bool checked);

    uint8_t Key() const { return m_key; }
    const Flags& ShortcutFlags() const { return m_flags; }
    bool Checked(int index) const;
    // The text of the name field: the name of the captured key in the current layout.
    std::string KeyName() const;

    // OK: the key types the captured key with the toggles' flags. The macro copy is cleared, the
    // loop flag and the timer stay, and the key's caption reads as AssignmentLabel gives it.
    void StoreInto(ButtonInfo& info) const;

private:
    const KeyboardLayout& m_layout;
    uint8_t m_key;
    Flags m_flags;
};
