#include "Fakes.h"
#include "HostConstants.h"
#include "SessionRegistration.h"

#include <gtest/gtest.h>

namespace {

// A system that refuses the registration a number of times, then takes it.
struct SessionRegistrationTest : ::testing::Test {
    FakeWindowTimers timers;
    int refusals = 0;
    int calls = 0;
    SessionRegistration registration{timers, [this] { return ++calls > refusals; }};
};

TEST_F(SessionRegistrationTest, ATakenFirstTryNeedsNoTimer)
{
    registration.Start();
    EXPECT_TRUE(registration.Registered());
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(timers.log.empty()) << "the window never waits and sets no timer";
}

TEST_F(SessionRegistrationTest, ARefusedTryIsMadeAgainOnEachTimerUntilTaken)
{
    refusals = 3;
    registration.Start();
    EXPECT_FALSE(registration.Registered());
    ASSERT_TRUE(timers.IsSet(kSessionRegistrationTimerId));
    EXPECT_EQ(timers.active[kSessionRegistrationTimerId], 1000u);
    registration.OnRetryTimer();
    registration.OnRetryTimer();
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(timers.IsSet(kSessionRegistrationTimerId));
    registration.OnRetryTimer();
    EXPECT_TRUE(registration.Registered());
    EXPECT_FALSE(timers.IsSet(kSessionRegistrationTimerId));
    EXPECT_EQ(timers.log, (std::vector<std::string>{"set 800 1000", "kill 800"})) << "set once, killed once";

    registration.OnRetryTimer(); // a tick already queued when the timer stopped
    EXPECT_EQ(calls, 4) << "no try after the registration was taken";
}

TEST_F(SessionRegistrationTest, TenRefusalsEndTheTriesAndTheTimer)
{
    refusals = 100;
    registration.Start();
    for (int tick = 0; tick < 20; ++tick)
        registration.OnRetryTimer();
    EXPECT_EQ(calls, SessionRegistration::kTries);
    EXPECT_EQ(SessionRegistration::kTries, 10);
    EXPECT_FALSE(registration.Registered());
    EXPECT_FALSE(timers.IsSet(kSessionRegistrationTimerId));
}

TEST_F(SessionRegistrationTest, StoppingEndsTheTries)
{
    refusals = 100;
    registration.Start();
    registration.Stop();
    EXPECT_FALSE(timers.IsSet(kSessionRegistrationTimerId));
    registration.OnRetryTimer();
    EXPECT_EQ(calls, 1);
}

} // namespace
