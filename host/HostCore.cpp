#include "HostCore.h"

#include "DeviceProtocol.h"
#include "GameWatch.h"
#include "HostConstants.h"
#include "KeyDispatch.h"
#include "Log.h"
#include "ProfileStore.h"

#include <memory>
#include <optional>

namespace {

constexpr uint8_t kVkNumLock = 0x90;

} // namespace

HostCore::HostCore(HostPorts ports, HostState& state, uint32_t eventHandleValue)
    : m_ports(ports), m_state(state), m_link(ports.driver, ports.clock, eventHandleValue),
      m_player(ports.clock, ports.input, ports.layout), m_countdown(ports.timers, ports.sound, state.programFolder),
      m_media(ports.windows, ports.settings, ports.launcher, ports.clock, ports.input),
      m_tray(ports.tray, ports.timers), m_lifecycle(*this, ports.clock), m_deviceWorker([this] { PushToDevice(); })
{
}

bool HostCore::OpenDevice()
{
    if (!m_link.Open())
        return false;
    m_ports.timers.Set(kGameWatchTimerId, kGameWatchPeriodMs);
    m_state.deviceConnected = true;
    return true;
}

void HostCore::CloseDevice()
{
    m_link.Close();
    m_state.deviceConnected = false;
}

void HostCore::ShareSet()
{
    m_ports.shared.Write(m_state.profiles.Copy());
}

void HostCore::PostToConfig(uint32_t message)
{
    if (WindowId w = m_ports.windows.FindWindow("", kConfigWindowTitle))
        m_ports.windows.PostMessage(w, message, 0, 0);
}

bool HostCore::PullAllFromDevice()
{
    WriteFirmwareVersion(m_link.ReadFirmwareVersion().value_or(0), m_state.programFolder);
    const bool modeOk = m_link.PullInto(m_state.profiles);
    if (modeOk) {
        ProfileSet copy = m_state.profiles.Copy();
        SaveProfileSet(copy, m_state.programFolder);
        m_ports.shared.Write(copy);
    }
    return modeOk;
}

void HostCore::PushToDevice()
{
    if (!m_link.IsOpen())
        return;
    const int transfers = m_link.Push(m_state.profiles.Copy());
    SyncNumLock();
    LogDebug("TolkHid: push done, %d transfers\n", transfers);
}

void HostCore::RequestPush()
{
    m_deviceWorker.Request();
}

void HostCore::CheckFirmware()
{
    std::optional<uint16_t> version = m_link.ReadFirmwareVersion();
    WriteFirmwareVersion(version.value_or(0), m_state.programFolder);
    std::optional<int> argument =
        UpdaterArgument(version.has_value(), version.value_or(0), ReadPackagedFirmwareVersion(m_state.programFolder));
    if (argument) {
        StartUpdater(m_ports.launcher, m_state.programFolder, *argument);
        m_state.openConfigAtStart = false; // no configuration program while an update runs
    }
}

void HostCore::LoadAndShareProfileSet()
{
    auto set = std::make_unique<ProfileSet>();
    ClearProfileSet(*set);
    LoadProfileSet(*set, m_state.programFolder);
    m_state.profiles.Replace(*set);
    ShareSet();
}

void HostCore::ReadyDevice()
{
    CheckFirmware();
    PullAllFromDevice();
    SyncNumLock();
    PostToConfig(WM_CFG_DEVICE_READY);
    m_tray.Add();
}

void HostCore::OpenSequence()
{
    ReadyDevice();
    WriteDeviceState(true, m_state.programFolder);
}

void HostCore::StartUp()
{
    const bool opened = OpenDevice();
    if (opened) {
        ReadyDevice();
        if (m_state.openConfigAtStart)
            ShowConfigProgram(m_ports.windows, m_ports.launcher, m_state.programFolder);
    }
    WriteDeviceState(opened, m_state.programFolder);
}

bool HostCore::OnDeviceChange()
{
    if (!m_link.IsOpen() && OpenDevice())
        OpenSequence();
    return true;
}

void HostCore::ConnectSession()
{
    // A connect while the device is still open would open it a second time.
    if (!m_link.IsOpen() && OpenDevice())
        OpenSequence();
}

void HostCore::DisconnectSession()
{
    WriteDeviceState(false, m_state.programFolder);
    CloseDevice();
}

void HostCore::OnHostApply()
{
    auto incoming = std::make_unique<ProfileSet>();
    // The block's read made the set safe; a set that names no slot keeps the host's own.
    if (m_ports.shared.Read(*incoming)) {
        if (!IsValidSlot(incoming->CurrentProfile))
            incoming->CurrentProfile = m_state.profiles.CurrentProfile();
        m_state.profiles.Replace(*incoming);
    }
    RequestPush();
}

void HostCore::OnGameWatchTimer()
{
    CheckForegroundGame(m_ports.foreground, m_state.profiles, [this](int p) { SetCurrentProfile(p); });
}

void HostCore::OnCountdownTimer()
{
    m_countdown.CountdownTick();
}

void HostCore::OnTrayRetryTimer()
{
    m_tray.OnRetryTimer();
}

bool HostCore::ReadAndHandleEvent()
{
    std::optional<uint32_t> word = m_link.ReadEvent();
    if (!word)
        return false;
    LogDebug("TolkHid: event 0x%08x from the keyboard\n", *word);
    OnDeviceEvent(*word);
    return true;
}

