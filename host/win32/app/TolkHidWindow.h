// The host's hidden main window. It owns the platform services and the host's core, runs start-up
// in OnCreate and shut-down in OnDestroy, starts the read thread and the macro worker, and turns
// each window message into a call of the core.
#pragma once

#include "HostCore.h"
#include "HostState.h"
#include "SessionRegistration.h"
#include "SharedBlock.h"
#include "UniqueHandle.h"
#include "WinClock.h"
#include "WinDesktopWindows.h"
#include "WinForegroundProcess.h"
#include "WinInputSink.h"
#include "WinKeyboardLayout.h"
#include "WinNotificationArea.h"
#include "WinProgramLauncher.h"
#include "WinSharedBlock.h"
#include "WinSoundPlayer.h"
#include "WinSystemSettings.h"
#include "WinWindowTimers.h"
#include "Wnd.h"

#include <memory>

class CTolkHidWindow final : public BaseWindow<CTolkHidWindow>, private ReadThread {
public:
    static MessageSpan MessageEntries();

    // state outlives the window.
    explicit CTolkHidWindow(HostState& state);
    // Destroys the window if it still exists, so that shut-down runs while this object is whole.
    ~CTolkHidWindow() override;

protected:
    // The taskbar announces a restart with a message whose number is known only at run time
    // (RegisterWindowMessage "TaskbarCreated"), which no table entry can name.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    using RegisterSessionNotificationFn = BOOL(WINAPI*)(HWND, DWORD);
    using UnregisterSessionNotificationFn = BOOL(WINAPI*)(HWND);

    int OnCreate(CREATESTRUCTA& create);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    LRESULT OnDeviceChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSessionChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnHostApply(WPARAM wParam, LPARAM lParam);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimerRequest(WPARAM wParam, LPARAM lParam);
    void OnTrayConfiguration();
    void OnTrayExit();

    void RegisterSessionNotification();
    void UnregisterSessionNotification();
    void ShowTrayMenu();
    // The read thread, as the core starts, wakes and waits for it.
    bool Start() override;
    void Wake() override;
    bool WaitForEnd(uint32_t timeoutMs) override;
    static unsigned __stdcall ReadThreadMain(void* window);
    void ReadLoop();

    HostState& m_state;

    // The platform services the core is built on. Those that need the window are made in OnCreate.
    WinClock m_clock;
    WinInputSink m_input;
    WinKeyboardLayout m_layout;
    WinSoundPlayer m_sound;
    WinForegroundProcess m_foreground;
    WinSystemSettings m_settings;
    WinProgramLauncher m_launcher;
    std::unique_ptr<FilterDriver> m_driver;
    std::unique_ptr<WinDesktopWindows> m_windows;
    std::unique_ptr<WinNotificationArea> m_trayArea;
    std::unique_ptr<WinWindowTimers> m_timers;
    std::unique_ptr<WinSharedBlock> m_sharedBlock; // null when it could be neither created nor opened
    NullSharedBlock m_noSharedBlock;

    UINT m_taskbarCreated = 0; // 0 until registered

    UniqueModule m_wtsapi;
    std::unique_ptr<SessionRegistration> m_sessionRegistration; // while wtsapi32 offers it
    UniqueModule m_download;                                    // held, never called
    // Released by the driver once per queued event; its handle value is registered with the driver.
    UniqueHandle m_eventSemaphore;
    std::unique_ptr<HostCore> m_core; // from creation to shut-down
    UniqueHandle m_readThread;
};
