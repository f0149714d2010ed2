#include "WorkAhead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

TEST(WorkAhead, TakeRunsWorkNobodyStartedAndHandsEachResultOutOnce)
{
    WorkAhead<std::string> ahead;
    int runs = 0;
    ahead.Add("main.jpg", [&runs] {
        ++runs;
        return std::string("main");
    });
    ahead.Add("main.jpg", [] { return std::string("second"); });

    EXPECT_EQ(std::optional<std::string>("main"), ahead.Take("main.jpg"));
    EXPECT_EQ(std::nullopt, ahead.Take("main.jpg"));
    EXPECT_EQ(std::nullopt, ahead.Take("never.jpg"));
    ahead.RunAll();
    EXPECT_EQ(1, runs);
}

TEST(WorkAhead, TakerDoesNotWaitBehindWorkRunningElsewhereAndWaitsForItsOwn)
{
    WorkAhead<std::thread::id> ahead;
    std::promise<void> started;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ahead.Add("slow", [&started, released] {
        started.set_value();
        released.wait();
        return std::this_thread::get_id();
    });
    ahead.Add("queued", [] { return std::this_thread::get_id(); });

    std::thread background([&ahead] { ahead.RunAll(); });
    started.get_future().wait();
    // "slow" runs in the background: "queued" is done here rather than waited for.
    EXPECT_EQ(std::this_thread::get_id(), ahead.Take("queued"));
    release.set_value();
    // "slow" is waited for and comes from the thread that ran it.
    EXPECT_EQ(background.get_id(), ahead.Take("slow"));
    background.join();
}

TEST(WorkAhead, EveryItemRunsOnceWhateverThreadsRunAndTake)
{
    WorkAhead<int> ahead;
    std::atomic<int> runs[40] = {};
    for (int i = 0; i < 40; ++i)
        ahead.Add(std::to_string(i), [&runs, i] {
            runs[i].fetch_add(1);
            return i;
        });
    std::thread first([&ahead] { ahead.RunAll(); });
    std::thread second([&ahead] { ahead.RunAll(); });
    int taken = 0;
    for (int i = 39; i >= 0; --i)
        if (ahead.Take(std::to_string(i)) == std::optional<int>(i))
            ++taken;
    first.join();
    second.join();
    EXPECT_EQ(40, taken);
    for (const auto& count : runs)
        EXPECT_EQ(1, count.load());
}
