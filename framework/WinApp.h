// The framework's application: the program's WinMain creates one object of a class derived from
// CWinApp and hands it to RunApplication, which runs InitInstance, the message loop and
// ExitInstance on the calling thread. Nothing reaches the application through a global.
#pragma once

#include "Wnd.h"

#include <windows.h>

class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Sets the program up, usually by creating the main window. FALSE ends the program: the message
    // loop does not run, ExitInstance still does.
    virtual BOOL InitInstance() { return TRUE; }
    // The message loop: runs until WM_QUIT, which destruction of the main window posts. Returns
    // WM_QUIT's exit code.
    virtual int Run();
    // Cleans up after the loop (or after a failed InitInstance); returns the process exit code.
    // The base returns WM_QUIT's exit code (0 when the loop never ran).
    virtual int ExitInstance() { return m_exitCode; }
    // Gets each message before it is translated and dispatched; true when it was consumed. The base
    // offers it to the windows it is addressed to (CWnd::PreTranslateMessage) and then to the
    // dialog manager of a modeless dialog.
    virtual bool PreTranslateMessage(MSG& message);

    HINSTANCE Instance() const { return m_instance; }
    // The command line after the program's name, as WinMain receives it; never null.
    const char* CommandLine() const { return m_commandLine; }
    int ShowCommand() const { return m_showCommand; }

    // The window whose destruction ends the message loop; not owned. Set it in InitInstance.
    CWnd* m_pMainWnd = nullptr;

private:
    friend int RunApplication(CWinApp& app, HINSTANCE instance, const char* commandLine, int showCommand);

    HINSTANCE m_instance = nullptr;
    const char* m_commandLine = "";
    int m_showCommand = SW_SHOWNORMAL;
    int m_exitCode = 0;
};

// The whole life of the program: InitInstance, Run when it succeeded, ExitInstance. Returns the
// exit code of ExitInstance. When InitInstance fails, a main window it left is destroyed first.
int RunApplication(CWinApp& app, HINSTANCE instance, const char* commandLine, int showCommand);
