#include "WinDesktop.h"

#include "HostConstants.h"
#include "Log.h"
#include "MediaKeys.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

namespace {

// The NOTIFYICONDATAA of Windows XP and later: 504 bytes in a 32-bit program; the window and icon
// handles are eight bytes wide in a 64-bit one, and the structure grows with them.
constexpr UINT kNotifyIconDataSize = NOTIFYICONDATAA_V3_SIZE;
#ifdef _WIN64
static_assert(kNotifyIconDataSize == 520, "tray icon data of the Windows XP layout (64-bit)");
#else
static_assert(kNotifyIconDataSize == 504, "tray icon data of the Windows XP layout");
#endif
constexpr size_t kTextBufferSize = 260;
constexpr size_t kClassNameBufferSize = 256; // the longest class name the system allows, plus one

HWND ToHwnd(WindowId window)
{
    return reinterpret_cast<HWND>(window);
}

WindowId ToWindowId(HWND window)
{
    return reinterpret_cast<WindowId>(window);
}

const char* NullIfEmpty(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

// The text a system call wrote into buffer, which it may have left unterminated: up to the first
// zero, and never past count or the buffer.
std::string BoundedText(const char* buffer, size_t bufferSize, size_t count)
{
    const size_t limit = count < bufferSize ? count : bufferSize;
    const void* zero = std::memchr(buffer, 0, limit);
    return std::string(buffer, zero ? static_cast<const char*>(zero) - buffer : limit);
}

HKEY RootKey(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::LocalMachine:
        break;
    }
    return HKEY_LOCAL_MACHINE;
}

NOTIFYICONDATAA TrayIconData(HWND owner)
{
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = owner;
    data.uID = WinDesktop::kTrayIconId;
    return data;
}

} // namespace

WinDesktop::WinDesktop(HWND hostWindow) : m_hostWindow(hostWindow) {}

WinDesktop::~WinDesktop()
{
    RemoveTrayIcon();
}

WindowId WinDesktop::FindWindow(const std::string& className, const std::string& title)
{
    return ToWindowId(FindWindowA(NullIfEmpty(className), NullIfEmpty(title)));
}

WindowId WinDesktop::NextWindow(WindowId window)
{
    return ToWindowId(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

std::string WinDesktop::WindowTitle(WindowId window)
{
    // For a window that does not exist Wine's GetWindowTextA reports stale bytes as a title.
    if (!IsWindow(ToHwnd(window)))
        return {};
    char buffer[kTextBufferSize] = {};
    const int count = GetWindowTextA(ToHwnd(window), buffer, static_cast<int>(sizeof buffer));
    return BoundedText(buffer, sizeof buffer, count > 0 ? static_cast<size_t>(count) : 0);
}

std::string WinDesktop::WindowClass(WindowId window)
{
    char buffer[kClassNameBufferSize] = {};
    const int count = GetClassNameA(ToHwnd(window), buffer, static_cast<int>(sizeof buffer));
    return BoundedText(buffer, sizeof buffer, count > 0 ? static_cast<size_t>(count) : 0);
}

bool WinDesktop::PostMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return PostMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)) != 0;
}

intptr_t WinDesktop::SendMessage(WindowId window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return static_cast<intptr_t>(
        SendMessageA(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void WinDesktop::SetForeground(WindowId window)
{
    SetForegroundWindow(ToHwnd(window));
}

void WinDesktop::ActivateAttached(WindowId window)
{
    // The system lets a thread bring a window to the front only while its input is attached to the
    // thread that has the foreground.
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD hostThread = GetWindowThreadProcessId(m_hostWindow, nullptr);
    const bool attached = foregroundThread != 0 && hostThread != 0 && foregroundThread != hostThread &&
                          AttachThreadInput(foregroundThread, hostThread, TRUE);
    SetForegroundWindow(ToHwnd(window));
    if (attached)
        AttachThreadInput(foregroundThread, hostThread, FALSE);
}

void WinDesktop::RestoreAndActivate(WindowId window)
{
    const HWND hwnd = ToHwnd(window);
    if (IsIconic(hwnd))
        ShowWindow(hwnd, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd);
    SetActiveWindow(hwnd);
}

WindowId WinDesktop::HostWindow()
{
    return ToWindowId(m_hostWindow);
}

std::optional<std::string> WinDesktop::ReadRegistryString(const std::string& path, const std::string& valueName)
{
    const RegistryPath where = SplitRegistryPath(path);
    const HKEY root = RootKey(where.root);
    HKEY rawKey = nullptr;
    if (RegOpenKeyExA(root, where.subkey.c_str(), 0, KEY_ALL_ACCESS, &rawKey) != ERROR_SUCCESS &&
        RegOpenKeyExA(root, where.subkey.c_str(), 0, KEY_READ, &rawKey) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey key(rawKey);
    char buffer[kTextBufferSize] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key.Get(), NullIfEmpty(valueName), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    return BoundedText(buffer, sizeof buffer, size);
}

std::string WinDesktop::ExpandEnvironment(const std::string& text)
{
    std::vector<char> buffer(text.size() + kTextBufferSize);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return text;
        if (needed <= buffer.size())
            return BoundedText(buffer.data(), buffer.size(), needed);
        // Too small: needed is the size including the terminating zero; the environment may grow
        // between the calls, hence the few tries.
        buffer.assign(needed, 0);
    }
    return text;
}

void WinDesktop::Run(const std::string& commandLine)
{
    WinExec(commandLine.c_str(), SW_SHOWNORMAL);
}

void WinDesktop::ShellOpen(const std::string& file, const std::string& parameters)
{
    ShellExecuteA(nullptr, "open", file.c_str(), NullIfEmpty(parameters), nullptr, SW_SHOW);
}

void WinDesktop::AddTrayIcon()
{
    std::lock_guard<std::mutex> guard(m_trayMutex);
    if (m_trayIcon)
        return;
    char modulePath[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    if (!SHGetFileInfoA(modulePath, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
        return;
    UniqueIcon icon(info.hIcon);
    NOTIFYICONDATAA data = TrayIconData(m_hostWindow);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = icon.Get();
    static_assert(sizeof kTrayTip <= sizeof data.szTip, "the tip fits");
    std::memcpy(data.szTip, kTrayTip, sizeof kTrayTip);
    if (!Shell_NotifyIconA(NIM_ADD, &data)) {
        LogDebug("Tray icon not added (error %lu)\n", GetLastError());
        return;
    }
    m_trayIcon = std::move(icon);
}

void WinDesktop::RemoveTrayIcon()
{
    std::lock_guard<std::mutex> guard(m_trayMutex);
    if (!m_trayIcon)
        return;
    NOTIFYICONDATAA data = TrayIconData(m_hostWindow);
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_trayIcon.Reset();
}
