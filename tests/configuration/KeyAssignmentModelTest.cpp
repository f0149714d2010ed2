#include "KeyAssignmentModel.h"
#include "KeyCommands.h"
#include "KeyTable.h"
#include "TestLibraries.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Flags = KeyAssignmentModel::Flags;

constexpr uint32_t kVkF5 = 0x74;
constexpr uint32_t kVkLeftCtrl = 0xA2;
constexpr uint32_t kVkVolumeMute = 0xAD; // a multimedia key: no row in the key table

// A and Q swap places, as on a French keyboard.
class AzertyLayout : public KeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t vk) const override
    {
        if (vk == 'A')
            return 0x10;
        if (vk == 'Q')
            return 0x1E;
        return UsKeyboardLayout().VirtualKeyToScanCode(vk);
    }
    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override
    {
        if (scan == 0x10)
            return 'A';
        if (scan == 0x1E)
            return 'Q';
        return UsKeyboardLayout().ScanCodeToVirtualKey(scan);
    }
    uint8_t VirtualKeyToAscii(uint32_t vk) const override { return UsKeyboardLayout().VirtualKeyToAscii(vk); }
};

// Key 2 (index 1) of a profile, playing a looping macro.
Profile ProfileWithMacroKey()
{
    MacroLibrary macros;
    macros.push_back(TestSet("Fight"));
    macros.back()->Elements.push_back(TestMacro("Combo", 1, {{0x04, 0, 30}, {0x04, 1, 0}}));
    Profile p = TestProfile();
    HandleKeyCommand(*MacroCommandId(0, 0), 1, p, macros, TimerLibrary());
    return p;
}

} // namespace

TEST(KeyAssignmentDialog, StartsFromTheStoredShortcut)
{
    KeyAssignmentModel dlg(0x3A, {0, 1, 0, 0, 1}, UsKeyboardLayout());
    EXPECT_EQ(dlg.KeyName(), "F1");
    EXPECT_FALSE(dlg.Checked(kFlagPlain));
    EXPECT_TRUE(dlg.Checked(kFlagShift));
    EXPECT_FALSE(dlg.Checked(kFlagCtrl));
    EXPECT_FALSE(dlg.Checked(kFlagWin));
    EXPECT_TRUE(dlg.Checked(kFlagAlt));
    EXPECT_FALSE(dlg.Checked(5));
}

TEST(KeyAssignmentDialog, CtrlAndF5StoreUsage3EWithCtrlOnlyAndReadCtrlF5)
{
    Profile p = ProfileWithMacroKey();
    ButtonInfo& key = p.Buttons[1];
    const KeyCommandOutcome open = HandleKeyCommand(kCmdAssignShortcut, 1, p, MacroLibrary(), TimerLibrary());
    ASSERT_EQ(open.dialog, KeyDialog::Shortcut);

    KeyAssignmentModel dlg(open.shortcutKey, open.shortcutFlags, UsKeyboardLayout());
    dlg.KeyCaptured(kVkF5); // press
    dlg.KeyCaptured(kVkF5); // release
    dlg.ToggleClicked(kFlagCtrl, true);
    EXPECT_EQ(dlg.KeyName(), "F5");
    dlg.StoreInto(key);

    EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(key.ShortcutKey, 0x3E);
    EXPECT_EQ(std::memcmp(key.ShortcutFlags, "\0\0\1\0\0", 5), 0);
    EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), "Ctrl+F5");
    EXPECT_EQ(key.MacroEventCount, 0);
    EXPECT_STREQ(key.MacroName, "");
    EXPECT_STREQ(key.MacroSetName, "");
}

TEST(KeyAssignmentDialog, OkWithoutAKeyKeepsTheStoredKeyAndMakesItAShortcut)
{
    Profile p = ProfileWithMacroKey();
    ButtonInfo& key = p.Buttons[1];
    key.ShortcutKey = 0x49;
    KeyAssignmentModel dlg(key.ShortcutKey, {1, 0, 0, 0, 0}, UsKeyboardLayout());
    EXPECT_EQ(dlg.KeyName(), "Insert");
    dlg.StoreInto(key);
    EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(key.ShortcutKey, 0x49);
    EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), "Insert");
}

TEST(KeyAssignmentDialog, TheLastKeyTouchedCountsAndAnUnknownKeyIsKeyZero)
{
    KeyAssignmentModel dlg(0x3A, {1, 0, 0, 0, 0}, UsKeyboardLayout());
    dlg.KeyCaptured(kVkF5);
    dlg.KeyCaptured(kVkLeftCtrl); // the modifier released last
    EXPECT_EQ(dlg.Key(), 0xE0);
    EXPECT_EQ(dlg.KeyName(), "Left Control");

    dlg.KeyCaptured(kVkVolumeMute);
    EXPECT_EQ(dlg.Key(), 0);
    EXPECT_EQ(dlg.KeyName(), "");
    ButtonInfo info{};
    info.ShortcutKey = 0x3A;
    dlg.StoreInto(info);
    EXPECT_EQ(info.ShortcutKey, 0);
}

TEST(KeyAssignmentDialog, ALetterIsStoredByItsPositionAndNamedAsTheLayoutLabelsIt)
{
    AzertyLayout azerty;
    KeyAssignmentModel dlg(0, {1, 0, 0, 0, 0}, azerty);
    dlg.KeyCaptured('A'); // the key labelled A sits where Q is on a US keyboard
    EXPECT_EQ(dlg.Key(), 0x14);
    EXPECT_EQ(dlg.KeyName(), "A");
}

TEST(KeyAssignmentDialog, ThePlainKeyAndTheModifiersExcludeEachOther)
{
    KeyAssignmentModel dlg(0x3E, {0, 0, 0, 0, 0}, UsKeyboardLayout());
    dlg.ToggleClicked(kFlagShift, true);
    dlg.ToggleClicked(kFlagCtrl, true);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{0, 1, 1, 0, 0}));

    // The plain key clears every modifier.
    dlg.ToggleClicked(kFlagPlain, true);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{1, 0, 0, 0, 0}));

    // Any modifier clears the plain key, even one switched off.
    dlg.ToggleClicked(kFlagAlt, true);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{0, 0, 0, 0, 1}));
    dlg.ToggleClicked(kFlagPlain, true);
    dlg.ToggleClicked(kFlagWin, false);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{0, 0, 0, 0, 0}));

    // Switching the plain key off leaves nothing on.
    dlg.ToggleClicked(kFlagShift, true);
    dlg.ToggleClicked(kFlagPlain, false);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{0, 0, 0, 0, 0}));

    // A toggle that does not exist changes nothing.
    dlg.ToggleClicked(kFlagPlain, true);
    dlg.ToggleClicked(-1, true);
    dlg.ToggleClicked(5, true);
    EXPECT_EQ(dlg.ShortcutFlags(), (Flags{1, 0, 0, 0, 0}));
}
