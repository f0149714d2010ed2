// The shortcut dialog on the real window manager (Wine under Xvfb) with the shipped skin: keys sent
// with SendInput as the keyboard sends them, toggles clicked with the real pointer, checked through
// what the screen shows and what the dialog stores into the key's record.
#include "KeyAssignmentDlg.h"
#include "KeyCapture.h"
#include "KeyTable.h"
#include "ModalScript.h"
#include "SkinDialog.h"
#include "Text.h"
#include "WinKeyboardLayout.h"
#include "ScreenShot.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::array<const char*, 5> kToggleNames{"plain", "Shift", "Ctrl", "Win", "Alt"};

void TapKey(BYTE vk)
{
    SendKeyInput(vk, false);
    SendKeyInput(vk, true);
    Pump(250);
}

std::string TextOf(const CWnd& window)
{
    char text[256] = {};
    ::GetWindowTextA(window.GetSafeHwnd(), text, sizeof text);
    return text;
}

// The pixels of a bitmap, or of the screen's rect, as 32-bit BGRX.
std::vector<DWORD> PixelsOf(HBITMAP bitmap, int width, int height)
{
    std::vector<DWORD> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const ClientDc screen(nullptr);
    if (::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) != height)
        pixels.clear();
    for (DWORD& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

std::vector<DWORD> ScreenPixelsOf(const RECT& r)
{
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const ClientDc screen(nullptr);
    MemoryDc memory(screen.Get());
    UniqueGdiObject<HBITMAP> copy(::CreateCompatibleBitmap(screen.Get(), width, height));
    {
        SelectScope select(memory.Get(), copy.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY);
    }
    return PixelsOf(copy.Get(), width, height);
}

// Which of its state pictures a button shows on the screen: "normal", "over", "down" (a checked
// toggle), "disabled", or "?" when the screen matches none of them.
std::string ShownPicture(const CBitmapBtn& button)
{
    const RECT r = button.GetWindowRect();
    const std::vector<DWORD> screen = ScreenPixelsOf(r);
    const std::pair<ButtonPicture, const char*> pictures[] = {{ButtonPicture::Normal, "normal"},
                                                              {ButtonPicture::Over, "over"},
                                                              {ButtonPicture::Down, "down"},
                                                              {ButtonPicture::Disabled, "disabled"}};
    for (const auto& [picture, name] : pictures) {
        const std::vector<DWORD> drawn = PixelsOf(button.StateBitmap(picture), r.right - r.left, r.bottom - r.top);
        if (!drawn.empty() && drawn == screen)
            return name;
    }
    return "?";
}

// What the five toggles show, as "plain Shift ..." of the checked ones.
std::string CheckedOnScreen(CKeyAssignmentDlg& dialog)
{
    std::string shown;
    for (std::size_t i = 0; i < kToggleNames.size(); ++i) {
        const std::string picture = ShownPicture(dialog.Toggle(i));
        if (picture == "down")
            shown += std::string(shown.empty() ? "" : " ") + kToggleNames[i];
        else if (picture != "normal")
            shown += std::string(shown.empty() ? "" : " ") + kToggleNames[i] + "=" + picture;
    }
    return shown;
}

// The same, as the dialog's rules have it.
std::string CheckedInModel(const CKeyAssignmentDlg& dialog)
{
    std::string checked;
    for (std::size_t i = 0; i < kToggleNames.size(); ++i)
        if (dialog.Model().Checked(static_cast<int>(i)))
            checked += std::string(checked.empty() ? "" : " ") + kToggleNames[i];
    return checked;
}

// A key playing a looping macro, with an old shortcut kept from before.
ButtonInfo MacroKey()
{
    ButtonInfo info;
    std::memset(&info, 0, sizeof info);
    info.KeyNumber = 2;
    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    CopyToField(info.MacroSetName, "Fight");
    CopyToField(info.MacroName, "Combo");
    info.MacroLoop = 1;
    info.MacroEventCount = 2;
    info.MacroEvents[0] = MacroEvent{0x04, 0, 30};
    info.MacroEvents[1] = MacroEvent{0x04, 1, 0};
    info.ShortcutKey = 0x3A; // F1
    info.ShortcutFlags[kFlagShift] = 1;
    info.ShortcutFlags[kFlagAlt] = 1;
    info.TimerSeconds = 90;
    CopyToField(info.TimerName, "Respawn");
    return info;
}

using Flags = std::array<uint8_t, 5>;

Flags FlagsOf(const ButtonInfo& info)
{
    Flags flags{};
    std::memcpy(flags.data(), info.ShortcutFlags, flags.size());
    return flags;
}

class ShortcutDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSkinProgramFolder(TOLK_DIST);
        ::SetCursorPos(1200, 1000);
    }
    void TearDown() override
    {
        SetSkinProgramFolder("");
        StopKeyCapture();
    }
    // Clicks, then takes the pointer off the dialog so that no button shows its hover picture.
    static void ClickAndLeave(const CWnd& control)
    {
        Click(CentreOf(control));
        MoveMouse(POINT{1200, 1000});
    }
};

