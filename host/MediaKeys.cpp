#include "MediaKeys.h"

#include "HostConstants.h"
#include "Records.h"
#include "Text.h"

#include <algorithm>

namespace {

constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkSpace = 0x20;
constexpr uint8_t kVkLeft = 0x25;
constexpr uint8_t kVkRight = 0x27;
constexpr uint8_t kVkN = 0x4E;
constexpr uint8_t kVkP = 0x50;
constexpr uint8_t kVkS = 0x53;

// Values are read into 260-byte buffers, window titles likewise.
constexpr size_t kMaxText = 259;

// Shell application commands (APPCOMMAND_MEDIA_*).
constexpr uint32_t kAppCommandNext = 11;
constexpr uint32_t kAppCommandPrevious = 12;
constexpr uint32_t kAppCommandStop = 13;
constexpr uint32_t kAppCommandPlayPause = 14;

// Winamp's own menu command numbers.
constexpr uintptr_t kWinampPrevious = 40044;
constexpr uintptr_t kWinampPlay = 40045;
constexpr uintptr_t kWinampPause = 40046;
constexpr uintptr_t kWinampStop = 40047;
constexpr uintptr_t kWinampNext = 40048;

constexpr const char kVlcWindowClass[] = "QWidget";
// Bounds the walk over the top-level windows should the z-order change under it and loop.
constexpr int kMaxWindowsWalked = 4096;

// Key-down lParam of the keys the players get: repeat count 1, the scan code, and the extended
// flag for the arrows. The key-up form adds the previous-state and transition bits.
uint32_t KeyDownLParam(uint8_t vk)
{
    switch (vk) {
    case kVkControl: return 0x001D0001;
    case kVkLeft: return 0x014B0001;
    case kVkRight: return 0x014D0001;
    case kVkSpace: return 0x00390001;
    case kVkN: return 0x00310001;
    case kVkP: return 0x00190001;
    case kVkS: return 0x001F0001;
    default: return 1;
    }
}
constexpr uint32_t kKeyUpBits = 0xC0000000;

// Outside text as a C program sees it: up to the first zero byte, at most kMaxText characters.
std::string_view CText(std::string_view text)
{
    text = text.substr(0, std::min(text.find('\0'), kMaxText));
    return text;
}

} // namespace

bool ContainsNoCase(std::string_view text, std::string_view word)
{
    if (word.empty())
        return true;
    if (word.size() > text.size())
        return false;
    for (size_t i = 0; i + word.size() <= text.size(); ++i)
        if (EqualNoCase(text.substr(i, word.size()), word))
            return true;
    return false;
}

std::string VlcProgramFromCommand(std::string_view command)
{
    command = CText(command);
    std::string_view path;
    if (!command.empty() && command.front() == '"') {
        std::string_view rest = command.substr(1);
        path = rest.substr(0, rest.find('"'));
    } else {
        path = command.substr(0, command.find("--started"));
    }
    return ContainsNoCase(path, "vlc") ? std::string(path) : std::string();
}

std::string WinampProgramFromCommand(std::string_view command)
{
    command = CText(command);
    std::string_view path = command;
    const size_t quote = command.find('"');
    if (quote == 0) {
        std::string_view rest = command.substr(1);
        path = rest.substr(0, rest.find('"'));
    } else if (quote != std::string_view::npos) {
        // A program path followed by quoted arguments.
        path = Trim(command.substr(0, quote));
    }
    return ContainsNoCase(path, "winamp") ? std::string(path) : std::string();
}

