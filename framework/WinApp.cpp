#include "WinApp.h"

bool CWinApp::PreTranslateMessage(MSG& message)
{
    if (message.hwnd == nullptr)
        return false;
    if (CWnd::RoutePreTranslateMessage(message))
        return true;
    // Keyboard navigation of a modeless dialog (tab, arrows, mnemonics).
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    char className[16] = {};
    if (root != nullptr && ::GetClassNameA(root, className, sizeof className) > 0 && lstrcmpA(className, "#32770") == 0)
        return ::IsDialogMessageA(root, &message) != FALSE;
    return false;
}

int CWinApp::Run()
{
    if (m_pMainWnd != nullptr) {
        // A main window that is already gone would leave the loop waiting for a WM_QUIT that
        // nobody posts.
        if (m_pMainWnd->GetSafeHwnd() == nullptr)
            return m_exitCode;
        m_pMainWnd->m_endsMessageLoop = true;
    }
    MSG message;
    for (;;) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            m_exitCode = static_cast<int>(message.wParam);
            break;
        }
        if (got == -1) {
            m_exitCode = -1;
            break;
        }
        if (!PreTranslateMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
    return m_exitCode;
}

int RunApplication(CWinApp& app, HINSTANCE instance, const char* commandLine, int showCommand)
{
    app.m_instance = instance;
    app.m_commandLine = commandLine != nullptr ? commandLine : "";
    app.m_showCommand = showCommand;
    if (!app.InitInstance()) {
        if (app.m_pMainWnd != nullptr)
            app.m_pMainWnd->DestroyWindow();
        return app.ExitInstance();
    }
    app.Run();
    return app.ExitInstance();
}