void HostCore::OnDeviceEvent(uint32_t word)
{
    DeviceEvent event = DeviceEvent::FromWord(word);
    switch (ClassifyDeviceEvent(event)) {
    case DeviceEventKind::Key:
        if (!m_state.quit)
            DispatchKey(event.value);
        break;
    case DeviceEventKind::ModeNumLockOn:
        m_link.ForgetMode();
        SetMode(KeyboardMode::NumLockOn);
        break;
    case DeviceEventKind::ModeNumLockOff:
        m_link.ForgetMode();
        SetMode(KeyboardMode::NumLockOff);
        break;
    case DeviceEventKind::Arrival:
        if (!m_state.deviceConnected) {
            m_state.deviceConnected = true;
            LogDebug("TolkHid: keyboard arrived\n");
            m_ports.clock.SleepMs(kArrivalSettleMs);
            OpenSequence();
            m_ports.timers.Set(kGameWatchTimerId, kGameWatchPeriodMs);
        }
        break;
    case DeviceEventKind::Removal:
        if (m_state.deviceConnected) {
            m_state.deviceConnected = false;
            LogDebug("TolkHid: keyboard removed\n");
            m_link.ForgetKeyboardMemory();
            m_tray.Remove();
            m_ports.timers.Kill(kGameWatchTimerId);
            WriteDeviceState(false, m_state.programFolder);
        }
        break;
    case DeviceEventKind::Reset:
        // The keyboard's memory is its defaults now, but nothing is sent: the next push writes it all.
        m_link.ForgetKeyboardMemory();
        ResetToDefaults();
        break;
    case DeviceEventKind::OsdHide:
        if (WindowId osd = m_ports.windows.FindWindow("", kOsdWindowTitle))
            m_ports.windows.PostMessage(osd, WM_OSD_COMMAND, kOsdHide, 0);
        break;
    case DeviceEventKind::Ignored: break;
    }
}

void HostCore::DispatchKey(uint16_t value)
{
    const int k = value & 0xFF;
    if (k >= kKeyCount)
        return;
    const bool release = ((value >> 8) & 0xFF) != 0;
    // One consistent copy of the key and its profile's player choice; no lock is held after this.
    struct Key {
        ButtonInfo info;
        int32_t mediaOption;
    };
    std::optional<Key> key = m_state.profiles.With([&](const ProfileSet& set) -> std::optional<Key> {
        if (!IsValidSlot(set.CurrentProfile))
            return std::nullopt;
        const Profile& p = set.Profiles[set.CurrentProfile - 1];
        return Key{p.Buttons[k], p.MediaOption};
    });
    if (key)
        ::DispatchKey(key->info, k, release, key->mediaOption, KeyPlayers{m_player, m_countdown, m_media});
}

void HostCore::SetMode(KeyboardMode mode)
{
    m_state.profiles.With([&](ProfileSet& set) {
        for (Profile& p : set.Profiles)
            p.Mode = mode;
    });
    ShareSet();
    PostToConfig(WM_CFG_DATA_CHANGED);
    SyncNumLock();
}

void HostCore::SyncNumLock()
{
    std::optional<KeyboardMode> mode = m_state.profiles.CurrentMode();
    if (!mode)
        return;
    bool toggled = m_ports.input.NumLockToggled();
    // An unknown mode leaves NumLock alone.
    if ((toggled && *mode == KeyboardMode::NumLockOff) || (!toggled && *mode == KeyboardMode::NumLockOn)) {
        uint8_t scan = static_cast<uint8_t>(m_ports.layout.VirtualKeyToScanCode(kVkNumLock));
        m_ports.input.SendKey(kVkNumLock, scan, 0);
        m_ports.input.SendKey(kVkNumLock, scan, InputSink::kKeyUp);
    }
}

void HostCore::ResetToDefaults()
{
    m_state.profiles.With([](ProfileSet& set) { SetDefaultProfiles(set); });
    ProfileSet copy = m_state.profiles.Copy();
    SaveProfileSet(copy, m_state.programFolder);
    m_ports.shared.Write(copy);
    PostToConfig(WM_CFG_DEVICE_READY);
}

void HostCore::SetCurrentProfile(int32_t profile)
{
    if (!IsValidSlot(profile))
        return;
    m_state.profiles.With([&](ProfileSet& set) { set.CurrentProfile = profile; });
    ShareSet();
    RequestPush();
    PostToConfig(WM_CFG_DATA_CHANGED);
}

void HostCore::StartMacroWorker()
{
    m_player.StartWorker();
}

void HostCore::StartDeviceWorker()
{
    m_deviceWorker.Start();
}

bool HostCore::EndDeviceWorker(uint32_t timeoutMs)
{
    return m_deviceWorker.End(timeoutMs);
}

void HostCore::StartDisplay()
{
    StartOsd(m_ports.launcher, m_state.programFolder);
}

void HostCore::BeginShutdown()
{
    m_ports.timers.Kill(kGameWatchTimerId);
    if (WindowId cfg = m_ports.windows.FindWindow("", kConfigWindowTitle))
        m_ports.windows.PostMessage(cfg, kWmClose, 0, 0);
    if (WindowId osd = m_ports.windows.FindWindow("", kOsdWindowTitle))
        m_ports.windows.PostMessage(osd, kWmClose, 0, 0);
    m_state.quit = true;
    m_player.StopMacro();
}

void HostCore::FinishShutdown()
{
    CloseDevice();
    m_player.Shutdown();
    m_tray.Remove();
}

void HostCore::FinishShutdownLeavingTheDevice()
{
    m_player.Shutdown();
    m_tray.Remove();
}
