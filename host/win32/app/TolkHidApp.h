// The host program: one instance per desktop session, one hidden window that carries everything.
#pragma once

#include "TolkHidWindow.h"
#include "HostState.h"
#include "UniqueHandle.h"
#include "WinApp.h"

#include <memory>

class CTolkHidApp final : public CWinApp {
public:
    // FALSE, without a window, when another instance runs or the window cannot be created.
    BOOL InitInstance() override;
    // Deletes the window object, then lets the instance mutex go.
    int ExitInstance() override;

private:
    UniqueHandle m_instanceMutex;
    HostState m_state; // the host's process-wide state; outlives the window
    std::unique_ptr<CTolkHidWindow> m_window;
};
