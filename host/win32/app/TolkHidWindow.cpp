#include "TolkHidWindow.h"

#include "CreateFilterDriver.h"
#include "HostConstants.h"
#include "Launcher.h"
#include "Log.h"
#include "PopupMenu.h"
#include "ProfileStore.h"
#include "TrayIcon.h"

#include <process.h>

#include <cstdint>

namespace {

constexpr const char kSessionLibrary[] = "wtsapi32.dll";
constexpr const char kDownloadLibrary[] = "download.dll";
constexpr DWORD kNotifyForThisSession = 0; // NOTIFY_FOR_THIS_SESSION
constexpr LONG kEventSemaphoreMaximum = 100;
constexpr unsigned kWorkerStackBytes = 4096;

// A function of a loaded module as its real type; null when the module does not export it.
template <class Function>
Function ModuleFunction(HMODULE module, const char* name)
{
    // Through void(*)() because the system's FARPROC has no parameters of its own.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

WindowId ToWindowId(HWND hwnd)
{
    return reinterpret_cast<WindowId>(hwnd);
}

} // namespace

MessageSpan CTolkHidWindow::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmDestroy<&CTolkHidWindow::OnDestroy>(),
        OnWmCreate<&CTolkHidWindow::OnCreate>(),
        OnWmTimer<&CTolkHidWindow::OnTimer>(),
        OnMessage<WM_DEVICECHANGE, &CTolkHidWindow::OnDeviceChange>(),
        OnMessage<WM_WTSSESSION_CHANGE, &CTolkHidWindow::OnSessionChange>(),
        OnMessage<WM_HOST_APPLY, &CTolkHidWindow::OnHostApply>(),
        OnMessage<WM_TRAY_NOTIFY, &CTolkHidWindow::OnTrayNotify>(),
        OnCommand<kCmdTrayConfiguration, &CTolkHidWindow::OnTrayConfiguration>(),
        OnCommand<kCmdTrayExit, &CTolkHidWindow::OnTrayExit>(),
        OnMessage<WM_TOLK_TIMER_REQUEST, &CTolkHidWindow::OnTimerRequest>(),
    };
    return kEntries;
}

CTolkHidWindow::CTolkHidWindow(HostState& state) : m_state(state) {}

CTolkHidWindow::~CTolkHidWindow()
{
    DestroyWindow();
}

int CTolkHidWindow::OnCreate(CREATESTRUCTA& create)
{
    if (CWnd::OnCreate(create) == -1)
        return -1;

    // The modifier keys' device codes are a constant of the device protocol (ModifierDeviceCodes);
    // there is nothing to fill.

    m_state.programFolder = GetProgramFolder();

    m_download.Reset(::LoadLibraryA((m_state.programFolder + kDownloadLibrary).c_str()));

    // When the lock and the block already exist (a configuration program of an earlier run still
    // holds them) the host opens them and runs with them instead of refusing to start.
    m_sharedBlock = WinSharedBlock::CreateForHost();
    if (!m_sharedBlock)
        LogDebug("TolkHid: no shared block; running without the configuration link\n");

    m_eventSemaphore.Reset(::CreateSemaphoreA(nullptr, 0, kEventSemaphoreMaximum, nullptr));
    if (!m_eventSemaphore) {
        LogDebug("TolkHid: event semaphore not created (error %lu)\n", ::GetLastError());
        return -1;
    }

    m_driver = CreateFilterDriver();
    m_windows = std::make_unique<WinDesktopWindows>(m_hWnd);
    m_trayArea = std::make_unique<WinNotificationArea>(m_hWnd);
    m_timers = std::make_unique<WinWindowTimers>(m_hWnd);
    RegisterSessionNotification();
    SharedBlock& shared = m_sharedBlock ? static_cast<SharedBlock&>(*m_sharedBlock) : m_noSharedBlock;
    HostPorts ports{m_clock,    *m_driver,  m_input,     m_layout, shared,       *m_windows,
                    m_settings, m_launcher, *m_trayArea, m_sound,  m_foreground, *m_timers};
    // The driver's register call carries the handle as a 32-bit value in every build. A 64-bit
    // Windows keeps kernel handle values within 32 bits for this reason: truncating is safe, and the
    // driver side sign-extends it back (LongToHandle).
    const auto eventHandleValue = static_cast<uint32_t>(HandleToULong(m_eventSemaphore.Get()));
    m_core = std::make_unique<HostCore>(ports, m_state, eventHandleValue);
    m_taskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW);

    if (!m_core->Start(*this)) {
        LogDebug("TolkHid: read thread not started\n");
        return -1;
    }
    return 0;
}

// The core runs shut-down (HostLifecycle::ShutDown). Its order differs from the traditional one in three
// places: the read thread and then the device worker are joined (each for a bounded time) rather
// than abandoned; the tray icon goes together with the device and the macro worker instead of after
// the shared block; and the event semaphore is closed after the macro worker has ended instead of
// before it. Every step checks its object, since a failed OnCreate also ends here.
void CTolkHidWindow::OnDestroy()
{
    ShutdownOutcome outcome = ShutdownOutcome::Finished;
    if (m_core) {
        outcome = m_core->ShutDown(*this);
    } else {
        m_state.quit = true;
        Wake();
        WaitForEnd(HostLifecycle::kReadThreadExitWaitMs);
    }
    m_readThread.Reset();

    if (outcome == ShutdownOutcome::Finished) {
        m_eventSemaphore.Reset();
        // Nothing calls the core any more; it goes before the services it refers to.
        m_core.reset();
    } else {
        // The read thread or the device worker may still return into the core: the core and
        // everything it reaches stay alive; the process ends right after its window, and that ends
        // the thread.
        static_cast<void>(m_core.release());
        static_cast<void>(m_driver.release());
        static_cast<void>(m_windows.release());
        static_cast<void>(m_timers.release());
        static_cast<void>(m_sharedBlock.release());
        static_cast<void>(m_eventSemaphore.Release());
    }

    UnregisterSessionNotification();
    m_download.Reset();
    m_sharedBlock.reset();

    CWnd::OnDestroy();
}

