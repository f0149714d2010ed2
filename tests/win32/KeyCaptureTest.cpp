// The keyboard capture on the real input path: keys sent with SendInput, as the keyboard's own
// would arrive, reach the capturing window as WM_KBDHOOK_KEY and still reach the focused window.
#include "KeyCapture.h"
#include "WinTestInput.h"
#include "WindowsHook.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

namespace {

constexpr BYTE kProbeKey = VK_F24; // no program reacts to it

// A key event as a capturing window received it: (wParam, lParam).
using Captured = std::pair<WPARAM, LPARAM>;

// A window that records the captured keys and, when shown, the key messages it gets as the focus.
// Hidden unless a test needs the focus: hiding a shown window costs Wine a wait for the display.
class KeyTarget : public BaseWindow<KeyTarget> {
public:
    static MessageSpan MessageEntries()
    {
        static constexpr MessageEntry kEntries[] = {
            OnMessage<WM_KBDHOOK_KEY, &KeyTarget::OnCaptured>(),
            OnKey<WM_KEYDOWN, &KeyTarget::OnKeyDown>(),
        };
        return kEntries;
    }

    explicit KeyTarget(int x, bool shown = false)
    {
        CreateEx(0, nullptr, "KeyTarget", WS_POPUP | (shown ? WS_VISIBLE : 0), x, 100, 120, 80, nullptr, nullptr);
    }
    HWND Hwnd() const { return GetSafeHwnd(); }
    void Focus() const
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetFocus(m_hWnd);
        Pump(100);
    }

    std::vector<Captured> captured;
    std::vector<UINT> keyDowns;

private:
    LRESULT OnCaptured(WPARAM wParam, LPARAM lParam)
    {
        captured.emplace_back(wParam, lParam);
        return 0;
    }
    void OnKeyDown(UINT key, UINT, UINT) { keyDowns.push_back(key); }
};

void TapProbeKey()
{
    SendKeyInput(kProbeKey, false);
    SendKeyInput(kProbeKey, true);
    Pump(250);
}

// Counts the probe key's events on the hook chain, to show that the keys were sent at all when no
// window receives them.
int g_probeEventsOnTheChain = 0;

LRESULT CALLBACK CountProbeEvents(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode == kProbeKey)
        ++g_probeEventsOnTheChain;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class KeyCapture : public ::testing::Test {
protected:
    void SetUp() override { ::SetCursorPos(1200, 1000); }
    // A test that failed half-way leaves no capture behind for the next one.
    void TearDown() override { StopKeyCapture(); }
};

TEST_F(KeyCapture, AHeldKeyArrivesAsRepeatedPressesAndOneReleaseAndStillReachesTheFocusedWindow)
{
    KeyTarget target(100, true);
    ASSERT_NE(nullptr, target.Hwnd());
    target.Focus();
    ASSERT_TRUE(StartKeyCapture(target.Hwnd()));
    EXPECT_EQ(target.Hwnd(), KeyCaptureTarget());

    // Pressed, held (the keyboard repeats the press), released.
    for (int i = 0; i < 4; ++i)
        SendKeyInput(kProbeKey, false);
    SendKeyInput(kProbeKey, true);
    Pump(300);

    const std::vector<Captured> expected{
        {kProbeKey, 0}, {kProbeKey, 0}, {kProbeKey, 0}, {kProbeKey, 0}, {kProbeKey, 0x80}};
    EXPECT_EQ(expected, target.captured);
    EXPECT_EQ(std::vector<UINT>(4, kProbeKey), target.keyDowns) << "the capture swallows no key";

    // Another key, with a letter: the capture passes the virtual key as the system gave it.
    target.captured.clear();
    SendKeyInput('K', false);
    SendKeyInput('K', true);
    Pump(250);
    EXPECT_EQ((std::vector<Captured>{{'K', 0}, {'K', 0x80}}), target.captured);

    StopKeyCapture(target.Hwnd());
    EXPECT_EQ(nullptr, KeyCaptureTarget());
}

