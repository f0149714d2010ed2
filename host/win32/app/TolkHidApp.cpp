#include "TolkHidApp.h"

#include "CommandLine.h"
#include "HostConstants.h"
#include "LinkNames.h"
#include "Log.h"

#include <utility>

BOOL CTolkHidApp::InitInstance()
{
    // One host per session.
    UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, kHostInstanceMutexName));
    const DWORD error = ::GetLastError();
    // Access denied: the mutex exists but belongs to an instance running with other rights.
    if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED))
        return FALSE;
    m_instanceMutex = std::move(mutex);

    LogDebug("TolkHid: started with the command line \"%s\"\n", CommandLine());

    if (OpensConfigurationAtStart(CommandLine()))
        m_state.openConfigAtStart = true;

    m_window = std::make_unique<CTolkHidWindow>(m_state);
    if (!m_window->CreateEx(0, nullptr, kHostWindowTitle, WS_POPUP, 100, 100, 100, 100, nullptr, nullptr))
        return FALSE;

    m_pMainWnd = m_window.get();
    return TRUE;
}

int CTolkHidApp::ExitInstance()
{
    m_pMainWnd = nullptr;
    m_window.reset();
    // The mutex is never owned (only its existence counts), so closing it is all.
    m_instanceMutex.Reset();
    return CWinApp::ExitInstance();
}
