#include "WinHostWindow.h"

#include "LinkNames.h"
#include "Log.h"

#include <windows.h>

HostWindow::Answer WinHostWindow::SendApply()
{
    HWND host = ::FindWindowA(nullptr, kHostWindowTitle);
    if (host == nullptr)
        return Answer::NoHost;
    // A hung host must not freeze this program for ever: the send gives up when the host's thread
    // stops answering, and after the limit in any case.
    DWORD_PTR result = 0;
    if (::SendMessageTimeoutA(host, WM_HOST_APPLY, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, m_timeoutMs, &result) == 0) {
        LogDebug("TolkCfg apply: the host did not answer (%lu)\n", ::GetLastError());
        return Answer::NoAnswer;
    }
    return Answer::Answered;
}
