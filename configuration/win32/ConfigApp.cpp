#include "ConfigApp.h"

#include "ConfigDlg.h"
#include "LinkNames.h"
#include "MenuFrameHook.h"
#include "SkinMessages.h"

#include <ole2.h>

#include <utility>

BOOL CConfigApp::InitInstance()
{
    // One configuration program per session.
    UniqueHandle mutex(::CreateMutexA(nullptr, FALSE, kConfigInstanceMutexName));
    const DWORD error = ::GetLastError();
    // A second copy ends silently; it does not bring the first one forward.
    if (error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED))
        return FALSE;
    m_instanceMutex = std::move(mutex);

    // The update and help pages host the web browser control.
    m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
    RegisterSkinMessages();
    // Every menu of the program gets the flat frame, for the program's whole run.
    CMenuFrameHook::InstallHook();

    {
        CConfigDlg dialog;
        dialog.DoModal(nullptr);
    }
    // The program ends with its main window: no message loop of the framework's own.
    return FALSE;
}

int CConfigApp::ExitInstance()
{
    CMenuFrameHook::RemoveHook();
    if (m_oleStarted)
        ::OleUninitialize();
    m_instanceMutex.Reset();
    return CWinApp::ExitInstance();
}
