#include "Fakes.h"
#include "MediaKeys.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using Lines = std::vector<std::string>;
constexpr int32_t kWmp = 0, kITunes = 1, kVlc = 2, kWinamp = 3;

class MediaKeysTest : public ::testing::Test {
protected:
    // What each window received: "<ms> <send|post> <message> <wParam> <lParam>" in hex.
    Lines Received(WindowId window)
    {
        Lines out;
        char line[80];
        for (const auto& m : desktop.messages)
            if (m.window == window) {
                std::snprintf(line, sizeof line, "%lld %s %X %X %08X", static_cast<long long>(m.timeUs / 1000),
                              m.sent ? "send" : "post", m.message, static_cast<unsigned>(m.wParam),
                              static_cast<uint32_t>(m.lParam));
                out.push_back(line);
            }
        desktop.messages.clear();
        clock.Set(0);
        return out;
    }

    FakeClock clock;
    FakeDesktopWindows desktop{clock};
    FakeSystemSettings settings;
    FakeProgramLauncher launcher;
    RecordingInputSink input{clock};
    MediaKeys keys{desktop, settings, launcher, clock, input};
};

TEST_F(MediaKeysTest, WindowsMediaPlayerGetsAppCommandsThroughTheHostWindow)
{
    desktop.hostWindow = 0x77;
    for (uint8_t code : {33, 34, 35, 36})
        keys.MediaCommand(code, kWmp);
    EXPECT_EQ(Received(0x77), (Lines{"0 post 319 77 000C0000", "0 post 319 77 000B0000", "0 post 319 77 000E0000",
                                     "0 post 319 77 000D0000"}));
}

TEST_F(MediaKeysTest, ITunesGetsCtrlArrowsEvery100MsAndSpaceForPlayPauseAndStop)
{
    keys.MediaCommand(35, kITunes);
    EXPECT_TRUE(desktop.messages.empty()) << "no iTunes window";
    desktop.AddWindow("iTunes", "iTunes Store");
    const WindowId itunes = desktop.AddWindow("iTunes", "iTunes");
    keys.MediaCommand(33, kITunes);
    EXPECT_EQ(Received(itunes), (Lines{"0 send 100 11 001D0001", "100 send 100 25 014B0001", "200 send 101 25 C14B0001",
                                       "300 send 101 11 C01D0001"}));
    keys.MediaCommand(34, kITunes);
    EXPECT_EQ(Received(itunes), (Lines{"0 send 100 11 001D0001", "100 send 100 27 014D0001", "200 send 101 27 C14D0001",
                                       "300 send 101 11 C01D0001"}));
    for (uint8_t code : {35, 36}) {
        keys.MediaCommand(code, kITunes);
        EXPECT_EQ(Received(itunes), (Lines{"0 post 100 20 00390001", "100 post 101 20 C0390001"}));
    }
}

TEST_F(MediaKeysTest, VlcKeysGoToTheFirstQWidgetWindowNamedVlc)
{
    keys.MediaCommand(35, kVlc);
    desktop.AddWindow("QWidget", "Qt Designer");
    desktop.AddWindow("Qt5QWindowIcon", "VLC media player");
    desktop.AddWindow("QWidget", "vlc in lower case");
    const WindowId vlc = desktop.AddWindow("QWidget", "song.mp3 - VLC media player");
    keys.MediaCommand(33, kVlc);
    keys.MediaCommand(34, kVlc);
    keys.MediaCommand(36, kVlc);
    EXPECT_EQ(desktop.foregrounded, (std::vector<WindowId>{vlc, vlc, vlc}));
    EXPECT_EQ(desktop.messages.size(), 6u) << "nothing for the window of the wrong class";
    EXPECT_EQ(Received(vlc),
              (Lines{"0 post 100 50 00190001", "100 post 101 50 C0190001", "100 post 100 4E 00310001",
                     "200 post 101 4E C0310001", "200 post 100 53 001F0001", "300 post 101 53 C01F0001"}));
}

TEST_F(MediaKeysTest, WinampPlayPauseTogglesPerPressAcrossProfilesAndPlayers)
{
    keys.MediaCommand(35, kWinamp); // no Winamp window: nothing sent, nothing toggled
    const WindowId winamp = desktop.AddWindow("Winamp v1.x", "Winamp");
    const std::pair<uint8_t, int32_t> presses[] = {{35, kWinamp}, {35, kWinamp}, {36, kWinamp}, {35, kWinamp},
                                                   {35, kWmp},    {35, kWinamp}, {33, kWinamp}, {34, kWinamp}};
    for (auto [code, option] : presses)
        keys.MediaCommand(code, option);
    EXPECT_EQ(Received(winamp),
              (Lines{"0 send 111 9C6D 00000000", "0 send 111 9C6E 00000000", "0 send 111 9C6F 00000000",
                     "0 send 111 9C6D 00000000", "0 send 111 9C6E 00000000", "0 send 111 9C6C 00000000",
                     "0 send 111 9C70 00000000"}));
}

TEST_F(MediaKeysTest, VolumeCodesAndUnknownPlayersReachNoPlayer)
{
    desktop.AddWindow("iTunes", "iTunes");
    desktop.AddWindow("Winamp v1.x", "Winamp");
    settings.registry[std::string(kITunesRegistryKey) + "|path"] = "C:\\iTunes\\iTunes.exe";
    for (int32_t option : {kWmp, kITunes, kVlc, kWinamp, 4, -1})
        for (uint8_t code : {37, 38, 39, 31, 48})
            keys.MediaCommand(code, option);
    for (uint8_t code : {32, 35})
        keys.MediaCommand(code, 4);
    EXPECT_TRUE(desktop.messages.empty() && launcher.runs.empty() && input.events.empty());
}