RegistryPath SplitRegistryPath(std::string_view path)
{
    static constexpr struct {
        const char* name;
        RegistryRoot root;
    } kRoots[] = {
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
        {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
    };
    const size_t slash = path.find('\\');
    const std::string_view head = path.substr(0, slash);
    for (const auto& r : kRoots)
        if (EqualNoCase(head, r.name))
            return {r.root, slash == std::string_view::npos ? std::string() : std::string(path.substr(slash + 1))};
    return {RegistryRoot::LocalMachine, std::string(path)};
}

MediaKeys::MediaKeys(DesktopWindows& windows, SystemSettings& settings, ProgramLauncher& launcher, Clock& clock,
                     InputSink& input)
    : m_windows(windows), m_settings(settings), m_launcher(launcher), m_clock(clock), m_input(input)
{
}

void MediaKeys::MediaCommand(uint8_t code, int32_t mediaOption)
{
    const auto function = static_cast<KeyFunction>(code);
    if (code < static_cast<uint8_t>(KeyFunction::OpenPlayer) || code > static_cast<uint8_t>(KeyFunction::StopMedia) ||
        mediaOption < 0 || mediaOption > 3)
        return;
    const auto player = static_cast<MediaPlayer>(mediaOption);
    if (function == KeyFunction::OpenPlayer) {
        OpenPlayer(player);
        return;
    }
    switch (player) {
    case MediaPlayer::WindowsMediaPlayer: WindowsMediaPlayerCommand(code); break;
    case MediaPlayer::ITunes: ITunesCommand(code); break;
    case MediaPlayer::Vlc: VlcCommand(code); break;
    case MediaPlayer::Winamp: WinampCommand(code); break;
    }
}

void MediaKeys::WebKey(uint8_t code)
{
    uint8_t vk = 0;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::WwwSearch: m_launcher.ShellOpen(kSearchPageAddress, ""); return;
    case KeyFunction::WwwHome: vk = 0xAC; break;      // VK_BROWSER_HOME
    case KeyFunction::WwwBack: vk = 0xA6; break;      // VK_BROWSER_BACK
    case KeyFunction::WwwForward: vk = 0xA7; break;   // VK_BROWSER_FORWARD
    case KeyFunction::WwwStop: vk = 0xA9; break;      // VK_BROWSER_STOP
    case KeyFunction::WwwRefresh: vk = 0xA8; break;   // VK_BROWSER_REFRESH
    case KeyFunction::WwwFavorites: vk = 0xAB; break; // VK_BROWSER_FAVORITES
    default: return;
    }
    m_input.SendKey(vk, 0, InputSink::kExtendedKey);
    m_input.SendKey(vk, 0, InputSink::kExtendedKey | InputSink::kKeyUp);
}

void MediaKeys::Wait()
{
    m_clock.SleepMs(kKeyGapMs);
}

void MediaKeys::SendKey(WindowId window, uint32_t message, uint8_t vk)
{
    const uint32_t lParam = KeyDownLParam(vk) | (message == kWmKeyUp ? kKeyUpBits : 0);
    m_windows.SendMessage(window, message, vk, static_cast<intptr_t>(lParam));
}

void MediaKeys::PostKeyPress(WindowId window, uint8_t vk)
{
    m_windows.PostMessage(window, kWmKeyDown, vk, static_cast<intptr_t>(KeyDownLParam(vk)));
    Wait();
    m_windows.PostMessage(window, kWmKeyUp, vk, static_cast<intptr_t>(KeyDownLParam(vk) | kKeyUpBits));
}

void MediaKeys::WindowsMediaPlayerCommand(uint8_t code)
{
    uint32_t command = 0;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::PrevTrack: command = kAppCommandPrevious; break;
    case KeyFunction::NextTrack: command = kAppCommandNext; break;
    case KeyFunction::PlayPause: command = kAppCommandPlayPause; break;
    case KeyFunction::StopMedia: command = kAppCommandStop; break;
    default: return;
    }
    // The hidden window does not handle the command; its default processing hands it to the shell,
    // which delivers it to the media player.
    const WindowId host = m_windows.HostWindow();
    m_windows.PostMessage(host, kWmAppCommand, host, static_cast<intptr_t>(command << 16));
}

