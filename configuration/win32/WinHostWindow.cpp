#include "WinHostWindow.h"

#include "LinkNames.h"
#include "Log.h"

namespace {

// The time limit's timer of a request is this number plus the request's number, on the answer
// window, so that it tells which request it ends without any object of its own.
constexpr UINT_PTR kLimitTimerBase = 0x54410000;

// Where the answer to one request goes. The host's answer frees it; a host that never answers at
// all (it ended while the request waited) leaves these few bytes behind.
struct SentApply {
    HWND answerTo;
    uint32_t request;
};

void CALLBACK OnHostAnswer(HWND, UINT, ULONG_PTR data, LRESULT)
{
    auto* sent = reinterpret_cast<SentApply*>(data);
    ::KillTimer(sent->answerTo, kLimitTimerBase + sent->request);
    // After the time limit the answer is late; the window knows that request is over.
    ::PostMessageA(sent->answerTo, WM_CFG_APPLY_ANSWER, sent->request,
                   static_cast<LPARAM>(HostWindow::Answer::Answered));
    delete sent;
}

void CALLBACK OnTimeLimit(HWND window, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(window, id);
    LogDebug("TolkCfg apply: the host did not answer request %u in time\n",
             static_cast<unsigned>(id - kLimitTimerBase));
    ::PostMessageA(window, WM_CFG_APPLY_ANSWER, id - kLimitTimerBase,
                   static_cast<LPARAM>(HostWindow::Answer::NoAnswer));
}

} // namespace

bool WinHostWindow::SendApply(uint32_t request)
{
    HWND host = ::FindWindowA(nullptr, kHostWindowTitle);
    if (host == nullptr)
        return false;
    auto* sent = new SentApply{m_answerTo, request};
    if (!::SendMessageCallbackA(host, WM_HOST_APPLY, 0, 0, &OnHostAnswer, reinterpret_cast<ULONG_PTR>(sent))) {
        // The host's window went between the search and the send.
        LogDebug("TolkCfg apply: the request could not be sent (%lu)\n", ::GetLastError());
        delete sent;
        return false;
    }
    // A hung host must not keep the status line waiting for ever.
    if (::SetTimer(m_answerTo, kLimitTimerBase + request, m_timeoutMs, &OnTimeLimit) == 0)
        LogDebug("TolkCfg apply: no time limit for request %u (%lu)\n", request, ::GetLastError());
    return true;
}