void CTolkHidWindow::OnTimer(UINT_PTR id)
{
    if (id == kSessionRegistrationTimerId) {
        if (m_sessionRegistration)
            m_sessionRegistration->OnRetryTimer();
    } else if (m_core) {
        m_core->OnTimer(static_cast<uint32_t>(id));
    }
    CWnd::OnTimer(id);
}

LRESULT CTolkHidWindow::OnDeviceChange(WPARAM, LPARAM)
{
    if (!m_core)
        return TRUE;
    return m_core->OnDeviceChange() ? TRUE : FALSE;
}

LRESULT CTolkHidWindow::OnSessionChange(WPARAM wParam, LPARAM)
{
    if (m_core)
        m_core->OnSessionChange(static_cast<uint32_t>(wParam));
    return 0;
}

LRESULT CTolkHidWindow::OnHostApply(WPARAM, LPARAM)
{
    if (m_core)
        m_core->OnHostApply();
    return 0;
}

LRESULT CTolkHidWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == m_taskbarCreated && m_taskbarCreated != 0 && m_core) {
        LogDebug("TolkHid: the taskbar was created\n");
        m_core->Tray().OnTaskbarCreated();
        return 0;
    }
    return CWnd::DefaultProc(message, wParam, lParam);
}

LRESULT CTolkHidWindow::OnTrayNotify(WPARAM, LPARAM lParam)
{
    if (!m_windows)
        return 0;
    switch (TrayActionFor(static_cast<uint32_t>(lParam))) {
    case TrayAction::ActivatePopup: m_windows->RestoreAndActivate(ToWindowId(::GetLastActivePopup(m_hWnd))); break;
    case TrayAction::ShowConfig: ShowConfigProgram(*m_windows, m_launcher, m_state.programFolder); break;
    case TrayAction::ShowMenu: ShowTrayMenu(); break;
    case TrayAction::None: break;
    }
    return 0;
}

LRESULT CTolkHidWindow::OnTimerRequest(WPARAM wParam, LPARAM lParam)
{
    WinWindowTimers::Apply(m_hWnd, wParam, lParam);
    return 0;
}

void CTolkHidWindow::OnTrayConfiguration()
{
    if (m_windows)
        ShowConfigProgram(*m_windows, m_launcher, m_state.programFolder);
}

void CTolkHidWindow::OnTrayExit()
{
    PostMessage(WM_CLOSE);
}

void CTolkHidWindow::ShowTrayMenu()
{
    const CPopupMenu menu = PlainPopupMenu(TrayMenu());
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // The choice reaches the command table (OnTrayConfiguration, OnTrayExit) as WM_COMMAND.
    menu.TrackAndPost(m_hWnd, cursor.x, cursor.y, TPM_LEFTBUTTON);
}

void CTolkHidWindow::RegisterSessionNotification()
{
    m_wtsapi.Reset(::LoadLibraryA(kSessionLibrary));
    if (!m_wtsapi)
        return;
    auto registerSession =
        ModuleFunction<RegisterSessionNotificationFn>(m_wtsapi.Get(), "WTSRegisterSessionNotification");
    if (registerSession == nullptr)
        return;
    // A refused registration is tried again on a window timer (OnTimer), so creation never waits.
    m_sessionRegistration = std::make_unique<SessionRegistration>(
        *m_timers, [this, registerSession] { return registerSession(m_hWnd, kNotifyForThisSession) != FALSE; });
    m_sessionRegistration->Start();
}

void CTolkHidWindow::UnregisterSessionNotification()
{
    if (m_sessionRegistration) {
        m_sessionRegistration->Stop();
        m_sessionRegistration.reset();
    }
    if (!m_wtsapi)
        return;
    auto unregisterSession =
        ModuleFunction<UnregisterSessionNotificationFn>(m_wtsapi.Get(), "WTSUnRegisterSessionNotification");
    if (unregisterSession != nullptr)
        unregisterSession(m_hWnd);
    m_wtsapi.Reset();
}

bool CTolkHidWindow::Start()
{
    m_readThread.Reset(reinterpret_cast<HANDLE>(
        ::_beginthreadex(nullptr, kWorkerStackBytes, &CTolkHidWindow::ReadThreadMain, this, 0, nullptr)));
    return static_cast<bool>(m_readThread);
}

void CTolkHidWindow::Wake()
{
    if (m_eventSemaphore)
        ::ReleaseSemaphore(m_eventSemaphore.Get(), 1, nullptr);
}

bool CTolkHidWindow::WaitForEnd(uint32_t timeoutMs)
{
    return !m_readThread || ::WaitForSingleObject(m_readThread.Get(), timeoutMs) == WAIT_OBJECT_0;
}

unsigned __stdcall CTolkHidWindow::ReadThreadMain(void* window)
{
    static_cast<CTolkHidWindow*>(window)->ReadLoop();
    return 0;
}

// The driver releases the semaphore once per queued event; shut-down releases it once more after
// setting quit. The thread touches no window.
void CTolkHidWindow::ReadLoop()
{
    for (;;) {
        if (::WaitForSingleObject(m_eventSemaphore.Get(), INFINITE) != WAIT_OBJECT_0)
            return; // the semaphore is unusable: waiting again would spin
        if (m_state.quit)
            return;
        m_core->ReadAndHandleEvent();
    }
}
