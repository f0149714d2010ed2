// TolkCfg's main window told that its display scaling changed (WM_DPICHANGED, as Windows sends it
// when the window moves to a monitor of another scaling): it loads its skin again for the new
// scaling, without closing - the 200 % pictures, every control at its scaled "BUTTONPOS"
// rectangle, the status line and the key page scaled, at the rectangle the message suggests - and
// back at 100 % when the scaling returns. The test runs at 96 DPI: only the message changes.
#include "WinTestInput.h"
#include "BitmapBtn.h"
#include "ButtonPosition.h"
#include "ConfigDlg.h"
#include "ProgramFolderTest.h"
#include "DpiScale.h"
#include "IniFile.h"
#include "ModalScript.h"
#include "ScreenShot.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "TempFolder.h"
#include "TextLabel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kApplyKey = 21;
constexpr int kSlot3Key = 12;
constexpr RECT kStatusRect{20, 569, 580, 588};

class ConfigDlgDpi : public ProgramFolderTest {
protected:

    ButtonPosition Entry(int key) const
    {
        ButtonPosition pos;
        ParseButtonPos(
            IniFile(folder / "skins\\skin_main.ini").ReadString("BUTTONPOS", std::to_string(key), "").c_str(), pos);
        return pos;
    }
    // The control whose window covers the centre of the key's rectangle at percent, and its rectangle
    // in client coordinates.
    static HWND ChildAt(const CConfigDlg& main, POINT client)
    {
        return ::ChildWindowFromPointEx(main.GetSafeHwnd(), client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    }
    static RECT ClientRectOf(const CConfigDlg& main, HWND child)
    {
        RECT r{};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, main.GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static void ChangeDpi(CConfigDlg& main, int dpi, POINT at)
    {
        const int percent = LayoutPercentForDpi(dpi);
        RECT suggested{at.x, at.y, at.x + ScaleSize(800, percent), at.y + ScaleSize(600, percent)};
        main.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        Pump(300);
    }

};

void ExpectRect(const RECT& expected, const RECT& actual, const char* what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

TEST_F(ConfigDlgDpi, TheMainWindowLaysItselfOutAgainForANewScalingWithoutClosing)
{
    CConfigDlg main;
    ModalScript script(main);
    script.Then(500, [&] {
        const RECT before = main.GetWindowRect();
        EXPECT_EQ(800, before.right - before.left);
        EXPECT_EQ(100, main.SkinPercent());
        const HWND window = main.GetSafeHwnd();

        ChangeDpi(main, 192, POINT{10, 20});
        EXPECT_EQ(window, main.GetSafeHwnd()) << "the window was not reopened";
        EXPECT_EQ(200, main.SkinScale().layout);
        EXPECT_EQ(200, main.SkinScale().pictures) << "the 200 % pictures of the shipped skin";
        ExpectRect(RECT{10, 20, 1610, 1220}, main.GetWindowRect(), "the window at the suggested place, twice its size");
        // Every control at its scaled rectangle, the click point of a user at 200 % reaching it.
        for (int key : {kApplyKey, kSlot3Key}) {
            const ButtonPosition pos = ScaleButtonPos(Entry(key), 200);
            const HWND child = ChildAt(main, POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2});
            ASSERT_NE(window, child) << "no control at the scaled centre of key " << key;
            EXPECT_NE(nullptr, dynamic_cast<CBitmapBtn*>(CWnd::FromHandle(child))) << key;
            ExpectRect(RECT{pos.left, pos.top, pos.right, pos.bottom}, ClientRectOf(main, child), "button");
        }
        const RECT status = ScaleRectBy(kStatusRect, 200);
        const HWND statusLine = ChildAt(main, POINT{(status.left + status.right) / 2, (status.top + status.bottom) / 2});
        EXPECT_NE(nullptr, dynamic_cast<CStatusLabel*>(CWnd::FromHandle(statusLine)));
        ExpectRect(status, ClientRectOf(main, statusLine), "status line");
        // The key page fills the scaled frame (5, 194)-(795, 524).
        const HWND page = ChildAt(main, POINT{20, 2 * 194 + 10});
        ExpectRect(RECT{10, 388, 1590, 1048}, ClientRectOf(main, page), "key page");
        // What the screen shows of it (the test's screen is smaller than the window at 200 %).
        Pump(500);
        RECT shown{};
        const RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        const RECT whole = main.GetWindowRect();
        ::IntersectRect(&shown, &whole, &screen);
        SaveScreenPng(shown, ScreenshotFolder() + "config_after_dpi_change_192.png");

        ChangeDpi(main, 96, POINT{30, 40});
        EXPECT_EQ(100, main.SkinPercent());
        ExpectRect(RECT{30, 40, 830, 640}, main.GetWindowRect(), "back at 100 %");
        const ButtonPosition pos = Entry(kApplyKey);
        const HWND apply = ChildAt(main, POINT{(pos.left + pos.right) / 2, (pos.top + pos.bottom) / 2});
        ExpectRect(RECT{pos.left, pos.top, pos.right, pos.bottom}, ClientRectOf(main, apply), "Apply at 100 %");
    });
    script.Then(100, [&] { main.PostMessage(WM_CLOSE); });
    script.RunModal();
}

} // namespace
