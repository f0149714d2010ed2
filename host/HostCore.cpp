#include "HostCore.h"

#include "DeviceProtocol.h"
#include "GameWatch.h"
#include "HostConstants.h"
#include "Log.h"
#include "ProfileStore.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint8_t kVkNumLock = 0x90;

} // namespace

HostCore::HostCore(HostPorts ports, HostState& state, uint32_t eventHandleValue)
    : m_ports(ports),
      m_state(state),
      m_eventHandleValue(eventHandleValue),
      m_player(ports.clock, ports.input, ports.layout),
      m_countdown(ports.timers, ports.sound, state.programFolder),
      m_media(ports.windows, ports.settings, ports.launcher, ports.clock, ports.input),
      m_tray(ports.tray, ports.timers)
{
}

bool HostCore::Control(uint32_t code, uint8_t* buffer)
{
    if (!m_state.deviceOpen)
        return false;
    std::optional<ControlLength> lengths = ControlLengths(code);
    if (!lengths)
        return false;
    std::lock_guard<std::mutex> lock(m_driverMutex);
    return m_ports.driver.Control(code, buffer, lengths->in, lengths->out ? buffer : nullptr, lengths->out);
}

bool HostCore::OpenDevice()
{
    std::lock_guard<std::mutex> lock(m_driverMutex);
    if (!m_ports.driver.Open())
        return false;
    RequestBuffer request = DeviceRequest::RegisterEvent(m_eventHandleValue);
    if (!m_ports.driver.Control(IOCTL_FLT_REGISTER_EVENT, request.data(), 4, nullptr, 0)) {
        m_ports.driver.Close();
        return false;
    }
    m_ports.timers.Set(TIMER_GAME_WATCH, kGameWatchPeriodMs);
    m_state.deviceConnected = true;
    m_state.deviceOpen = true;
    return true;
}

void HostCore::CloseDevice()
{
    {
        std::lock_guard<std::mutex> lock(m_driverMutex);
        if (m_state.deviceOpen) {
            RequestBuffer request{};
            m_ports.driver.Control(IOCTL_FLT_UNREGISTER, request.data(), 0, nullptr, 0);
            m_ports.driver.Close();
            m_state.deviceOpen = false;
        }
    }
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
    RequestBuffer buf{};
    bool firmwareOk = Control(IOCTL_FLT_GET_FIRMWARE, buf.data());
    WriteFirmwareVersion(firmwareOk ? FirmwareVersionFromReply(buf.data()) : 0, m_state.programFolder);

    buf.fill(0);
    if (Control(IOCTL_FLT_GET_PROFILE, buf.data()) && IsValidSlot(buf[1])) {
        int32_t profile = buf[1];
        m_state.profiles.With([&](ProfileSet& set) { set.CurrentProfile = profile; });
    }
    Pace();

    buf.fill(0);
    bool modeOk = Control(IOCTL_FLT_GET_MODE, buf.data());
    if (modeOk) {
        int32_t mode = buf[1];
        m_state.profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                p.Mode = mode;
        });
    }
    Pace();

    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            RequestBuffer key = DeviceRequest::GetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k));
            if (!Control(IOCTL_FLT_GET_KEY, key.data()))
                break; // the rest of this profile's keys is skipped
            m_state.profiles.With([&](ProfileSet& set) { DecodeKeyReply(key.data(), set.Profiles[p - 1].Buttons[k - 1]); });
            Pace();
        }
        Pace();
    }

    buf.fill(0);
    if (Control(IOCTL_FLT_GET_KEY_SWITCH, buf.data())) {
        uint8_t mask = buf[1];
        m_state.profiles.With([&](ProfileSet& set) {
            for (Profile& p : set.Profiles)
                for (int i = 0; i < kKeyCount; ++i)
                    p.KeyFlags[i] = (mask >> i) & 1;
        });
    }

    if (modeOk) {
        ProfileSet copy = m_state.profiles.Copy();
        SaveProfileSet(copy, m_state.programFolder);
        m_ports.shared.Write(copy);
    }
    return modeOk;
}

void HostCore::PushAllToDevice()
{
    if (!m_state.deviceOpen)
        return;
    const ProfileSet set = m_state.profiles.Copy();
    // Without a current profile nothing names a slot to select; the Mode and the key switches are
    // the same in every profile, so the first one stands for all.
    const bool hasCurrent = IsValidSlot(set.CurrentProfile);
    const Profile& current = set.Profiles[hasCurrent ? set.CurrentProfile - 1 : 0];

    if (hasCurrent) {
        RequestBuffer request = DeviceRequest::SetProfile(static_cast<uint8_t>(set.CurrentProfile));
        Control(IOCTL_FLT_SET_PROFILE, request.data());
    }
    Pace();
    RequestBuffer mode = DeviceRequest::SetMode(current.Mode);
    Control(IOCTL_FLT_SET_MODE, mode.data());
    Pace();
    for (int p = 1; p <= kProfileCount; ++p) {
        for (int k = 1; k <= kKeyCount; ++k) {
            RequestBuffer key = DeviceRequest::SetKey(static_cast<uint8_t>(p), static_cast<uint8_t>(k),
                                                      set.Profiles[p - 1].Buttons[k - 1]);
            if (!Control(IOCTL_FLT_SET_KEY, key.data()))
                LogDebug("TolkHid: set key %d/%d failed\n", p, k);
            Pace();
        }
        Pace();
    }
    RequestBuffer mask = DeviceRequest::SetKeySwitch(KeySwitchMask(current));
    Control(IOCTL_FLT_SET_KEY_SWITCH, mask.data());
    SyncNumLock();
}

