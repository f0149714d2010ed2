// InputProbe: a plain top-level window that takes the foreground and logs the input and commands it
// receives, so that tests can check what another program sent to the foreground window.
//
//   InputProbe --log FILE [--title T] [--class C] [--hang-after-command MS] [--mutex NAME]
//              [--ignore-close]
//
// The environment variables INPUTPROBE_LOG, INPUTPROBE_TITLE and INPUTPROBE_CLASS give the values of
// options left out, so that a copy of the probe started by another program without arguments (as
// the on-screen display, say) still logs where a test looks.
//
// FILE gets one line per logged message, appended and written through at once so that other
// processes can read it while the probe runs: "MS NAME WPARAM LPARAM", MS the milliseconds since the
// probe started, WPARAM and LPARAM in upper-case hex without prefix (lParam as 32 bits). Logged are
// the key and mouse button messages, WM_APPCOMMAND, WM_COMMAND, WM_CLOSE and every message from
// WM_USER on (named WM_USER+N). The line "0 READY 0 0" comes once the window has the foreground and
// the keyboard focus. WM_CLOSE ends the probe with exit code 0.
//
// --hang-after-command MS stands in for a program that hangs: after logging its first WM_COMMAND the
// probe answers no message for MS milliseconds, so that a program sending to it waits.
//
// --mutex NAME creates the named mutex and keeps it while the probe runs, and --ignore-close logs
// WM_CLOSE but stays: with the title and mutex of one of our programs, the probe stands in for a copy
// of it that does not end when asked (the setup and the uninstaller must give up on it clearly).
//
// Exit codes: 0 after WM_CLOSE, 1 for a wrong command line, a log that cannot be opened or a mutex
// that cannot be created, 3 when the window does not get the foreground within kForegroundWaitMs.
#include "UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitNoForeground = 3;
constexpr DWORD kForegroundWaitMs = 5000;
constexpr DWORD kForegroundRetryMs = 20;
constexpr int kWindowWidth = 480;
constexpr int kWindowHeight = 320;

struct MessageName {
    UINT message;
    const char* name;
};

