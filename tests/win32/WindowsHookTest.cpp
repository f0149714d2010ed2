// The owner of Windows hooks: a hook works while its owner lives and stops with it.
#include "WindowsHook.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <utility>

namespace {

constexpr UINT kProbeMessage = WM_APP + 77;
constexpr WORD kProbeKey = VK_F24; // no program reacts to it

int g_probeMessagesSeen = 0;
int g_probeKeysSeen = 0;

LRESULT CALLBACK CountProbeMessages(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const MSG*>(lParam)->message == kProbeMessage)
        ++g_probeMessagesSeen;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountProbeKeys(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode == kProbeKey)
        ++g_probeKeysSeen;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void PumpFor(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&message);
        ::Sleep(5);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

void PostProbeAndPump()
{
    ::PostThreadMessageA(::GetCurrentThreadId(), kProbeMessage, 0, 0);
    PumpFor(30);
}

void PressProbeKey()
{
    INPUT keys[2]{};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = kProbeKey;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, keys, sizeof keys[0]);
    PumpFor(300);
}

TEST(WindowsHook, AThreadHookSeesMessagesWhileItsOwnerLivesAndAMoveKeepsItInstalled)
{
    g_probeMessagesSeen = 0;
    {
        CWindowsHook hook = CWindowsHook::ForThread(WH_GETMESSAGE, &CountProbeMessages);
        ASSERT_TRUE(hook);
        PostProbeAndPump();
        EXPECT_EQ(g_probeMessagesSeen, 1);

        CWindowsHook moved = std::move(hook);
        EXPECT_FALSE(hook);
        PostProbeAndPump();
        EXPECT_EQ(g_probeMessagesSeen, 2) << "the move neither removed nor doubled it";

        moved.Reset();
        PostProbeAndPump();
        EXPECT_EQ(g_probeMessagesSeen, 2) << "removed by Reset";

        moved = CWindowsHook::ForThread(WH_GETMESSAGE, &CountProbeMessages);
        PostProbeAndPump();
        EXPECT_EQ(g_probeMessagesSeen, 3);
    }
    PostProbeAndPump();
    EXPECT_EQ(g_probeMessagesSeen, 3) << "removed when its owner went";
}

TEST(WindowsHook, ALowLevelKeyboardHookStopsSeeingKeysWhenItsOwnerGoes)
{
    g_probeKeysSeen = 0;
    {
        const CWindowsHook hook = CWindowsHook::LowLevel(WH_KEYBOARD_LL, &CountProbeKeys);
        ASSERT_TRUE(hook);
        PressProbeKey();
        EXPECT_EQ(g_probeKeysSeen, 2) << "down and up";
    }
    PressProbeKey();
    EXPECT_EQ(g_probeKeysSeen, 2);
}

} // namespace
