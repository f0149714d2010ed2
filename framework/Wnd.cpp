#include "Wnd.h"

#include <utility>

const MessageTable CWnd::kMessages{nullptr};

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(std::exchange(m_hWnd, nullptr));
    }
}

bool CWnd::RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor, HBRUSH background,
                               HICON icon)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(instance, className, &existing))
        return existing.lpfnWndProc == &CWnd::StaticWindowProc;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    // Another thread may have registered it meanwhile.
    return ::RegisterClassExA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu)
{
    if (m_hWnd != nullptr)
        return false;
    if (className == nullptr) {
        static const bool registered =
            RegisterWindowClass(kDefaultClassName, 0, ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
        if (!registered)
            return false;
        className = kDefaultClassName;
    }
    HWND hwnd = ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                                  ::GetModuleHandleA(nullptr), this);
    if (hwnd != nullptr && hwnd != m_hWnd) {
        // A class that does not dispatch to CWnd objects: this object could never handle it.
        ::DestroyWindow(hwnd);
        return false;
    }
    // A failed creation has already sent WM_NCDESTROY, which detached this object.
    return hwnd != nullptr;
}

bool CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

// Without a window the system calls would act on the thread instead (a thread message, a thread
// timer), so they are not made.
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_hWnd == nullptr)
        return 0;
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs)
{
    if (m_hWnd == nullptr)
        return 0;
    return ::SetTimer(m_hWnd, id, elapseMs, nullptr);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::KillTimer(m_hWnd, id);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const MessageEntry* entry = Messages().Find(message, wParam, lParam))
        return entry->thunk(*this, wParam, lParam);
    return DefaultProc(message, wParam, lParam);
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (m_hWnd == nullptr)
        return 0;
    // Outside a handler m_current is WM_NULL, whose default processing does nothing.
    return DefaultProc(m_current.message, m_current.wParam, m_current.lParam);
}

int CWnd::OnCreate(CREATESTRUCTA&)
{
    return static_cast<int>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Handlers may send messages to their own window, so the outer message is kept for Default().
    const CurrentMessage outer = std::exchange(m_current, CurrentMessage{message, wParam, lParam});
    const LRESULT result = WindowProc(message, wParam, lParam);
    m_current = outer;
    return result;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* window = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (window == nullptr && message == WM_NCCREATE) {
        window = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (window != nullptr) {
            window->m_hWnd = hwnd;
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
    }
    // Messages before WM_NCCREATE (WM_GETMINMAXINFO), and those of a window whose object is gone.
    if (window == nullptr)
        return ::DefWindowProcA(hwnd, message, wParam, lParam);

    const LRESULT result = window->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        window->m_hWnd = nullptr;
        if (window->m_endsMessageLoop)
            ::PostQuitMessage(0);
        window->PostNcDestroy();
    }
    return result;
}
