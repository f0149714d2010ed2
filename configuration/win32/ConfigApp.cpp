#include "ConfigApp.h"

#include "ConfigDlg.h"
#include "LinkNames.h"
#include "MenuFrameHook.h"
#include "SkinDialog.h"
#include "SkinMessages.h"
#include "SkinPicturesAhead.h"

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
    // The main window and its key page open first; their pictures are decoded while the windows
    // are made.
    DecodeSkinPicturesAhead(SkinProgramFolder(), {"skins\\skin_main.ini", "skins\\skin_main_control.ini"});

    // The update and help pages host the web browser control.
    m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
    RegisterSkinMessages();
    {
        CConfigDlg dialog;
        // Every menu of the program gets the flat frame, for the rest of the program's run. No menu
        // opens before the main window is there.
        dialog.m_whenFilled = [] { CMenuFrameHook::InstallHook(); };
        dialog.DoModal(nullptr);
    }
    // The program ends with its main window: no message loop of the framework's own.
    return FALSE;
}

int CConfigApp::ExitInstance()
{
    FinishDecodingAhead();
    CMenuFrameHook::RemoveHook();
    if (m_oleStarted)
        ::OleUninitialize();
    m_instanceMutex.Reset();
    return CWinApp::ExitInstance();
}