void HostCore::CheckFirmware()
{
    RequestBuffer buf{};
    bool ok = Control(IOCTL_FLT_GET_FIRMWARE, buf.data());
    uint16_t version = ok ? FirmwareVersionFromReply(buf.data()) : 0;
    WriteFirmwareVersion(version, m_state.programFolder);
    std::optional<int> argument =
        UpdaterArgument(ok, version, ReadPackagedFirmwareVersion(m_state.programFolder));
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
    if (!m_state.deviceOpen && OpenDevice())
        OpenSequence();
    return true;
}

void HostCore::OnSessionChange(uint32_t change)
{
    if (change == 1) {
        // A connect while the device is still open would open it a second time.
        if (!m_state.deviceOpen && OpenDevice())
            OpenSequence();
    } else if (change == 2) {
        WriteDeviceState(false, m_state.programFolder);
        CloseDevice();
    }
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
    PushAllToDevice();
}

void HostCore::OnTimer(uint32_t id)
{
    if (id == TIMER_GAME_WATCH)
        CheckForegroundGame(m_ports.foreground, m_state.profiles, [this](int p) { SetCurrentProfile(p); });
    else if (id == TIMER_COUNTDOWN)
        m_countdown.CountdownTick();
    else if (id == TrayIcon::kRetryTimerId)
        m_tray.OnRetryTimer();
}

bool HostCore::ReadAndHandleEvent()
{
    RequestBuffer buf{};
    if (!Control(IOCTL_FLT_READ_EVENT, buf.data()))
        return false;
    uint32_t word = DeviceEvent::FromBytes(buf.data()).Word();
    LogDebug("TolkHid read: %x\n", word);
    OnDeviceEvent(word);
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
    case DeviceEventKind::ModeOff: SetMode(0); break;
    case DeviceEventKind::ModeOn: SetMode(1); break;
    case DeviceEventKind::Arrival:
        if (!m_state.deviceConnected) {
            m_state.deviceConnected = true;
            LogDebug("Rrrive\n");
            m_ports.clock.SleepMs(kArrivalSettleMs);
            OpenSequence();
            m_ports.timers.Set(TIMER_GAME_WATCH, kGameWatchPeriodMs);
        }
        break;
    case DeviceEventKind::Removal:
        if (m_state.deviceConnected) {
            m_state.deviceConnected = false;
            LogDebug("Remove\n");
            m_tray.Remove();
            m_ports.timers.Kill(TIMER_GAME_WATCH);
            WriteDeviceState(false, m_state.programFolder);
        }
        break;
    case DeviceEventKind::Reset: ResetToDefaults(); break;
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
    if (!key)
        return;
    const uint8_t code = key->info.FunctionCode;
    switch (static_cast<KeyFunction>(code)) {
    case KeyFunction::Macro: m_player.MacroKey(k, release, key->info); return;
    case KeyFunction::MacroPlayPause: m_player.PauseResume(); return;
    case KeyFunction::MacroStop: m_player.StopMacro(); return;
    default: break;
    }
    if (release)
        return;
    if (code == static_cast<uint8_t>(KeyFunction::Timer))
        m_countdown.StartCountdown(key->info.TimerSeconds);
    else if (code == static_cast<uint8_t>(KeyFunction::StopTimer))
        m_countdown.StopCountdown();
    else if (code >= static_cast<uint8_t>(KeyFunction::OpenPlayer) && code <= static_cast<uint8_t>(KeyFunction::VolumeDown))
        m_media.MediaCommand(code, key->mediaOption);
    else if (code >= static_cast<uint8_t>(KeyFunction::WwwSearch) && code <= static_cast<uint8_t>(KeyFunction::WwwFavorites))
        m_media.WebKey(code);
}

void HostCore::SetMode(int32_t mode)
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
    std::optional<int32_t> mode = m_state.profiles.CurrentMode();
    if (!mode)
        return;
    bool toggled = m_ports.input.NumLockToggled();
    // Mode 1 means NumLock off, Mode 0 NumLock on; any other Mode leaves it alone.
    if ((toggled && *mode == 1) || (!toggled && *mode == 0)) {
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
    RequestBuffer request = DeviceRequest::SetProfile(static_cast<uint8_t>(profile));
    Control(IOCTL_FLT_SET_PROFILE, request.data());
    PostToConfig(WM_CFG_DATA_CHANGED);
}

bool HostCore::Start(ReadThread& readThread)
{
    LoadAndShareProfileSet();
    if (!readThread.Start())
        return false;
    m_player.StartWorker();
    StartUp();
    StartOsd(m_ports.launcher, m_state.programFolder);
    return true;
}

ShutdownOutcome HostCore::ShutDown(ReadThread& readThread)
{
    BeginShutdown();
    readThread.Wake();
    m_ports.clock.SleepMs(kShutdownGraceMs);
    if (readThread.WaitForEnd(kReadThreadExitWaitMs)) {
        FinishShutdown();
        return ShutdownOutcome::Finished;
    }
    LogDebug("TolkHid: the read thread did not end; leaving it to the end of the process\n");
    m_player.Shutdown();
    m_tray.Remove();
    return ShutdownOutcome::ReadThreadStuck;
}

void HostCore::BeginShutdown()
{
    m_ports.timers.Kill(TIMER_GAME_WATCH);
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
