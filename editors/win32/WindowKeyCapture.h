// The program's keyboard capture (framework/KeyCapture.h) as the editor models see it, running for
// one window: the keys arrive at that window as WM_KBDHOOK_KEY.
#pragma once

#include "CapturedKey.h"
#include "KeyCapture.h"
#include "Wnd.h"

class WindowKeyCapture final : public RecorderCapture {
public:
    explicit WindowKeyCapture(const CWnd& window) : m_window(window) {}
    // A capture still running for the window goes with it.
    ~WindowKeyCapture() override { StopKeyCapture(); }
    WindowKeyCapture(const WindowKeyCapture&) = delete;
    WindowKeyCapture& operator=(const WindowKeyCapture&) = delete;

    bool StartKeyCapture() override { return ::StartKeyCapture(m_window.GetSafeHwnd()); }
    // Stops nothing when another window has taken the capture over.
    void StopKeyCapture() override { ::StopKeyCapture(m_window.GetSafeHwnd()); }

    // The key of a WM_KBDHOOK_KEY the window received, with the time the hook saw it.
    static CapturedKey KeyOf(WPARAM wParam, LPARAM lParam)
    {
        CapturedKey key;
        key.virtualKey = static_cast<uint32_t>(wParam);
        key.up = (lParam & LLKHF_UP) != 0;
        key.timeUs = TakeKeyCaptureStamp(wParam, lParam);
        return key;
    }

private:
    const CWnd& m_window;
};
