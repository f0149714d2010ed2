#include "ApplyRun.h"

#include "Log.h"

ApplyStep ApplyRun::Start(ApplyRequest request, HostBlockSource& source)
{
    m_last = m_document.BeginApply(source, ++m_request);
    m_waiting = m_last == ApplyOutcome::Updating;
    if (m_waiting)
        LogDebug("TolkCfg apply: request %u sent; the host's answer is awaited\n", m_request);
    ApplyStep step;
    step.status = m_last;
    // What did not reach the files or the host stays on the screen to retry or cancel.
    step.close = request == ApplyRequest::Ok && ApplyLetsWindowClose(m_last);
    if (step.close)
        m_closed = true;
    else if (m_waiting && request == ApplyRequest::Ok)
        m_remembered = ApplyRequest::Ok;
    return step;
}

ApplyStep ApplyRun::Request(ApplyRequest request, HostBlockSource& source)
{
    if (m_closed)
        return {};
    if (!m_waiting)
        return Start(request, source);
    // An OK stands for an Apply as well: it is the one kept.
    if (!m_remembered || request == ApplyRequest::Ok)
        m_remembered = request;
    return {};
}

ApplyStep ApplyRun::HostAnswered(uint32_t request, HostWindow::Answer answer, HostBlockSource& source)
{
    if (m_closed || !m_waiting || request != m_request) {
        LogDebug("TolkCfg apply: answer %u ignored (awaited %s%u)\n", request, m_waiting ? "" : "none, last ",
                 m_request);
        return {};
    }
    m_waiting = false;
    m_last = m_document.FinishApply(answer);
    LogDebug("TolkCfg apply: request %u ended (outcome %d)\n", request, static_cast<int>(m_last));
    const std::optional<ApplyRequest> remembered = m_remembered;
    m_remembered.reset();
    if (remembered && m_document.HasUnappliedEdits())
        return Start(*remembered, source);
    ApplyStep step;
    step.status = m_last;
    step.close = remembered == ApplyRequest::Ok && ApplyLetsWindowClose(m_last);
    if (step.close)
        m_closed = true;
    return step;
}

void ApplyRun::Close()
{
    m_closed = true;
    m_waiting = false;
    m_remembered.reset();
}
