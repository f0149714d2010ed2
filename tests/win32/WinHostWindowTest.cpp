// The configuration program's apply request to the host's window: found by title, sent without
// waiting, and its answer (or the end of the time limit) posted back to the answer window.
#include "LinkNames.h"
#include "WinHostWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

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

// A window titled as the host's on a thread of its own, which answers once it is told to (until
// then it is a host stuck in a long call).
class HostStandIn {
public:
    explicit HostStandIn(bool answers) : m_answers(answers)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &StandInProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TolkHostStandIn";
        ::RegisterClassA(&windowClass);
        m_thread = std::thread([this] {
            m_window = ::CreateWindowExA(0, "TolkHostStandIn", kHostWindowTitle, WS_POPUP, 0, 0, 10, 10, nullptr,
                                         nullptr, ::GetModuleHandleA(nullptr), nullptr);
            m_ready = true;
            MSG message;
            while (!m_stop) {
                if (m_answers) {
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
    void StartAnswering() { m_answers = true; }

private:
    std::thread m_thread;
    HWND m_window = nullptr;
    std::atomic<bool> m_ready{false};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_answers;
};

// The configuration window as the answers reach it: a window on the test's thread.
struct Told {
    uint32_t request;
    HostWindow::Answer answer;
};
std::vector<Told> g_told;

LRESULT CALLBACK AnswerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CFG_APPLY_ANSWER) {
        g_told.push_back({static_cast<uint32_t>(wParam), static_cast<HostWindow::Answer>(lParam)});
        return 0;
    }
    return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

class AnswerWindow {
public:
    AnswerWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &AnswerWindowProc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "TolkApplyAnswerWindow";
        ::RegisterClassA(&windowClass);
        m_window = ::CreateWindowExA(0, "TolkApplyAnswerWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
        g_told.clear();
    }
    ~AnswerWindow() { Destroy(); }
    void Destroy()
    {
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
        m_window = nullptr;
    }
    HWND Get() const { return m_window; }
    // Runs this thread's message loop until the next answer was told.
    Told Next()
    {
        const std::size_t before = g_told.size();
        MSG message;
        while (g_told.size() == before && ::GetMessageA(&message, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&message);
        return g_told.back();
    }

private:
    HWND m_window = nullptr;
};

TEST(WinHostWindow, ApplyIsSentWithoutWaitingAndItsAnswerIsPostedBack)
{
    AnswerWindow window;
    WinHostWindow host(600000);
    host.SetAnswerWindow(window.Get());
    ASSERT_EQ(::FindWindowA(nullptr, kHostWindowTitle), nullptr) << "a host of another run is in the way";
    EXPECT_FALSE(host.SendApply(1)) << "no host: nothing is sent";

    g_applies = 0;
    HostStandIn busy(false);
    // The host does not answer yet: a send that waited would stay here for the whole limit.
    ASSERT_TRUE(host.SendApply(7));
    EXPECT_EQ(g_applies.load(), 0);
    busy.StartAnswering();
    const Told told = window.Next();
    EXPECT_EQ(told.request, 7u);
    EXPECT_EQ(told.answer, HostWindow::Answer::Answered);
    EXPECT_EQ(g_applies.load(), 1);
}

TEST(WinHostWindow, AHostThatNeverAnswers_IsToldAsNoAnswerOnceTheLimitPassed)
{
    AnswerWindow window;
    WinHostWindow host(300);
    host.SetAnswerWindow(window.Get());
    g_applies = 0;
    {
        HostStandIn stuck(false);
        ASSERT_TRUE(host.SendApply(3));
        const Told told = window.Next();
        EXPECT_EQ(told.request, 3u);
        EXPECT_EQ(told.answer, HostWindow::Answer::NoAnswer);
    }
    EXPECT_EQ(g_applies.load(), 0) << "the stuck host's request was never handled";
}

// The configuration window closed while its apply waited: the host's late answer goes nowhere, and
// the next window's apply is told its own answer only.
TEST(WinHostWindow, AnAnswerToAWindowThatClosedMeanwhileIsDropped)
{
    g_applies = 0;
    HostStandIn busy(false);
    {
        AnswerWindow closed;
        WinHostWindow host(600000);
        host.SetAnswerWindow(closed.Get());
        ASSERT_TRUE(host.SendApply(4));
        closed.Destroy();
    }
    AnswerWindow window;
    WinHostWindow host(600000);
    host.SetAnswerWindow(window.Get());
    ASSERT_TRUE(host.SendApply(5));
    busy.StartAnswering();
    // The host answers in order: the closed window's answer has come back before this one.
    const Told told = window.Next();
    EXPECT_EQ(told.request, 5u);
    EXPECT_EQ(g_told.size(), 1u);
    EXPECT_EQ(g_applies.load(), 2);
}

} // namespace
