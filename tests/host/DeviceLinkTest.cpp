#include "DeviceLink.h"
#include "Fakes.h"
#include "KeyboardModel.h"
#include "ProfileStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The link alone, with the simulated keyboard as its driver, in virtual time.
struct DeviceLinkTest : ::testing::Test {
    FakeClock clock;
    KeyboardModel keyboard{&clock};
    DeviceLink link{keyboard, clock, 0x1234};

    size_t Calls(uint32_t code)
    {
        size_t n = 0;
        for (const auto& c : keyboard.CallLog())
            n += c.code == code;
        return n;
    }
};

TEST_F(DeviceLinkTest, OpenRegistersTheSemaphoreAndARefusedRegistrationClosesAgain)
{
    ASSERT_TRUE(link.Open());
    EXPECT_EQ(keyboard.RegisteredHandle(), 0x1234u);
    EXPECT_TRUE(link.IsOpen());

    link.Close();
    EXPECT_FALSE(keyboard.IsOpen());
    EXPECT_FALSE(keyboard.RegisteredHandle());
    EXPECT_FALSE(link.IsOpen());

    keyboard.SetFailing(IOCTL_FLT_REGISTER_EVENT, true);
    EXPECT_FALSE(link.Open());
    EXPECT_FALSE(keyboard.IsOpen()) << "a refused register call closes the handle again";
    EXPECT_FALSE(link.IsOpen());
}

TEST_F(DeviceLinkTest, WhileClosedNoTransferReachesTheDriver)
{
    keyboard.QueueRaw(0xF0000000);
    RequestBuffer buf{};
    EXPECT_FALSE(link.Control(IOCTL_FLT_GET_MODE, buf.data()));
    EXPECT_FALSE(link.ReadEvent());
    EXPECT_FALSE(link.ReadFirmwareVersion());
    EXPECT_FALSE(link.SetProfile(2));
    EXPECT_TRUE(keyboard.CallLog().empty());

    ASSERT_TRUE(link.Open());
    EXPECT_EQ(link.ReadEvent(), 0xF0000000u);
    EXPECT_EQ(link.ReadFirmwareVersion(), KeyboardModel::kDefaultFirmware);
    const size_t calls = keyboard.CallLog().size();
    EXPECT_FALSE(link.Control(0x222FFC, buf.data()));
    EXPECT_EQ(keyboard.CallLog().size(), calls) << "a code the driver does not know is never sent";
}

TEST_F(DeviceLinkTest, AFirstPushWritesEverythingAndPullKeepsItsCallOrderAndPacing)
{
    ASSERT_TRUE(link.Open());
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->CurrentProfile = 3;
    keyboard.ClearCallLog();
    int64_t start = clock.NowMs();
    // Nothing read yet: the keyboard's memory is unknown and every part is written, 100 ms apart.
    EXPECT_EQ(link.Push(*set), 28);
    auto log = keyboard.CallLog();
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_SET_PROFILE);
    EXPECT_EQ(log[1].code, IOCTL_FLT_SET_MODE);
    for (int i = 0; i < 25; ++i) {
        EXPECT_EQ(log[2 + i].code, IOCTL_FLT_SET_KEY);
        EXPECT_EQ(log[2 + i].request[1], i / 5 + 1);
        EXPECT_EQ(log[2 + i].request[2], i % 5 + 1);
    }
    EXPECT_EQ(log[27].code, IOCTL_FLT_SET_KEY_SWITCH);
    // 100 ms apart, and 200 ms after the last key of each profile: 3.2 s in all.
    for (size_t i = 1; i < log.size(); ++i) {
        const bool afterProfile = i >= 3 && (i - 2) % 5 == 0;
        EXPECT_EQ(log[i].timeMs - log[i - 1].timeMs, afterProfile ? 200 : 100) << i;
    }
    EXPECT_EQ(log[27].timeMs - start, 3200);

    GuardedProfileSet pulled;
    keyboard.ClearCallLog();
    start = clock.NowMs();
    EXPECT_TRUE(link.PullInto(pulled));
    log = keyboard.CallLog();
    ASSERT_EQ(log.size(), 28u);
    EXPECT_EQ(log[0].code, IOCTL_FLT_GET_PROFILE);
    EXPECT_EQ(log[0].timeMs - start, 100) << "the pull's first read keeps its distance from the push";
    EXPECT_EQ(log[1].code, IOCTL_FLT_GET_MODE);
    EXPECT_EQ(log[1].timeMs - log[0].timeMs, 100);
    EXPECT_EQ(log[2].code, IOCTL_FLT_GET_KEY);
    EXPECT_EQ(log[27].code, IOCTL_FLT_GET_KEY_SWITCH);
    EXPECT_EQ(clock.NowMs() - start, 3300);
    EXPECT_EQ(pulled.CurrentProfile(), 3);
}

TEST_F(DeviceLinkTest, AFailedKeyReadSkipsTheRestOfThatProfileAndAFailedModeReadIsTold)
{
    ASSERT_TRUE(link.Open());
    GuardedProfileSet profiles;
    keyboard.SetFailing(IOCTL_FLT_GET_MODE, true);
    EXPECT_FALSE(link.PullInto(profiles));

    keyboard.SetFailing(IOCTL_FLT_GET_MODE, false);
    keyboard.SetFailing(IOCTL_FLT_GET_KEY, true);
    keyboard.ClearCallLog();
    EXPECT_TRUE(link.PullInto(profiles));
    EXPECT_EQ(Calls(IOCTL_FLT_GET_KEY), 5u) << "one failed try per profile";
}

} // namespace
