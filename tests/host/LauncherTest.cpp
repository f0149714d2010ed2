#include "Fakes.h"
#include "FileSystem.h"
#include "HostConstants.h"
#include "Launcher.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(FirmwareCheck, UpdaterArgumentFromKeyboardAndPackagedVersions)
{
    EXPECT_EQ(UpdaterArgument(true, 501, 501), 2);
    EXPECT_EQ(UpdaterArgument(true, 120, 118), 0);
    EXPECT_EQ(UpdaterArgument(true, 120, 120), std::nullopt);
    EXPECT_EQ(UpdaterArgument(true, 120, 130), 1);
    EXPECT_EQ(UpdaterArgument(true, 500, -1), 1) << "a missing packaged version counts as the newest";
    EXPECT_EQ(UpdaterArgument(false, 120, 130), std::nullopt);
    EXPECT_EQ(UpdaterArgument(true, 0, 130), std::nullopt);

    TempFolder folder;
    EXPECT_EQ(ReadPackagedFirmwareVersion(folder.Path()), -1);
    ASSERT_TRUE(EnsureFolder(folder / "FWUpdate"));
    WriteBytes(folder / "FWUpdate\\config.ini", "[Firmware]\r\ncurVersion=118\r\n");
    EXPECT_EQ(ReadPackagedFirmwareVersion(folder.Path()), 118);
}

TEST(Launcher, ProgramsStartFromTheProgramFolderAndAConfigWindowIsReused)
{
    FakeClock clock;
    FakeDesktop desktop{clock};
    StartUpdater(desktop, "C:\\Tolk\\", 2);
    StartOsd(desktop, "C:\\Tolk\\");
    ShowConfigProgram(desktop, "C:\\Tolk\\");
    const WindowId config = desktop.AddWindow("TolkCfg", kConfigWindowTitle);
    ShowConfigProgram(desktop, "C:\\Tolk\\"); // e.g. minimised: restored, not started again
    EXPECT_EQ(desktop.shellOpens, (std::vector<std::pair<std::string, std::string>>{
                                      {"C:\\Tolk\\FWUpdate\\TolkUpdate.exe", "2"},
                                      {"C:\\Tolk\\osd.exe", ""},
                                      {"C:\\Tolk\\TolkCfg.exe", ""}}));
    EXPECT_EQ(desktop.restored, std::vector<WindowId>{config});
}

TEST(TrayIcon, MenuMouseActionsAndExactlyOneIconAfterRemovalAndReArrival)
{
    EXPECT_TRUE(kTrayMenu[0].id == 6001 && kTrayMenu[0].isDefault && kTrayMenu[1].separator &&
                kTrayMenu[2].id == 6002 && !kTrayMenu[2].isDefault);
    EXPECT_EQ(TrayActionFor(0x201), TrayAction::ActivatePopup);
    EXPECT_EQ(TrayActionFor(0x203), TrayAction::ShowConfig);
    EXPECT_EQ(TrayActionFor(0x204), TrayAction::ShowMenu);
    EXPECT_EQ(TrayActionFor(0x202), TrayAction::None);

    FakeClock clock;
    FakeDesktop desktop{clock};
    TrayIcon tray{desktop};
    tray.Remove(); // shut-down before the keyboard ever arrived
    tray.Add();
    tray.Add(); // another open sequence, e.g. a session reconnect
    EXPECT_EQ(desktop.trayAdds, 1);
    tray.Remove();
    tray.Remove(); // shut-down after removal
    tray.Add();
    EXPECT_TRUE(tray.Shown());
    EXPECT_EQ(desktop.trayAdds, 2);
    EXPECT_EQ(desktop.trayRemoves, 1);
}

} // namespace
