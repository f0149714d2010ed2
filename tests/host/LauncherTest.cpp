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
    FakeDesktopWindows desktop{clock};
    FakeProgramLauncher launcher;
    StartUpdater(launcher, "C:\\Tolk\\", 2);
    StartOsd(launcher, "C:\\Tolk\\");
    ShowConfigProgram(desktop, launcher, "C:\\Tolk\\");
    const WindowId config = desktop.AddWindow("TolkCfg", kConfigWindowTitle);
    ShowConfigProgram(desktop, launcher, "C:\\Tolk\\"); // e.g. minimised: restored, not started again
    EXPECT_EQ(launcher.shellOpens,
              (std::vector<std::pair<std::string, std::string>>{{"C:\\Tolk\\FWUpdate\\TolkUpdate.exe", "2"},
                                                                {"C:\\Tolk\\osd.exe", ""},
                                                                {"C:\\Tolk\\TolkCfg.exe", ""}}));
    EXPECT_EQ(desktop.restored, std::vector<WindowId>{config});
}

} // namespace