TEST_F(ShortcutDialog, CtrlToggleAndF5FromTheKeyboardAreStoredAsUsage3EWithCtrlOnly)
{
    ButtonInfo info = MacroKey();
    CKeyAssignmentDlg dialog(info);
    HWND capturingWhileOpen = nullptr;
    std::string shownAtStart, shownAfterF5, toggledOnScreen, toggledInModel, startToggles;
    ModalScript script(dialog);
    script.Then(300, [&] {
        capturingWhileOpen = KeyCaptureTarget() == dialog.GetSafeHwnd() ? dialog.GetSafeHwnd() : nullptr;
        shownAtStart = TextOf(dialog.NameField());
        startToggles = CheckedOnScreen(dialog);
        ClickAndLeave(dialog.Toggle(kFlagShift)); // off
        ClickAndLeave(dialog.Toggle(kFlagAlt));   // off
        ClickAndLeave(dialog.Toggle(kFlagCtrl));  // on
        TapKey(VK_F5);
        shownAfterF5 = TextOf(dialog.NameField());
        toggledOnScreen = CheckedOnScreen(dialog);
        toggledInModel = CheckedInModel(dialog);
        SaveScreenPng(dialog.GetWindowRect(), ScreenshotFolder() + "key_assignment_ctrl_f5.png");
        Click(CentreOf(dialog.CloseButton(0)));
    });
    ASSERT_EQ(IDOK, script.RunModal());

    EXPECT_EQ(nullptr, dialog.GetSafeHwnd()) << "the window is gone";
    EXPECT_NE(nullptr, capturingWhileOpen) << "the capture runs for the dialog while it is open";
    EXPECT_EQ(nullptr, KeyCaptureTarget()) << "and stops with it";
    EXPECT_EQ("F1", shownAtStart) << "the stored shortcut's key";
    EXPECT_EQ("Shift Alt", startToggles) << "the stored shortcut's flags, on the screen";
    EXPECT_EQ("F5", shownAfterF5);
    EXPECT_EQ("Ctrl", toggledInModel);
    EXPECT_EQ("Ctrl", toggledOnScreen);

    ASSERT_TRUE(dialog.StoreInto(info));
    EXPECT_EQ(0x3E, info.ShortcutKey);
    EXPECT_EQ((Flags{0, 0, 1, 0, 0}), FlagsOf(info));
    EXPECT_EQ(static_cast<uint8_t>(KeyFunction::Shortcut), info.FunctionCode);
    EXPECT_EQ("", FieldText(info.MacroName));
    EXPECT_EQ("", FieldText(info.MacroSetName));
    EXPECT_EQ(0, info.MacroEventCount);
    EXPECT_EQ(0, info.MacroEvents[0].Key);
    EXPECT_EQ(1, info.MacroLoop) << "a shortcut keeps the loop flag";
    EXPECT_EQ(90, info.TimerSeconds) << "and the last timer";
    EXPECT_EQ("Ctrl+F5", AssignmentLabel(info, WinKeyboardLayout()));
}

TEST_F(ShortcutDialog, AChordEndsOnTheLastKeyTouchedAndAHeldModifierSetsNoToggle)
{
    ButtonInfo info = MacroKey();
    CKeyAssignmentDlg dialog(info);
    std::string shown, toggles;
    ModalScript script(dialog);
    script.Then(300, [&] {
        // Ctrl held while F5 is pressed and released, then Ctrl released: Ctrl was touched last.
        SendKeyInput(VK_LCONTROL, false);
        SendKeyInput(VK_F5, false);
        SendKeyInput(VK_F5, true);
        SendKeyInput(VK_LCONTROL, true);
        Pump(300);
        shown = TextOf(dialog.NameField());
        toggles = CheckedOnScreen(dialog);
        Click(CentreOf(dialog.CloseButton(0)));
    });
    ASSERT_EQ(IDOK, script.RunModal());

    EXPECT_EQ("Left Control", shown);
    EXPECT_EQ("Shift Alt", toggles) << "only the toggles set the flags";
    ASSERT_TRUE(dialog.StoreInto(info));
    EXPECT_EQ(0xE0, info.ShortcutKey);
    EXPECT_EQ((Flags{0, 1, 0, 0, 1}), FlagsOf(info));
}

TEST_F(ShortcutDialog, CancelAndTheCloseBoxStoreNothing)
{
    for (const std::size_t button : {std::size_t(1), std::size_t(2)}) {
        ButtonInfo info = MacroKey();
        const ButtonInfo before = info;
        CKeyAssignmentDlg dialog(info);
        std::string shown;
        ModalScript script(dialog);
        script.Then(300, [&] {
            ClickAndLeave(dialog.Toggle(kFlagCtrl));
            TapKey(VK_F5);
            shown = TextOf(dialog.NameField());
            Click(CentreOf(dialog.CloseButton(button)));
        });
        EXPECT_EQ(IDCANCEL, script.RunModal()) << "button " << button;
        EXPECT_EQ("F5", shown) << "a key was captured before";
        EXPECT_FALSE(dialog.StoreInto(info));
        EXPECT_EQ(0, std::memcmp(&before, &info, sizeof info)) << "the key still plays its macro";
        EXPECT_EQ(nullptr, KeyCaptureTarget());
    }
}