constexpr MessageName kLoggedMessages[] = {
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
    {WM_RBUTTONUP, "WM_RBUTTONUP"},
    {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
    {WM_MBUTTONUP, "WM_MBUTTONUP"},
    {WM_XBUTTONDOWN, "WM_XBUTTONDOWN"},
    {WM_XBUTTONUP, "WM_XBUTTONUP"},
    {WM_APPCOMMAND, "WM_APPCOMMAND"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_CLOSE, "WM_CLOSE"},
};

// The name a message is logged under; empty for messages that are not logged.
std::string LoggedName(UINT message)
{
    for (const MessageName& entry : kLoggedMessages)
        if (entry.message == message)
            return entry.name;
    if (message >= WM_USER)
        return "WM_USER+" + std::to_string(message - WM_USER);
    return {};
}

std::string Hex(uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

class Probe {
public:
    Probe(HANDLE log, DWORD hangAfterCommandMs, bool ignoreClose)
        : m_log(log), m_hangAfterCommandMs(hangAfterCommandMs), m_ignoreClose(ignoreClose)
    {
        QueryPerformanceFrequency(&m_frequency);
        QueryPerformanceCounter(&m_start);
    }

    void Log(const std::string& line)
    {
        const std::string text = line + "\n";
        DWORD written = 0;
        WriteFile(m_log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    void LogMessage(const std::string& name, WPARAM wParam, LPARAM lParam)
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        const long long ms = (now.QuadPart - m_start.QuadPart) * 1000 / m_frequency.QuadPart;
        Log(std::to_string(ms) + " " + name + " " + Hex(static_cast<uint32_t>(wParam)) + " " +
            Hex(static_cast<uint32_t>(lParam)));
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* probe = reinterpret_cast<Probe*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (!probe)
            return DefWindowProcA(window, message, wParam, lParam);
        return probe->Handle(window, message, wParam, lParam);
    }

private:
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const std::string name = LoggedName(message);
        if (!name.empty())
            LogMessage(name, wParam, lParam);
        if (message == WM_COMMAND && m_hangAfterCommandMs != 0) {
            const DWORD hang = m_hangAfterCommandMs;
            m_hangAfterCommandMs = 0;
            Sleep(hang);
        }
        switch (message) {
        case WM_CLOSE:
            if (!m_ignoreClose)
                DestroyWindow(window);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        // Handled here, so it goes no further up the chain.
        case WM_APPCOMMAND: return TRUE;
        case WM_SYSCOMMAND:
            // Alt or F10 alone would open the window menu, which swallows the keys that follow.
            if ((wParam & 0xFFF0) == SC_KEYMENU)
                return 0;
            break;
        default: break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HANDLE m_log;
    DWORD m_hangAfterCommandMs;
    bool m_ignoreClose;
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
};

std::string FromEnvironment(const char* name, const char* fallback)
{
    char value[1024];
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string(fallback);
}

int Usage()
{
    std::fputs("usage: InputProbe --log FILE [--title T] [--class C] [--hang-after-command MS] [--mutex NAME]\n"
               "                  [--ignore-close]\n"
               "       (INPUTPROBE_LOG, INPUTPROBE_TITLE, INPUTPROBE_CLASS stand for options left out)\n",
               stderr);
    return kExitUsage;
}

// Pumps the window's messages until it is the foreground window with the keyboard focus; false
// after kForegroundWaitMs or when the window was closed meanwhile.
bool TakeForeground(HWND window)
{
    const DWORD start = GetTickCount();
    for (;;) {
        SetForegroundWindow(window);
        SetFocus(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!IsWindow(window))
            return false;
        if (GetForegroundWindow() == window && GetFocus() == window)
            return true;
        if (GetTickCount() - start >= kForegroundWaitMs)
            return false;
        Sleep(kForegroundRetryMs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string logPath = FromEnvironment("INPUTPROBE_LOG", "");
    std::string title = FromEnvironment("INPUTPROBE_TITLE", "InputProbe");
    std::string className = FromEnvironment("INPUTPROBE_CLASS", "InputProbe");
    DWORD hangAfterCommandMs = 0;
    std::string mutexName;
    bool ignoreClose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--ignore-close") {
            ignoreClose = true;
            continue;
        }
        if (i + 1 >= argc)
            return Usage();
        const std::string value = argv[++i];
        if (option == "--log")
            logPath = value;
        else if (option == "--title")
            title = value;
        else if (option == "--class")
            className = value;
        else if (option == "--hang-after-command")
            hangAfterCommandMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
        else if (option == "--mutex")
            mutexName = value;
        else
            return Usage();
    }
    if (logPath.empty() || className.empty())
        return Usage();

    // Append-only, shared with every reader: each line reaches the file as one write.
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    UniqueHandle log(
        CreateFileA(logPath.c_str(), FILE_APPEND_DATA, sharing, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) {
        std::fprintf(stderr, "InputProbe: cannot open %s (error %lu)\n", logPath.c_str(), GetLastError());
        return kExitUsage;
    }
    UniqueHandle mutex;
    if (!mutexName.empty()) {
        mutex.Reset(CreateMutexA(nullptr, FALSE, mutexName.c_str()));
        if (!mutex) {
            std::fprintf(stderr, "InputProbe: cannot create the mutex %s (error %lu)\n", mutexName.c_str(),
                         GetLastError());
            return kExitUsage;
        }
    }
    Probe probe(log.Get(), hangAfterCommandMs, ignoreClose);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = &Probe::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.c_str();
    if (!RegisterClassExA(&windowClass)) {
        std::fprintf(stderr, "InputProbe: cannot register class %s (error %lu)\n", className.c_str(), GetLastError());
        return kExitUsage;
    }
    const HWND window = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100,
                                        kWindowWidth, kWindowHeight, nullptr, nullptr, instance, &probe);
    if (!window) {
        std::fprintf(stderr, "InputProbe: cannot create the window (error %lu)\n", GetLastError());
        return kExitUsage;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (!TakeForeground(window)) {
        if (!IsWindow(window))
            return 0; // closed before it got the foreground
        std::fputs("InputProbe: the window did not get the foreground\n", stderr);
        DestroyWindow(window);
        return kExitNoForeground;
    }
    probe.Log("0 READY 0 0");

    MSG msg;
    int result;
    while ((result = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return result < 0 ? kExitUsage : static_cast<int>(msg.wParam);
}
