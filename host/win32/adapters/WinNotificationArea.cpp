#include "WinNotificationArea.h"

#include "HostConstants.h"
#include "Log.h"

#include <shellapi.h>

#include <cstring>

namespace {

// The NOTIFYICONDATAA of Windows XP and later: 504 bytes in a 32-bit program; the window and icon
// handles are eight bytes wide in a 64-bit one, and the structure grows with them.
constexpr UINT kNotifyIconDataSize = NOTIFYICONDATAA_V3_SIZE;
#ifdef _WIN64
static_assert(kNotifyIconDataSize == 520, "tray icon data of the Windows XP layout (64-bit)");
#else
static_assert(kNotifyIconDataSize == 504, "tray icon data of the Windows XP layout");
#endif

NOTIFYICONDATAA TrayIconData(HWND owner)
{
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = owner;
    data.uID = WinNotificationArea::kTrayIconId;
    return data;
}

// The small icon of the host's own program file.
UniqueIcon ProgramIcon()
{
    char modulePath[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return UniqueIcon();
    SHFILEINFOA info;
    std::memset(&info, 0, sizeof info);
    if (!SHGetFileInfoA(modulePath, FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
        return UniqueIcon();
    return UniqueIcon(info.hIcon);
}

} // namespace

WinNotificationArea::~WinNotificationArea()
{
    RemoveTrayIcon();
}

bool WinNotificationArea::AddTrayIcon()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_icon)
        m_icon = ProgramIcon();
    if (!m_icon)
        return false;
    NOTIFYICONDATAA data = TrayIconData(m_hostWindow);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = m_icon.Get();
    static_assert(sizeof kTrayTip <= sizeof data.szTip, "the tip fits");
    std::memcpy(data.szTip, kTrayTip, sizeof kTrayTip);
    if (!Shell_NotifyIconA(NIM_ADD, &data) && !Shell_NotifyIconA(NIM_MODIFY, &data)) {
        LogDebug("Tray icon not added (error %lu)\n", GetLastError());
        return false;
    }
    m_added = true;
    return true;
}

void WinNotificationArea::RemoveTrayIcon()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    if (!m_added)
        return;
    NOTIFYICONDATAA data = TrayIconData(m_hostWindow);
    Shell_NotifyIconA(NIM_DELETE, &data);
    m_added = false;
    m_icon.Reset();
}