TEST_F(ShortcutDialog, TogglesClickedFollowTheRulesOnTheScreenAndOkWithoutAKeyKeepsTheStoredOne)
{
    ButtonInfo info = MacroKey(); // F1 with Shift and Alt
    CKeyAssignmentDlg dialog(info);
    std::vector<std::string> onScreen, inModel;
    ModalScript script(dialog);
    auto note = [&] {
        onScreen.push_back(CheckedOnScreen(dialog));
        inModel.push_back(CheckedInModel(dialog));
    };
    script.Then(300, [&] {
        note();
        ClickAndLeave(dialog.Toggle(kFlagShift)); // Shift off
        note();
        ClickAndLeave(dialog.Toggle(kFlagShift)); // Shift on again
        ClickAndLeave(dialog.Toggle(kFlagPlain)); // the plain key clears every modifier
        note();
        ClickAndLeave(dialog.Toggle(kFlagAlt)); // a modifier clears the plain key
        note();
        ClickAndLeave(dialog.Toggle(kFlagWin));
        note();
        ClickAndLeave(dialog.Toggle(kFlagAlt)); // off: Win alone
        note();
        Click(CentreOf(dialog.CloseButton(0)));
    });
    ASSERT_EQ(IDOK, script.RunModal());

    const std::vector<std::string> expected{"Shift Alt", "Alt", "plain", "Alt", "Win Alt", "Win"};
    EXPECT_EQ(expected, inModel);
    EXPECT_EQ(expected, onScreen);
    ASSERT_TRUE(dialog.StoreInto(info));
    EXPECT_EQ(0x3A, info.ShortcutKey) << "no key pressed: the stored one stays";
    EXPECT_EQ((Flags{0, 0, 0, 1, 0}), FlagsOf(info));
    EXPECT_EQ(static_cast<uint8_t>(KeyFunction::Shortcut), info.FunctionCode);
}

TEST_F(ShortcutDialog, TypedKeysAreCapturedNotUsedByTheDialogAndAKeyWithoutARowBecomesZero)
{
    ButtonInfo info = MacroKey();
    CKeyAssignmentDlg dialog(info);
    std::string afterSpace, plainAfterSpace, afterOthers, afterUnknown;
    bool openAfterKeys = false;
    uint8_t keyAfterSpace = 0xFF;
    ModalScript script(dialog);
    script.Then(300, [&] {
        // The plain-key toggle gets the focus from the click; the Space bar there changes nothing.
        ClickAndLeave(dialog.Toggle(kFlagPlain));
        TapKey(VK_SPACE);
        afterSpace = TextOf(dialog.NameField());
        keyAfterSpace = dialog.Model().Key();
        plainAfterSpace = CheckedOnScreen(dialog);
        // Tab moves on (the keys act on the dialog from then on: KeyboardAccess); letters are
        // still captured.
        TapKey(VK_TAB);
        TapKey('Q');
        afterOthers = TextOf(dialog.NameField());
        openAfterKeys = ::IsWindowVisible(dialog.GetSafeHwnd()) != FALSE;
        TapKey(VK_F24);
        afterUnknown = TextOf(dialog.NameField());
        Click(CentreOf(dialog.CloseButton(0)));
    });
    ASSERT_EQ(IDOK, script.RunModal());

    EXPECT_EQ(0x2C, keyAfterSpace);
    EXPECT_EQ(UsageName(0x2C, WinKeyboardLayout()), afterSpace);
    EXPECT_FALSE(afterSpace.empty());
    EXPECT_EQ("plain", plainAfterSpace) << "the Space bar leaves the toggles as they were";
    EXPECT_TRUE(openAfterKeys) << "Tab does not close it";
    EXPECT_EQ("Q", afterOthers);
    EXPECT_EQ("", afterUnknown) << "F24 has no row in the key table";
    ASSERT_TRUE(dialog.StoreInto(info));
    EXPECT_EQ(0, info.ShortcutKey);
    EXPECT_EQ((Flags{1, 0, 0, 0, 0}), FlagsOf(info));
}

TEST_F(ShortcutDialog, TheNameFieldIsTheDisabledCentredFieldOfTheSkin)
{
    ButtonInfo info = MacroKey();
    CKeyAssignmentDlg dialog(info);
    LONG style = 0;
    int id = 0;
    bool enabled = true;
    ModalScript script(dialog);
    script.Then(300, [&] {
        HWND field = dialog.NameField().GetSafeHwnd();
        style = ::GetWindowLongA(field, GWL_STYLE);
        id = ::GetDlgCtrlID(field);
        enabled = ::IsWindowEnabled(field) != FALSE;
        Click(CentreOf(dialog.CloseButton(1)));
    });
    ASSERT_EQ(IDCANCEL, script.RunModal());
    EXPECT_EQ(4010, id);
    EXPECT_FALSE(enabled);
    EXPECT_NE(0, style & ES_CENTER);
}

} // namespace
