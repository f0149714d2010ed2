#include "HostLifecycle.h"

#include "HostConstants.h"
#include "Log.h"
#include "TrayIcon.h"

bool HostLifecycle::Start(ReadThread& readThread)
{
    m_steps.LoadAndShareProfileSet();
    if (!readThread.Start())
        return false;
    m_steps.StartMacroWorker();
    m_steps.StartDeviceWorker();
    m_steps.StartUp();
    m_steps.StartDisplay();
    return true;
}

ShutdownOutcome HostLifecycle::ShutDown(ReadThread& readThread)
{
    m_steps.BeginShutdown();
    readThread.Wake();
    m_clock.SleepMs(kShutdownGraceMs);
    if (!readThread.WaitForEnd(kReadThreadExitWaitMs)) {
        LogDebug("TolkHid: the read thread did not end; leaving it to the end of the process\n");
        m_steps.FinishShutdownLeavingTheDevice();
        return ShutdownOutcome::ReadThreadStuck;
    }
    if (!m_steps.EndDeviceWorker(kDeviceWorkerExitWaitMs)) {
        LogDebug("TolkHid: the device worker did not end; leaving it to the end of the process\n");
        m_steps.FinishShutdownLeavingTheDevice();
        return ShutdownOutcome::DeviceWorkerStuck;
    }
    m_steps.FinishShutdown();
    return ShutdownOutcome::Finished;
}

void HostLifecycle::OnSessionChange(uint32_t change)
{
    if (change == 1)
        m_steps.ConnectSession();
    else if (change == 2)
        m_steps.DisconnectSession();
}

void HostLifecycle::OnTimer(uint32_t id)
{
    if (id == kGameWatchTimerId)
        m_steps.OnGameWatchTimer();
    else if (id == kCountdownTimerId)
        m_steps.OnCountdownTimer();
    else if (id == kTrayRetryTimerId)
        m_steps.OnTrayRetryTimer();
}
