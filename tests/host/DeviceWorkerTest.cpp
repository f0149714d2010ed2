#include "DeviceWorker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// A push that records which version of the host's set it saw, and can be held inside the driver
// until the test lets it go.
struct RecordingPush {
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<int> setVersion{0}; // the version an apply has just taken over
    std::vector<int> seen;          // the version each push started with
    bool holding = false;
    bool inside = false;
    std::function<void()> during; // runs inside the next push, on its thread

    void operator()()
    {
        std::unique_lock<std::mutex> lock(mutex);
        seen.push_back(setVersion.load());
        inside = true;
        changed.notify_all();
        changed.wait(lock, [this] { return !holding; });
        inside = false;
        std::function<void()> f = std::move(during);
        during = nullptr;
        lock.unlock();
        if (f)
            f();
    }
    void Hold()
    {
        std::lock_guard<std::mutex> lock(mutex);
        holding = true;
    }
    void WaitInside()
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return inside; });
    }
    void Release()
    {
        std::lock_guard<std::mutex> lock(mutex);
        holding = false;
        changed.notify_all();
    }
    std::vector<int> Seen()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return seen;
    }
};

TEST(DeviceWorker, OnePushWaitsBehindTheRunningOneForAnyNumberOfRequests)
{
    RecordingPush push;
    DeviceWorker worker([&] { push(); });
    EXPECT_FALSE(worker.RunPending()) << "nothing asked";
    EXPECT_FALSE(worker.Busy());

    push.setVersion = 1;
    EXPECT_TRUE(worker.Request());
    EXPECT_TRUE(worker.Request());
    EXPECT_TRUE(worker.Busy());
    EXPECT_TRUE(worker.RunPending());
    EXPECT_FALSE(worker.RunPending()) << "two requests before a push starts make one push";

    // Requests during a push: not lost, and the next push sees the newest set.
    push.setVersion = 2;
    worker.Request();
    push.during = [&] {
        for (int v = 3; v <= 5; ++v) {
            push.setVersion = v;
            EXPECT_TRUE(worker.Request());
        }
    };
    EXPECT_TRUE(worker.RunPending());
    EXPECT_TRUE(worker.Busy());
    EXPECT_TRUE(worker.RunPending());
    EXPECT_FALSE(worker.RunPending());
    EXPECT_EQ(push.Seen(), (std::vector<int>{1, 2, 5}));

    EXPECT_TRUE(worker.End(0)) << "no thread: nothing to wait for";
    EXPECT_FALSE(worker.Request()) << "no push once the end has begun";
    EXPECT_FALSE(worker.Busy());
}

TEST(DeviceWorker, OnItsThreadTheCallerNeverWaitsForAPushAndTheEndFinishesWhatWasAsked)
{
    RecordingPush push;
    DeviceWorker worker([&] { push(); });
    worker.Start();

    push.Hold();
    push.setVersion = 1;
    worker.Request();
    push.WaitInside();
    for (int v = 2; v <= 4; ++v) {
        push.setVersion = v;
        EXPECT_TRUE(worker.Request()) << "answered while the push is held in the driver";
    }
    EXPECT_TRUE(worker.Busy());
    EXPECT_FALSE(worker.End(0)) << "the held push keeps the thread";
    EXPECT_FALSE(worker.Request());
    push.Release();
    EXPECT_TRUE(worker.End(60000));
    EXPECT_EQ(push.Seen(), (std::vector<int>{1, 4})) << "the waiting push ran before the thread left";
    EXPECT_FALSE(worker.Busy());
}

TEST(DeviceWorker, PushesFromManyCallersRunOneAtATime)
{
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> pushes{0};
    DeviceWorker worker([&] {
        if (running.fetch_add(1) != 0)
            ++overlaps;
        ++pushes;
        running.fetch_sub(1);
    });
    worker.Start();
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t)
        callers.emplace_back([&] {
            for (int i = 0; i < 200; ++i)
                worker.Request();
        });
    for (std::thread& t : callers)
        t.join();
    worker.WaitUntilIdle();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_GE(pushes.load(), 1);
    EXPECT_LE(pushes.load(), 800);
    const int before = pushes.load();
    worker.Request();
    worker.WaitUntilIdle();
    EXPECT_EQ(pushes.load(), before + 1) << "a request after the others still makes its own push";
}

} // namespace