TEST_F(KeyCapture, OneTargetAtATimeTheLaterWindowTakesItOverAndTheEarlierStopsNothing)
{
    KeyTarget first(100);
    KeyTarget second(260);
    ASSERT_TRUE(StartKeyCapture(first.Hwnd()));
    TapProbeKey();
    EXPECT_EQ(2u, first.captured.size());

    ASSERT_TRUE(StartKeyCapture(second.Hwnd()));
    EXPECT_EQ(second.Hwnd(), KeyCaptureTarget());
    first.captured.clear();
    TapProbeKey();
    EXPECT_TRUE(first.captured.empty()) << "the earlier window lost the capture";
    EXPECT_EQ((std::vector<Captured>{{kProbeKey, 0}, {kProbeKey, 0x80}}), second.captured)
        << "each key once, from one hook";

    // The earlier window goes and stops its capture: the later one keeps receiving.
    StopKeyCapture(first.Hwnd());
    first.DestroyWindow();
    second.captured.clear();
    TapProbeKey();
    EXPECT_EQ(2u, second.captured.size());
    EXPECT_EQ(second.Hwnd(), KeyCaptureTarget());

    // Starting again for the same window changes nothing.
    ASSERT_TRUE(StartKeyCapture(second.Hwnd()));
    second.captured.clear();
    TapProbeKey();
    EXPECT_EQ(2u, second.captured.size());
}

TEST_F(KeyCapture, AfterStopNoWindowReceivesKeys)
{
    const CWindowsHook observer = CWindowsHook::LowLevel(WH_KEYBOARD_LL, &CountProbeEvents);
    ASSERT_TRUE(observer);
    KeyTarget target(100);
    ASSERT_TRUE(StartKeyCapture(target.Hwnd()));
    TapProbeKey();
    ASSERT_EQ(2u, target.captured.size());

    StopKeyCapture();
    EXPECT_EQ(nullptr, KeyCaptureTarget());
    target.captured.clear();
    g_probeEventsOnTheChain = 0;
    TapProbeKey();
    EXPECT_EQ(2, g_probeEventsOnTheChain) << "the keys were sent";
    EXPECT_TRUE(target.captured.empty());

    // A stop with nothing running, and one for a window that holds nothing, are harmless.
    StopKeyCapture();
    StopKeyCapture(target.Hwnd());
    ASSERT_TRUE(StartKeyCapture(target.Hwnd())) << "a stopped capture can start again";
    TapProbeKey();
    EXPECT_EQ(2u, target.captured.size());
}

TEST_F(KeyCapture, ATargetDestroyedWithoutStoppingLosesTheCaptureAtTheNextKey)
{
    const CWindowsHook observer = CWindowsHook::LowLevel(WH_KEYBOARD_LL, &CountProbeEvents);
    ASSERT_TRUE(observer);
    HWND gone = nullptr;
    {
        KeyTarget target(100);
        gone = target.Hwnd();
        ASSERT_TRUE(StartKeyCapture(gone));
    } // destroyed without StopKeyCapture
    ASSERT_FALSE(::IsWindow(gone));

    g_probeEventsOnTheChain = 0;
    TapProbeKey();
    EXPECT_EQ(2, g_probeEventsOnTheChain) << "the keys were sent";
    EXPECT_EQ(nullptr, KeyCaptureTarget()) << "the capture removed itself";

    // A window made afterwards receives nothing it did not ask for.
    KeyTarget later(100);
    TapProbeKey();
    EXPECT_TRUE(later.captured.empty());
    EXPECT_EQ(nullptr, KeyCaptureTarget());
}

TEST_F(KeyCapture, OnlyAWindowCanBeATarget)
{
    EXPECT_FALSE(StartKeyCapture(nullptr));
    HWND gone = nullptr;
    {
        KeyTarget target(100);
        gone = target.Hwnd();
    }
    EXPECT_FALSE(StartKeyCapture(gone));
    EXPECT_EQ(nullptr, KeyCaptureTarget());
}

} // namespace
