// Writes of one data file from two threads of one program, as the host's window thread and read
// thread make them: no thread's key is lost to the other's write.
#include "IniFile.h"
#include "ProfileStore.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace {

constexpr int kWritesPerThread = 60;

// Runs a(i) and b(i) for i = 0..count-1 on two threads that start together.
template <class A, class B>
void RunTogether(A a, B b, int count = kWritesPerThread)
{
    std::atomic<int> ready{0};
    auto run = [&ready, count](auto f) {
        ready.fetch_add(1);
        while (ready.load() < 2) {
        }
        for (int i = 0; i < count; ++i)
            f(i);
    };
    std::thread first(run, a);
    std::thread second(run, b);
    first.join();
    second.join();
}

TEST(DataFileWrites, KeysWrittenByTwoThreadsAtOnceAreAllKept)
{
    TempFolder folder;
    const IniFile config(folder / "config.ini");
    std::atomic<int> failures{0};
    auto writer = [&](const char* prefix) {
        return [&, prefix](int i) {
            if (!config.WriteInt("Setting", prefix + std::to_string(i), i))
                failures.fetch_add(1);
        };
    };
    RunTogether(writer("Window"), writer("Read"));

    EXPECT_EQ(failures.load(), 0);
    const IniDocument doc = config.Load();
    int lost = 0;
    for (int i = 0; i < kWritesPerThread; ++i)
        for (const char* prefix : {"Window", "Read"})
            lost += doc.ReadInt("Setting", prefix + std::to_string(i), -1) != i;
    EXPECT_EQ(lost, 0) << "keys of one thread reverted by the other's write";
}

TEST(DataFileWrites, ASaveOfTheProfileSetRevertsNoKeyWrittenMeanwhile)
{
    TempFolder folder;
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->CurrentProfile = 4;
    // The read thread saves the set (arrival, reset) while the window's thread records single keys
    // (the device state at start-up, the firmware version).
    constexpr int kWrites = 30;
    const IniFile config(folder / "config.ini");
    RunTogether([&](int) { SaveProfileSet(*set, folder.Path()); },
                [&](int i) { config.WriteInt("Setting", "Key" + std::to_string(i), i); }, kWrites);

    const IniDocument doc = config.Load();
    int lost = 0;
    for (int i = 0; i < kWrites; ++i)
        lost += doc.ReadInt("Setting", "Key" + std::to_string(i), -1) != i;
    EXPECT_EQ(lost, 0) << "keys reverted by a save of the profile set";
    EXPECT_EQ(doc.ReadInt("Setting", "CurrentProfile", -1), 4);
}

} // namespace
