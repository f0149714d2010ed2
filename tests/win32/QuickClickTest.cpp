// A click whose press and release come at once, as a touchpad's tap or an automation tool gives
// them: the skinned buttons take it as a click, with no time passing between the two.
#include "CreateMacroSetDlg.h"
#include "MacroManagerDlg.h"
#include "MacroManagerRun.h"
#include "ModalScript.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "TempFolder.h"
#include "WinTestInput.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The left button pressed and released at the pointer's place in one SendInput call: both are in
// the input queue before the button has handled the press.
void Tap(POINT at)
{
    MoveMouse(at);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

// Clicks the item of the open popup menu with command id. The menu's own loop takes the pointer's
// messages, so nothing is pumped here.
bool ClickMenuCommand(UINT id)
{
    HWND window = ::FindWindowA("#32768", nullptr);
    HMENU menu = window != nullptr ? reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; menu != nullptr && i < ::GetMenuItemCount(menu); ++i) {
        RECT item{};
        if (::GetMenuItemID(menu, i) != id || !::GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &item))
            continue;
        ::SetCursorPos((item.left + item.right) / 2, (item.top + item.bottom) / 2);
        ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        return true;
    }
    return false;
}

TEST(QuickClick, ATapOnOkOfTheNewSetDialogClosesItWithTheTypedName)
{
    SetSkinProgramFolder(TOLK_DIST);
    ::SetCursorPos(1200, 1000);
    TempFolder folder;
    MacroLibrary library;
    const ButtonInfo key{};
    bool menuClicked = false;
    HWND nameDialog = nullptr;
    bool closedByTheTap = false;
    std::string caption = "-";
    ModalScript script;
    script.ThenOpening(500, [&] {
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        Click(CentreOf(manager->SetButton()));
    });
    script.ThenOpening(600, [&] { menuClicked = ClickMenuCommand(2998); }); // "[+]Add Macro Set"
    script.Then(600, [&] {
        auto* dialog = ActiveDialog<CCreateMacroSetDlg>();
        ASSERT_NE(nullptr, dialog);
        nameDialog = dialog->GetSafeHwnd();
        TypeText("Racing");
        SaveScreenPng(dialog->GetWindowRect(), ScreenshotFolder() + "quick_click_new_set.png");
        Tap(CentreOf(dialog->OkButton()));
    });
    // The dialog's own loop ends after this step has returned; the next one looks.
    script.Then(500, [&] {
        closedByTheTap = !::IsWindow(nameDialog);
        auto* manager = ActiveDialog<CMacroManagerDlg>();
        ASSERT_NE(nullptr, manager);
        caption = manager->SetButton().Caption();
        Click(CentreOf(manager->CancelButton(0)));
    });
    script.RunModal([&] { return RunMacroManager(nullptr, library, folder.Path(), -1, key); });
    EXPECT_FALSE(script.GaveUp());
    EXPECT_TRUE(menuClicked);
    EXPECT_TRUE(closedByTheTap) << "one tap on OK closes the dialog";
    EXPECT_EQ("Racing", caption) << "the manager shows the new set";
    SetSkinProgramFolder("");
}

} // namespace
