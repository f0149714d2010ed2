// Media player keys (functions OpenPlayer..StopMedia) for the player a profile chooses, and web
// keys (WwwSearch..WwwFavorites). Everything here runs on the read thread on key press; the waits between key messages
// hold up further device events, as they must to keep the players' key sequences apart.
#pragma once

#include "Ports.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

// MediaOption of a profile.
enum class MediaPlayer : int32_t { WindowsMediaPlayer = 0, ITunes = 1, Vlc = 2, Winamp = 3 };

// The page the search web key opens.
constexpr const char kSearchPageAddress[] = "https://duckduckgo.com/";

// Where each player's program is registered (under HKEY_LOCAL_MACHINE) and the value to read; an
// empty value name is the key's default value.
constexpr const char kWmpRegistryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";
constexpr const char kITunesRegistryKey[] = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr const char kITunesRegistryValue[] = "path";
constexpr const char kVlcRegistryKey[] = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command";
constexpr const char kWinampRegistryKey[] = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";

class MediaKeys {
public:
    static constexpr int64_t kKeyGapMs = 100;

    MediaKeys(DesktopWindows& windows, SystemSettings& settings, ProgramLauncher& launcher, Clock& clock,
              InputSink& input);

    // A KeyFunction from OpenPlayer to StopMedia for the player mediaOption (0..3); any other code or
    // option does nothing.
    void MediaCommand(uint8_t code, int32_t mediaOption);
    // WwwSearch opens the search page, WwwHome..WwwFavorites are the system's browser keys; other
    // codes do nothing.
    void WebKey(uint8_t code);

    // The host's belief that Winamp plays: flipped by every play/pause that reaches Winamp, whatever
    // Winamp really does, and shared by all profiles.
    bool WinampPlaying() const { return m_winampPlaying.load(); }

private:
    void WindowsMediaPlayerCommand(uint8_t code);
    void ITunesCommand(uint8_t code);
    void VlcCommand(uint8_t code);
    void WinampCommand(uint8_t code);
    void OpenPlayer(MediaPlayer player);

    // Key down, wait, key up: what a quick press of vk looks like to the player's window.
    void PostKeyPress(WindowId window, uint8_t vk);
    void SendKey(WindowId window, uint32_t message, uint8_t vk);
    void Wait();
    WindowId FindVlcWindow();
    std::string ReadRegistry(const char* key, const char* value);

    DesktopWindows& m_windows;
    SystemSettings& m_settings;
    ProgramLauncher& m_launcher;
    Clock& m_clock;
    InputSink& m_input;
    std::atomic<bool> m_winampPlaying{false};
};

// The program a player's registered command line starts, or empty when the text names no such
// program. Registry text is outside input: any content is accepted.
std::string VlcProgramFromCommand(std::string_view command);
std::string WinampProgramFromCommand(std::string_view command);

// True when text contains word without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view word);

// Root key of a registry path.
enum class RegistryRoot { LocalMachine, CurrentUser, CurrentConfig, ClassesRoot };

struct RegistryPath {
    RegistryRoot root;
    std::string subkey;
};

// "HKEY_CURRENT_USER\Software\X" gives the current user's root and "Software\X". The root name is
// the text before the first backslash (or the whole path), compared without case; a path that does
// not start with one of the four root names lies under HKEY_LOCAL_MACHINE whole.
RegistryPath SplitRegistryPath(std::string_view path);