void MediaKeys::ITunesCommand(uint8_t code)
{
    const WindowId window = m_windows.FindWindow("iTunes", "iTunes");
    if (window == 0)
        return;
    const auto function = static_cast<KeyFunction>(code);
    if (function == KeyFunction::PrevTrack || function == KeyFunction::NextTrack) {
        const uint8_t arrow = function == KeyFunction::PrevTrack ? kVkLeft : kVkRight;
        SendKey(window, kWmKeyDown, kVkControl);
        Wait();
        SendKey(window, kWmKeyDown, arrow);
        Wait();
        SendKey(window, kWmKeyUp, arrow);
        Wait();
        SendKey(window, kWmKeyUp, kVkControl);
    } else {
        // iTunes has no stop: Space serves both play/pause and stop.
        PostKeyPress(window, kVkSpace);
    }
}

WindowId MediaKeys::FindVlcWindow()
{
    WindowId window = m_windows.FindWindow(kVlcWindowClass, "");
    for (int walked = 0; window != 0 && walked < kMaxWindowsWalked; ++walked) {
        const std::string title = m_windows.WindowTitle(window);
        if (CText(title).find("VLC") != std::string_view::npos &&
            CText(m_windows.WindowClass(window)) == kVlcWindowClass)
            return window;
        window = m_windows.NextWindow(window);
    }
    return 0;
}

void MediaKeys::VlcCommand(uint8_t code)
{
    uint8_t vk = 0;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::PrevTrack: vk = kVkP; break;
    case KeyFunction::NextTrack: vk = kVkN; break;
    case KeyFunction::PlayPause: vk = kVkSpace; break;
    case KeyFunction::StopMedia: vk = kVkS; break;
    default: return;
    }
    const WindowId window = FindVlcWindow();
    if (window == 0)
        return;
    m_windows.SetForeground(window);
    PostKeyPress(window, vk);
}

void MediaKeys::WinampCommand(uint8_t code)
{
    const WindowId window = m_windows.FindWindow("Winamp v1.x", "");
    if (window == 0)
        return;
    uintptr_t command = 0;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::PrevTrack: command = kWinampPrevious; break;
    case KeyFunction::NextTrack: command = kWinampNext; break;
    case KeyFunction::PlayPause: {
        // Only the read thread runs media commands, so load and store need not be one step.
        const bool playing = m_winampPlaying.load();
        m_winampPlaying.store(!playing);
        command = playing ? kWinampPause : kWinampPlay;
        break;
    }
    case KeyFunction::StopMedia: command = kWinampStop; break;
    default: return;
    }
    m_windows.SendMessage(window, kWmCommand, command, 0);
}

std::string MediaKeys::ReadRegistry(const char* key, const char* value)
{
    const std::optional<std::string> text = m_settings.ReadRegistryString(key, value);
    return text ? std::string(CText(*text)) : std::string();
}

void MediaKeys::OpenPlayer(MediaPlayer player)
{
    switch (player) {
    case MediaPlayer::WindowsMediaPlayer: {
        const std::string path = m_settings.ExpandEnvironment(ReadRegistry(kWmpRegistryKey, ""));
        const WindowId running = m_windows.FindWindow("", "Windows Media Player");
        if (running != 0)
            m_windows.ActivateAttached(running);
        else if (!Trim(path).empty())
            m_launcher.Run(path);
        break;
    }
    case MediaPlayer::ITunes: {
        // Started even when it already runs.
        const std::string path = ReadRegistry(kITunesRegistryKey, kITunesRegistryValue);
        if (ContainsNoCase(path, "iTunes"))
            m_launcher.Run(path);
        break;
    }
    case MediaPlayer::Vlc: {
        const std::string path = VlcProgramFromCommand(ReadRegistry(kVlcRegistryKey, ""));
        if (!path.empty())
            m_launcher.Run(path);
        break;
    }
    case MediaPlayer::Winamp: {
        const std::string path = WinampProgramFromCommand(ReadRegistry(kWinampRegistryKey, ""));
        if (!path.empty())
            m_launcher.Run(path);
        break;
    }
    }
}
