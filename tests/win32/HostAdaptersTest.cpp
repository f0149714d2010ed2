// The host's adapters against the real system calls: timing of the clock, window timers requested
// from worker threads, other programs' windows, the registry, the tray icon and the program in front.
#include "HostConstants.h"
#include "Records.h"
#include "TempFolder.h"
#include "WinApi.h" // before any header that includes <windows.h>
#include "UniqueHandle.h"
#include "WinClock.h"
#include "WinDesktopWindows.h"
#include "WinForegroundProcess.h"
#include "WinNotificationArea.h"
#include "WinSystemSettings.h"
#include "WinWindowTimers.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Names no other test process or running program uses.
std::string Unique(const std::string& stem)
{
    static std::atomic<int> counter{0};
    return stem + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

// Handles messages until done() or until timeoutMs have passed; true when done() became true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= end)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

// A top-level window of the test thread that hands timer requests to Apply, as the host's window
// does, and records its timer ticks.
class TestWindow {
public:
    explicit TestWindow(const std::string& title, const std::string& className = "TolkAdapterTestWindow",
                        DWORD style = WS_OVERLAPPEDWINDOW)
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &TestWindow::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = className.c_str();
        RegisterClassA(&windowClass); // fails harmlessly when the class is already registered
        m_window = CreateWindowExA(0, className.c_str(), title.c_str(), style, 10, 10, 200, 100, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { Destroy(); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    void Destroy()
    {
        if (m_window)
            DestroyWindow(m_window);
        m_window = nullptr;
    }
    HWND Handle() const { return m_window; }
    WindowId Id() const { return reinterpret_cast<WindowId>(m_window); }

    static std::vector<UINT_PTR> s_ticks;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_TOLK_TIMER_REQUEST) {
            WinWindowTimers::Apply(window, wParam, lParam);
            return 0;
        }
        if (message == WM_TIMER) {
            s_ticks.push_back(wParam);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};
std::vector<UINT_PTR> TestWindow::s_ticks;

size_t Ticks(UINT_PTR id)
{
    return static_cast<size_t>(std::count(TestWindow::s_ticks.begin(), TestWindow::s_ticks.end(), id));
}

// ---- WinClock -------------------------------------------------------------------------------------

// Both ways a thread can wait: the one this system gets by default, and the waitable timer.
class WinClockWait : public ::testing::TestWithParam<WinClock::WaitMethod> {};

INSTANTIATE_TEST_SUITE_P(Methods, WinClockWait,
                         ::testing::Values(WinClock::WaitMethod::Automatic, WinClock::WaitMethod::Timer));

TEST_P(WinClockWait, SleepUntilWakesAtTheDeadlineAndNeverBefore)
{
    WinClock clock(GetParam());
    const ULONGLONG ticksBefore = GetTickCount64();
    const int64_t before = clock.NowUs();
    int64_t earliest = 0;
    // A busy machine can delay any wake-up; one round of three must show the clock's own precision.
    bool precise = false;
    std::vector<int64_t> lateness;
    for (int round = 0; round < 3 && !precise; ++round) {
        lateness.clear();
        for (int64_t delayUs : {500, 1000, 3000, 10000, 30000, 70000, 500, 1000, 3000, 10000, 30000, 70000}) {
            const int64_t deadline = clock.NowUs() + delayUs;
            clock.SleepUntilUs(deadline);
            lateness.push_back(clock.NowUs() - deadline);
            earliest = std::min(earliest, lateness.back());
        }
        std::sort(lateness.begin(), lateness.end());
        // The clock's own precision is the bench's business (tolk_host_timing_bench); here it only
        // has to be finer than the system tick of 15.6 ms, whose waits end 7 to 8 ms late on the
        // median, even on a machine busy with other work.
        precise = lateness[lateness.size() / 2] < 3000;
    }
    EXPECT_GE(earliest, 0) << "a wait ended before its deadline";
    EXPECT_TRUE(precise) << "median lateness " << lateness[lateness.size() / 2] << " us";
    EXPECT_NEAR((clock.NowUs() - before) / 1000, static_cast<int64_t>(GetTickCount64() - ticksBefore), 20)
        << "the clock counts microseconds of real time";

    const int64_t now = clock.NowUs();
    clock.SleepUntilUs(now - 5000);
    EXPECT_LT(clock.NowUs() - now, 1000) << "a deadline in the past returns at once";
}

TEST_P(WinClockWait, ThreadsSleepingAtOnceEachWakeAtTheirOwnDeadline)
{
    constexpr int kThreads = 4;
    // Shared with the sleepers, which are left behind should one never wake.
    struct Round {
        explicit Round(WinClock::WaitMethod method) : clock(method) {}
        WinClock clock;
        int64_t deadlines[kThreads] = {};
        std::atomic<int64_t> woke[kThreads] = {};
        std::atomic<int> awake{0};
    };
    // A timer shared between sleepers would wake one at another's deadline, at least 24 ms off, in
    // every round; a busy machine delays a wake-up now and then. One round of three must be clean.
    bool cleanRound = false;
    std::string lateWakes;
    for (int round = 0; round < 3 && !cleanRound; ++round) {
        auto state = std::make_shared<Round>(GetParam());
        const int64_t start = state->clock.NowUs() + 5000;
        // The latest deadline sleeps first, so a timer shared with a later sleeper would be moved.
        for (int i = 0; i < kThreads; ++i) {
            state->deadlines[i] = start + (kThreads - i) * 25000 + round * 1000;
            std::thread([state, i] {
                state->clock.SleepUntilUs(state->deadlines[i]);
                state->woke[i] = state->clock.NowUs();
                ++state->awake;
            }).detach();
        }
        const ULONGLONG end = GetTickCount64() + 2000;
        while (state->awake < kThreads && GetTickCount64() < end)
            Sleep(5);
        ASSERT_EQ(state->awake.load(), kThreads) << "a sleeper never woke";
        cleanRound = true;
        for (int i = 0; i < kThreads; ++i) {
            EXPECT_GE(state->woke[i], state->deadlines[i]) << "thread " << i << " woke early";
            // Another thread's deadline is at least 24 ms away.
            const int64_t late = state->woke[i] - state->deadlines[i];
            if (late >= 10000) {
                cleanRound = false;
                lateWakes += " round " + std::to_string(round) + " thread " + std::to_string(i) + ": " +
                             std::to_string(late) + " us;";
            }
        }
    }
    EXPECT_TRUE(cleanRound) << "every round had a thread woken late:" << lateWakes;
}

DWORD WINAPI SleepBriefly(void* clock)
{
    static_cast<WinClock*>(clock)->SleepMs(1);
    return 0;
}

// Open handles of this process, found by asking about every small handle value (Wine's
// GetProcessHandleCount always answers 0).
int CountOpenHandles()
{
    int count = 0;
    for (uintptr_t value = 4; value < 0x8000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return count;
}

TEST(WinClock, UnderWineWaitsAreTheThreadsOwnDelay)
{
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    EXPECT_EQ(WinClock().Method(), wine ? WinClock::WaitMethod::ThreadDelay : WinClock::WaitMethod::Timer);
    EXPECT_EQ(WinClock(WinClock::WaitMethod::Timer).Method(), WinClock::WaitMethod::Timer);
}

TEST(WinClock, ThreadsThatEndLeaveNoTimerBehind)
{
    WinClock clock(WinClock::WaitMethod::Timer);
    auto sleepOnNewThreads = [&clock](int count) {
        for (int i = 0; i < count; ++i) {
            // A raw system thread, as the host's read and macro threads are.
            HANDLE thread = CreateThread(nullptr, 0, &SleepBriefly, &clock, 0, nullptr);
            ASSERT_NE(thread, nullptr);
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
    };
    sleepOnNewThreads(3); // whatever the first threads set up once for the process
    const int before = CountOpenHandles();
    ASSERT_GT(before, 0);
    sleepOnNewThreads(40);
    EXPECT_LT(CountOpenHandles(), before + 10) << "each ended thread keeps a timer handle";
}

// ---- WinWindowTimers ------------------------------------------------------------------------------

TEST(WinWindowTimers, TimersSetAndKilledFromAnyThreadRunOnTheWindow)
{
    TestWindow window(Unique("TolkTimerWindow"));
    ASSERT_TRUE(window.Handle());
    WinWindowTimers timers(window.Handle());
    TestWindow::s_ticks.clear();

    std::thread([&timers] { timers.Set(77, 20); }).join();
    // The request waits in the window's queue for the window's procedure to hand it to Apply.
    MSG request;
    ASSERT_TRUE(PeekMessageA(&request, window.Handle(), WM_TOLK_TIMER_REQUEST, WM_TOLK_TIMER_REQUEST, PM_NOREMOVE));
    EXPECT_EQ(request.wParam, 77u);
    EXPECT_EQ(request.lParam, 20);
    EXPECT_TRUE(PumpUntil([] { return Ticks(77) >= 2; }, 2000)) << "the timer never fired";
    std::thread([&timers] { timers.Kill(77); }).join();
    PumpUntil([] { return false; }, 50); // the request reaches the window
    const size_t ticksAtKill = Ticks(77);
    PumpUntil([] { return false; }, 150);
    EXPECT_EQ(Ticks(77), ticksAtKill) << "the timer still runs after the kill";

    // On the window's own thread the timer is set at once, so a kill at shut-down, when no more
    // messages are handled, leaves nothing behind.
    timers.Set(kCountdownTimerId, 0);
    EXPECT_FALSE(PeekMessageA(&request, window.Handle(), WM_TOLK_TIMER_REQUEST, WM_TOLK_TIMER_REQUEST, PM_NOREMOVE));
    EXPECT_TRUE(PumpUntil([] { return Ticks(kCountdownTimerId) >= 1; }, 2000))
        << "a period of 0 is the shortest timer, not a kill";
    timers.Kill(kCountdownTimerId);
    const size_t countdownTicks = Ticks(kCountdownTimerId);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(Ticks(kCountdownTimerId), countdownTicks);
}

// ---- WinDesktopWindows, WinSystemSettings, WinNotificationArea ------------------------------------

TEST(WinDesktopWindows, FindsWindowsByTitleAndClassAndWalksTheTopLevelWindows)
{
    const std::string className = Unique("TolkQWidget");
    const std::string firstTitle = Unique("First VLC media player");
    const std::string longTitle = Unique("Second") + std::string(400, 'v');
    TestWindow first(firstTitle, className);
    TestWindow second(longTitle, className);
    ASSERT_TRUE(first.Handle() && second.Handle());
    WinDesktopWindows desktop(first.Handle());

    EXPECT_EQ(desktop.FindWindow("", firstTitle), first.Id());
    EXPECT_EQ(desktop.FindWindow(className, longTitle), second.Id());
    EXPECT_EQ(desktop.FindWindow(className, firstTitle + "x"), 0u);
    EXPECT_EQ(desktop.FindWindow(Unique("NoSuchClass"), ""), 0u);
    EXPECT_EQ(desktop.WindowTitle(first.Id()), firstTitle);
    EXPECT_EQ(desktop.WindowClass(second.Id()), className);
    EXPECT_EQ(desktop.HostWindow(), first.Id());

    // The player search: from the first window of the class on through the z-order.
    std::vector<WindowId> found;
    WindowId window = desktop.FindWindow(className, "");
    for (int steps = 0; window != 0 && steps < 100000; ++steps, window = desktop.NextWindow(window)) {
        if (desktop.WindowClass(window) == className)
            found.push_back(window);
    }
    EXPECT_EQ(window, 0u) << "the walk ends after the last window";
    std::sort(found.begin(), found.end());
    std::vector<WindowId> expected{first.Id(), second.Id()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);

    // A window closed while the search walks past it, and no window at all.
    const WindowId closed = first.Id();
    first.Destroy();
    EXPECT_EQ(desktop.WindowTitle(closed), "");
    EXPECT_EQ(desktop.WindowClass(closed), "");
    EXPECT_EQ(desktop.WindowTitle(second.Id()), longTitle.substr(0, 259)) << "cut to the buffer";
    EXPECT_EQ(desktop.WindowTitle(0), "") << "Wine reports stale bytes as the title of no window";
}

class WinSystemSettingsRegistry : public ::testing::Test {
protected:
    static constexpr const char kKey[] = "Software\\TolkTest";
    static constexpr const char kPath[] = "HKEY_CURRENT_USER\\Software\\TolkTest";

    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        m_key.Reset(key);
    }
    void TearDown() override
    {
        m_key.Reset();
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    }
    void Set(const char* name, DWORD type, const std::string& bytes)
    {
        ASSERT_EQ(RegSetValueExA(m_key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }

    UniqueRegKey m_key;
    WinSystemSettings m_settings;
};

TEST_F(WinSystemSettingsRegistry, ReadsStringValuesWhateverTheirTermination)
{
    Set(nullptr, REG_SZ, std::string("C:\\Program Files\\Player\\wmplayer.exe") + '\0');
    Set("path", REG_EXPAND_SZ, std::string("%ProgramFiles%\\iTunes\\iTunes.exe") + '\0');
    Set("unterminated", REG_SZ, "abc");
    Set("inner zero", REG_SZ, std::string("before\0after", 12));

    EXPECT_EQ(m_settings.ReadRegistryString(kPath, ""), "C:\\Program Files\\Player\\wmplayer.exe");
    EXPECT_EQ(m_settings.ReadRegistryString("hkey_current_user\\Software\\TolkTest", "path"),
              "%ProgramFiles%\\iTunes\\iTunes.exe");
    EXPECT_EQ(m_settings.ReadRegistryString(kPath, "unterminated"), "abc");
    EXPECT_EQ(m_settings.ReadRegistryString(kPath, "inner zero"), "before");
}

TEST_F(WinSystemSettingsRegistry, WhatIsNoUsableStringGivesNothingAndCreatesNoKey)
{
    Set("long", REG_SZ, std::string(300, 'x') + '\0');
    Set("number", REG_DWORD, std::string(4, '\x05'));

    EXPECT_EQ(m_settings.ReadRegistryString(kPath, "long"), std::nullopt) << "not cut into another path";
    EXPECT_EQ(m_settings.ReadRegistryString(kPath, "number"), std::nullopt);
    EXPECT_EQ(m_settings.ReadRegistryString(kPath, "missing"), std::nullopt);
    EXPECT_EQ(m_settings.ReadRegistryString(kPath, ""), std::nullopt) << "a key without a default value";

    EXPECT_EQ(m_settings.ReadRegistryString(std::string(kPath) + "\\Missing\\Deeper", "path"), std::nullopt);
    // Without a root name the path lies under HKEY_LOCAL_MACHINE.
    EXPECT_EQ(m_settings.ReadRegistryString("Software\\TolkTest\\Missing", ""), std::nullopt);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TolkTest\\Missing", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\TolkTest", 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST(WinSystemSettings, ExpandsEnvironmentVariablesOfAnyLength)
{
    const std::string longValue = "C:\\" + std::string(1000, 'd');
    ASSERT_TRUE(SetEnvironmentVariableA("TOLK_TEST_FOLDER", longValue.c_str()));
    WinSystemSettings settings;
    EXPECT_EQ(settings.ExpandEnvironment("%TOLK_TEST_FOLDER%\\wmplayer.exe"), longValue + "\\wmplayer.exe");
    EXPECT_EQ(settings.ExpandEnvironment("%TOLK_NO_SUCH_VARIABLE%\\a"), "%TOLK_NO_SUCH_VARIABLE%\\a");
    SetEnvironmentVariableA("TOLK_TEST_FOLDER", nullptr);
}

// Whether the shell holds an icon of this window with the host's icon id.
bool TrayIconShown(HWND window)
{
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V3_SIZE;
    data.hWnd = window;
    data.uID = WinNotificationArea::kTrayIconId;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

TEST(WinNotificationArea, TheTrayIconComesAndGoesOnceWhateverTheCallOrder)
{
    TestWindow window(Unique("TolkTrayOwner"));
    ASSERT_TRUE(window.Handle());
    {
        WinNotificationArea tray(window.Handle());
        EXPECT_TRUE(tray.AddTrayIcon());
        ASSERT_TRUE(TrayIconShown(window.Handle()));
        EXPECT_TRUE(tray.AddTrayIcon()) << "an icon the taskbar holds is kept"; // keyboard plugged in again
        tray.RemoveTrayIcon();
        EXPECT_FALSE(TrayIconShown(window.Handle())) << "a second icon was left behind";
        tray.RemoveTrayIcon();
        EXPECT_TRUE(tray.AddTrayIcon());
        EXPECT_TRUE(TrayIconShown(window.Handle())) << "removal twice then arrival";
    }
    EXPECT_FALSE(TrayIconShown(window.Handle())) << "the icon outlives the host";
}

TEST(WinNotificationArea, AnIconTheTaskbarLostIsAddedAgain)
{
    TestWindow window(Unique("TolkTrayOwner"));
    ASSERT_TRUE(window.Handle());
    WinNotificationArea tray(window.Handle());
    ASSERT_TRUE(tray.AddTrayIcon());
    // What a restarted taskbar looks like to the host: the icon is gone without the host's doing.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V3_SIZE;
    data.hWnd = window.Handle();
    data.uID = WinNotificationArea::kTrayIconId;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(TrayIconShown(window.Handle()));
    EXPECT_TRUE(tray.AddTrayIcon());
    EXPECT_TRUE(TrayIconShown(window.Handle())) << "the icon did not come back";
    tray.RemoveTrayIcon();
    EXPECT_FALSE(TrayIconShown(window.Handle()));
}

// ---- WinForegroundProcess -------------------------------------------------------------------------

TEST(WinForegroundProcess, NamesTheProgramWhoseWindowIsInFront)
{
    TestWindow window(Unique("TolkFront"), "TolkAdapterTestWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(window.Handle());
    SetForegroundWindow(window.Handle());
    PumpUntil([&] { return GetForegroundWindow() == window.Handle(); }, 2000);
    ASSERT_EQ(GetForegroundWindow(), window.Handle()) << "the display gave the test window no focus";

    const std::optional<std::string> name = WinForegroundProcess().ModuleBaseName();
    ASSERT_TRUE(name);
    EXPECT_EQ(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name->c_str(), -1, "tolk_win32_tests.exe", -1),
              CSTR_EQUAL)
        << *name;
}

// A copy of the input probe under a game's file name, started and in front until it is ended.
class GameProbe {
public:
    // probe: the probe program to copy; folder: where the copy and its log go.
    GameProbe(const std::string& probe, const std::string& folder, const std::string& gameName)
        : m_log(folder + gameName + ".log")
    {
        const std::string game = folder + gameName;
        if (!CopyFileA(probe.c_str(), game.c_str(), FALSE)) {
            m_problem = "cannot copy " + probe + " (error " + std::to_string(GetLastError()) + ")";
            return;
        }
        std::string commandLine = "\"" + game + "\" --log \"" + m_log + "\" --title " + gameName;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(game.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info)) {
            m_problem = "this prefix cannot run " + probe + " (error " + std::to_string(GetLastError()) + ")";
            return;
        }
        m_process.Reset(info.hProcess);
        UniqueHandle thread(info.hThread);
        m_pid = info.dwProcessId;
        if (!PumpUntil([&] { return Log().find("READY") != std::string::npos; }, 30000))
            m_problem = "the probe did not take the foreground";
    }
    ~GameProbe()
    {
        if (m_process) {
            TerminateProcess(m_process.Get(), 0);
            WaitForSingleObject(m_process.Get(), 10000);
        }
    }

    // Why the probe does not run in front; empty when it does.
    const std::string& Problem() const { return m_problem; }
    uint32_t Pid() const { return m_pid; }

private:
    std::string Log() const
    {
        std::ifstream in(m_log, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string m_log;
    std::string m_problem;
    UniqueHandle m_process;
    uint32_t m_pid = 0;
};

bool SameName(const std::optional<std::string>& name, const char* expected)
{
    return name && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name->c_str(), -1, expected, -1) == CSTR_EQUAL;
}

TEST(WinForegroundProcess, AGameInFrontIsNamedByItsProgramFile)
{
    TempFolder folder;
    GameProbe game(std::string(TOLK_TOOLS) + "InputProbe.exe", folder.Path(), "RaidGame.exe");
    ASSERT_EQ(game.Problem(), "");
    EXPECT_TRUE(SameName(ProcessImageFileName(game.Pid()), "RaidGame.exe"));
    EXPECT_TRUE(SameName(ProcessFirstModuleName(game.Pid()), "RaidGame.exe")) << "the fallback of one bitness";
    std::optional<std::string> inFront;
    PumpUntil([&] { return SameName(inFront = WinForegroundProcess().ModuleBaseName(), "RaidGame.exe"); }, 5000);
    EXPECT_TRUE(SameName(inFront, "RaidGame.exe")) << inFront.value_or("nothing");
    EXPECT_EQ(ProcessImageFileName(0), std::nullopt) << "no process";
}

TEST(WinForegroundProcess, A64BitGameInFrontOfThe32BitHostIsNamed)
{
#ifdef _WIN64
    GTEST_SKIP() << "these tests are 64-bit; a 32-bit host meets a 64-bit game in the e2e scenario game_switch_64";
#else
    // The 64-bit probe lies in the 64-bit build beside this one.
    std::string probe64 = std::string(TOLK_TOOLS);
    const size_t at = probe64.rfind("/windows/tools/");
    if (at == std::string::npos)
        GTEST_SKIP() << "no 64-bit build beside " << probe64;
    probe64.replace(at, std::strlen("/windows/tools/"), "/windows64/tools/");
    probe64 += "InputProbe.exe";
    if (GetFileAttributesA(probe64.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no 64-bit probe at " << probe64 << " (build the windows64 preset)";
    TempFolder folder;
    GameProbe game(probe64, folder.Path(), "BigGame.exe");
    if (!game.Problem().empty())
        GTEST_SKIP() << "no 64-bit game beside this 32-bit program: " << game.Problem();
    EXPECT_TRUE(SameName(ProcessImageFileName(game.Pid()), "BigGame.exe"));
    std::optional<std::string> inFront;
    PumpUntil([&] { return SameName(inFront = WinForegroundProcess().ModuleBaseName(), "BigGame.exe"); }, 5000);
    EXPECT_TRUE(SameName(inFront, "BigGame.exe")) << inFront.value_or("nothing");
#endif
}

} // namespace
