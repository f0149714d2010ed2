#include "WinTestInput.h"

void PumpPending()
{
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (CWnd::RoutePreTranslateMessage(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void Pump(DWORD milliseconds)
{
    const DWORD end = ::GetTickCount() + milliseconds;
    do {
        PumpPending();
        ::Sleep(5);
    } while (static_cast<LONG>(end - ::GetTickCount()) > 0);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        PumpPending();
        ::Sleep(5);
    }
    return true;
}

COLORREF ScreenPixel(POINT at)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return colour;
}

POINT CentreOf(const CWnd& window)
{
    const RECT r = window.GetWindowRect();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MoveMouse(POINT at)
{
    ::SetCursorPos(at.x, at.y);
    Pump(150);
}

void Click(POINT at)
{
    ::SetCursorPos(at.x, at.y);
    Pump(120);
    ::mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    Pump(60);
    ::mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    Pump(250);
}

namespace {

void KeyEvent(BYTE vk, DWORD flags)
{
    ::keybd_event(vk, static_cast<BYTE>(::MapVirtualKeyA(vk, 0)), flags, 0);
}

} // namespace

void PressKey(BYTE vk)
{
    KeyEvent(vk, 0);
    KeyEvent(vk, KEYEVENTF_KEYUP);
}

void SendKeyInput(BYTE vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

void TypeText(const std::string& text)
{
    for (const char c : text) {
        const SHORT key = ::VkKeyScanA(c);
        const bool shift = (HIBYTE(key) & 1) != 0;
        if (shift)
            KeyEvent(VK_SHIFT, 0);
        KeyEvent(LOBYTE(key), 0);
        KeyEvent(LOBYTE(key), KEYEVENTF_KEYUP);
        if (shift)
            KeyEvent(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    Pump(300);
}
