// The configuration program's apply request to the host's window: found by title, answered, or
// given up when the host's thread does not answer.
#include "LinkNames.h"
#include "WinHostWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <windows.h>

namespace {

std::atomic<int> g_applies{0};

LRESULT CALLBACK StandInProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOST_APPLY) {
        ++g_applies;
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window titled as the host's on a thread of its own, which answers until it is told to stop
// pumping (as a host stuck in a long call would).
class HostStandIn {
public:
    explicit HostStandIn(bool answers)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &StandInProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TolkHostStandIn";
        ::RegisterClassA(&windowClass);
        m_thread = std::thread([this, answers] {
            m_window = ::CreateWindowExA(0, "TolkHostStandIn", kHostWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, ::GetModuleHandleA(nullptr), nullptr);
            m_ready = true;
            MSG message;
            while (!m_stop) {
                if (answers) {
                    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                        ::DispatchMessageA(&message);
                }
                ::Sleep(5);
            }
            ::DestroyWindow(m_window);
        });
        while (!m_ready)
            ::Sleep(5);
    }
    ~HostStandIn()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    std::thread m_thread;
    HWND m_window = nullptr;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_stop{false};
};

TEST(WinHostWindow, ApplyReachesARunningHostAndGivesUpOnOneThatDoesNotAnswer)
{
    WinHostWindow host(500);
    ASSERT_EQ(::FindWindowA(nullptr, kHostWindowTitle), nullptr) << "a host of another run is in the way";
    EXPECT_EQ(host.SendApply(), HostWindow::Answer::NoHost);

    g_applies = 0;
    {
        HostStandIn answering(true);
        EXPECT_EQ(host.SendApply(), HostWindow::Answer::Answered);
        EXPECT_EQ(g_applies.load(), 1);
    }
    {
        HostStandIn stuck(false);
        EXPECT_EQ(host.SendApply(), HostWindow::Answer::NoAnswer);
    }
    EXPECT_EQ(g_applies.load(), 1) << "the stuck host's request was never handled";
}

} // namespace