TEST_F(MediaKeysTest, OpenStartsTheRegisteredProgramOrActivatesWindowsMediaPlayer)
{
    settings.registry[std::string(kWmpRegistryKey) + "|"] = "%ProgramFiles%\\WMP\\wmplayer.exe";
    settings.environment["ProgramFiles"] = "C:\\Program Files";
    settings.registry[std::string(kITunesRegistryKey) + "|path"] = "C:\\Music\\player.exe";
    keys.MediaCommand(32, kWmp);
    keys.MediaCommand(32, kITunes);
    const WindowId wmp = desktop.AddWindow("WMPlayerApp", "Windows Media Player");
    keys.MediaCommand(32, kWmp);
    EXPECT_EQ(desktop.activatedAttached, std::vector<WindowId>{wmp});
    settings.registry[std::string(kITunesRegistryKey) + "|path"] = "C:\\ITUNES\\itunes.exe";
    settings.registry[std::string(kVlcRegistryKey) + "|"] = "\"C:\\VideoLAN\\vlc.exe\" --started-from-file \"%1\"";
    settings.registry[std::string(kWinampRegistryKey) + "|"] = "\"C:\\Winamp\\winamp.exe\" \"%1\"";
    for (int32_t option : {kITunes, kVlc, kWinamp})
        keys.MediaCommand(32, option);
    settings.registry[std::string(kVlcRegistryKey) + "|"] = "D:\\VLC\\vlc.exe";
    keys.MediaCommand(32, kVlc);
    EXPECT_EQ(launcher.runs, (Lines{"C:\\Program Files\\WMP\\wmplayer.exe", "C:\\ITUNES\\itunes.exe",
                                    "C:\\VideoLAN\\vlc.exe", "C:\\Winamp\\winamp.exe", "D:\\VLC\\vlc.exe"}));
}

TEST(PlayerCommandLine, AnyRegistryTextIsReadSafely)
{
    EXPECT_EQ(VlcProgramFromCommand("C:\\VLC\\vlc.exe --started-from-file %1"), "C:\\VLC\\vlc.exe ");
    EXPECT_EQ(VlcProgramFromCommand("\"C:\\vlc\\vlc.exe"), "C:\\vlc\\vlc.exe") << "unterminated quote";
    EXPECT_EQ(VlcProgramFromCommand("\"C:\\player.exe\" C:\\vlc"), "") << "only the quoted path counts";
    EXPECT_EQ(VlcProgramFromCommand(std::string("C:\\x.exe\0vlc", 12)), "") << "text ends at a zero byte";
    EXPECT_EQ(WinampProgramFromCommand("C:\\Winamp\\winamp.exe \"%1\""), "C:\\Winamp\\winamp.exe");
    EXPECT_EQ(WinampProgramFromCommand("\"C:\\Winamp\\winamp.exe"), "C:\\Winamp\\winamp.exe");
    EXPECT_EQ(WinampProgramFromCommand("\"\"winamp"), "");
    EXPECT_EQ(WinampProgramFromCommand(std::string(300, 'x') + "winamp"), "") << "beyond the 260-byte buffer";
    for (const char* odd : {"", "\"", "--started"}) {
        EXPECT_EQ(VlcProgramFromCommand(odd), "");
        EXPECT_EQ(WinampProgramFromCommand(odd), "");
    }
}

TEST_F(MediaKeysTest, WebKeysOpenTheSearchPageOrPressTheBrowserKeys)
{
    for (uint8_t code = 47; code <= 55; ++code)
        keys.WebKey(code);
    ASSERT_EQ(launcher.shellOpens.size(), 1u);
    EXPECT_EQ(launcher.shellOpens[0].first.rfind("https://", 0), 0u);
    Lines keysSent;
    for (const auto& e : input.events)
        keysSent.push_back(std::to_string(e.vk) + " " + std::to_string(e.scan) + " " + std::to_string(e.flags));
    EXPECT_EQ(keysSent, (Lines{"172 0 1", "172 0 3", "166 0 1", "166 0 3", "167 0 1", "167 0 3", "169 0 1", "169 0 3",
                               "168 0 1", "168 0 3", "171 0 1", "171 0 3"}));
}

TEST(RegistryPath, RootNameBeforeTheFirstBackslashWithoutCaseElseLocalMachine)
{
    const RegistryPath user = SplitRegistryPath("hkey_current_user\\Software\\X");
    EXPECT_TRUE(user.root == RegistryRoot::CurrentUser && user.subkey == "Software\\X");
    EXPECT_EQ(SplitRegistryPath("HKEY_CLASSES_ROOT\\.mp3").root, RegistryRoot::ClassesRoot);
    EXPECT_EQ(SplitRegistryPath("Hkey_Current_Config\\System").root, RegistryRoot::CurrentConfig);
    EXPECT_EQ(SplitRegistryPath("HKEY_LOCAL_MACHINE\\SOFTWARE").subkey, "SOFTWARE");
    for (const char* plain : {"SOFTWARE\\x", "HKEY_USERS\\S-1", "HKCU\\Software", "Software\\HKEY_CURRENT_USER"}) {
        const RegistryPath p = SplitRegistryPath(plain);
        EXPECT_TRUE(p.root == RegistryRoot::LocalMachine && p.subkey == plain) << plain;
    }
}

} // namespace
