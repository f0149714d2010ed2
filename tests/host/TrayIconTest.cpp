#include "Fakes.h"
#include "TrayIcon.h"

#include <gtest/gtest.h>

namespace {

struct TrayIconTest : ::testing::Test {
    FakeNotificationArea taskbar;
    FakeWindowTimers timers;
    TrayIcon tray{taskbar, timers};

    // What the window's timer does while it is set.
    void TimerFires(int times)
    {
        for (int i = 0; i < times; ++i)
            if (timers.IsSet(kTrayRetryTimerId))
                tray.OnRetryTimer();
    }
};

TEST_F(TrayIconTest, MenuAndMouseActions)
{
    const std::vector<MenuItem> menu = TrayMenu().items;
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_TRUE(menu[0].text == "Configuration" && menu[0].id == 6001 && menu[0].isDefault);
    EXPECT_EQ(menu[1].type, MenuItemType::Separator);
    EXPECT_TRUE(menu[2].text == "Exit" && menu[2].id == 6002 && !menu[2].isDefault);
    EXPECT_EQ(TrayActionFor(0x201), TrayAction::ActivatePopup);
    EXPECT_EQ(TrayActionFor(0x203), TrayAction::ShowConfig);
    EXPECT_EQ(TrayActionFor(0x204), TrayAction::ShowMenu);
    EXPECT_EQ(TrayActionFor(0x202), TrayAction::None);
}

TEST_F(TrayIconTest, ExactlyOneIconAfterRemovalAndReArrival)
{
    tray.Remove(); // shut-down before the keyboard ever arrived
    tray.Add();
    tray.Add(); // another open sequence, e.g. a session reconnect
    EXPECT_EQ(taskbar.trayAdds, 1);
    tray.Remove();
    tray.Remove(); // shut-down after removal
    tray.Add();
    EXPECT_TRUE(tray.Shown());
    EXPECT_TRUE(taskbar.holdsIcon);
    EXPECT_EQ(taskbar.trayAdds, 2);
    EXPECT_EQ(taskbar.trayRemoves, 1);
    EXPECT_TRUE(timers.log.empty()) << "a taken icon needs no retries";
}

TEST_F(TrayIconTest, AnIconTheTaskbarRefusedIsTriedAgainUntilItIsTaken)
{
    taskbar.taskbarRuns = false; // log-on: the taskbar does not run yet
    tray.Add();
    EXPECT_FALSE(tray.Shown()) << "an icon the taskbar refused is not shown";
    EXPECT_TRUE(timers.IsSet(kTrayRetryTimerId));
    tray.Add(); // another open sequence meanwhile: still the one timer
    TimerFires(3);
    EXPECT_FALSE(tray.Shown());
    EXPECT_EQ(timers.log.size(), 1u) << "the timer is set once, not at every try";

    taskbar.RestartTaskbar();
    TimerFires(1);
    EXPECT_TRUE(tray.Shown());
    EXPECT_TRUE(taskbar.holdsIcon);
    EXPECT_FALSE(timers.IsSet(kTrayRetryTimerId)) << "retries end once the icon is shown";
    const int tries = taskbar.trayAddTries;
    TimerFires(2);
    EXPECT_EQ(taskbar.trayAddTries, tries);
}

TEST_F(TrayIconTest, RemovalEndsTheRetriesAndALateTickAddsNothing)
{
    taskbar.taskbarRuns = false;
    tray.Add();
    tray.Remove(); // the keyboard went before the taskbar came
    EXPECT_FALSE(timers.IsSet(kTrayRetryTimerId));
    taskbar.RestartTaskbar();
    tray.OnRetryTimer(); // a tick already queued when the timer was killed
    EXPECT_FALSE(taskbar.holdsIcon);
    EXPECT_EQ(taskbar.trayRemoves, 0) << "no icon was shown, none is removed";
}

TEST_F(TrayIconTest, ARestartedTaskbarGetsTheIconAgain)
{
    tray.Add();
    taskbar.RestartTaskbar(); // Explorer restarted: the icon is gone
    tray.OnTaskbarCreated();
    EXPECT_TRUE(taskbar.holdsIcon);
    EXPECT_TRUE(tray.Shown());
    EXPECT_EQ(taskbar.trayAdds, 2);

    // A new taskbar that is not ready yet is retried like one at log-on.
    taskbar.taskbarRuns = false;
    taskbar.holdsIcon = false;
    tray.OnTaskbarCreated();
    EXPECT_FALSE(tray.Shown());
    taskbar.RestartTaskbar();
    TimerFires(1);
    EXPECT_TRUE(taskbar.holdsIcon);

    // Without the keyboard there is no icon to bring back.
    tray.Remove();
    taskbar.RestartTaskbar();
    tray.OnTaskbarCreated();
    EXPECT_FALSE(taskbar.holdsIcon);
    EXPECT_FALSE(tray.Shown());
}

} // namespace
