#include "Fakes.h"
#include "HostConstants.h"
#include "HostLifecycle.h"
#include "TrayIcon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The host's steps and its read thread as the lifecycle drives them: one log of what ran, in order,
// with the virtual time of each wake and wait.
struct HostLifecycleTest : ::testing::Test, HostLifecycle::Steps, ReadThread {
    FakeClock clock;
    HostLifecycle lifecycle{*this, clock};
    std::vector<std::string> log;
    bool threadStarts = true;
    bool threadEndsInTime = true;
    bool workerEndsInTime = true;
    uint32_t workerWaitedMs = 0;
    int64_t wakeUs = -1;
    int64_t waitUs = -1;
    uint32_t waitedMs = 0;

    void LoadAndShareProfileSet() override { log.push_back("load"); }
    void StartMacroWorker() override { log.push_back("worker"); }
    void StartDeviceWorker() override { log.push_back("device worker"); }
    bool EndDeviceWorker(uint32_t timeoutMs) override
    {
        log.push_back("end device worker");
        workerWaitedMs = timeoutMs;
        return workerEndsInTime;
    }
    void StartUp() override { log.push_back("start-up"); }
    void StartDisplay() override { log.push_back("display"); }
    void BeginShutdown() override { log.push_back("begin"); }
    void FinishShutdown() override { log.push_back("finish"); }
    void FinishShutdownLeavingTheDevice() override { log.push_back("finish without device"); }
    void ConnectSession() override { log.push_back("connect"); }
    void DisconnectSession() override { log.push_back("disconnect"); }
    void OnGameWatchTimer() override { log.push_back("game watch"); }
    void OnCountdownTimer() override { log.push_back("countdown"); }
    void OnTrayRetryTimer() override { log.push_back("tray"); }

    bool Start() override
    {
        log.push_back("thread");
        return threadStarts;
    }
    void Wake() override
    {
        log.push_back("wake");
        wakeUs = clock.NowUs();
    }
    bool WaitForEnd(uint32_t timeoutMs) override
    {
        log.push_back("wait");
        waitUs = clock.NowUs();
        waitedMs = timeoutMs;
        return threadEndsInTime;
    }
};

using Log = std::vector<std::string>;

TEST_F(HostLifecycleTest, StartRunsTheThreadBeforeTheDeviceAndTheDisplayLast)
{
    EXPECT_TRUE(lifecycle.Start(*this));
    EXPECT_EQ(log, (Log{"load", "thread", "worker", "device worker", "start-up", "display"}));
}

TEST_F(HostLifecycleTest, AThreadThatCannotStartStopsTheStartBeforeTheDevice)
{
    threadStarts = false;
    EXPECT_FALSE(lifecycle.Start(*this));
    EXPECT_EQ(log, (Log{"load", "thread"}));
}

TEST_F(HostLifecycleTest, ShutDownWakesTheThreadGivesItTheGraceTimeAndWaitsABoundedTime)
{
    clock.Set(5'000'000);
    EXPECT_EQ(lifecycle.ShutDown(*this), ShutdownOutcome::Finished);
    EXPECT_EQ(log, (Log{"begin", "wake", "wait", "end device worker", "finish"}))
        << "the device closes after the last push";
    EXPECT_EQ(wakeUs, 5'000'000);
    EXPECT_EQ(waitUs - wakeUs, HostLifecycle::kShutdownGraceMs * 1000);
    EXPECT_EQ(waitedMs, HostLifecycle::kReadThreadExitWaitMs);
    EXPECT_EQ(workerWaitedMs, HostLifecycle::kDeviceWorkerExitWaitMs);

    log.clear();
    workerEndsInTime = false;
    EXPECT_EQ(lifecycle.ShutDown(*this), ShutdownOutcome::DeviceWorkerStuck);
    EXPECT_EQ(log, (Log{"begin", "wake", "wait", "end device worker", "finish without device"}))
        << "a push stuck in the driver holds the device's lock";

    log.clear();
    threadEndsInTime = false;
    EXPECT_EQ(lifecycle.ShutDown(*this), ShutdownOutcome::ReadThreadStuck);
    EXPECT_EQ(log, (Log{"begin", "wake", "wait", "finish without device"}));
}

TEST_F(HostLifecycleTest, SessionChangesAndTimersReachTheirSteps)
{
    lifecycle.OnSessionChange(1);
    lifecycle.OnSessionChange(2);
    lifecycle.OnSessionChange(5); // a remote session's change: nothing
    lifecycle.OnTimer(kGameWatchTimerId);
    lifecycle.OnTimer(kCountdownTimerId);
    lifecycle.OnTimer(kTrayRetryTimerId);
    lifecycle.OnTimer(kSessionRegistrationTimerId); // the window's own timer
    EXPECT_EQ(log, (Log{"connect", "disconnect", "game watch", "countdown", "tray"}));
}

} // namespace
