#include "Wnd.h"

#include <iterator>
#include <utility>

const MessageTable CWnd::kMessages{nullptr};

namespace {

// The object waiting for its window on this thread, and the hook that binds it. Creation nests
// (a WM_CREATE handler creates children), so each binding keeps the one it interrupted.
struct PendingBinding {
    CWnd* window = nullptr;
    HHOOK hook = nullptr;
};
thread_local PendingBinding t_pending;
thread_local PendingBinding t_outerPending[16];
thread_local int t_depth = 0;

// The system may create its input method windows on this thread while one of ours is being
// created; they are never the window an object waits for.
bool IsInputMethodWindow(HWND hwnd)
{
    char className[32] = {};
    if (::GetClassNameA(hwnd, className, sizeof className) == 0)
        return false;
    return lstrcmpiA(className, "IME") == 0 || lstrcmpiA(className, "MSCTFIME UI") == 0;
}

} // namespace

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        // The system class's own procedure must still see the last messages.
        if (m_superProc != nullptr)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
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
    HWND hwnd = CreateBound([&] {
        return ::CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                                 ::GetModuleHandleA(nullptr), this);
    });
    if (hwnd != nullptr && hwnd != m_hWnd) {
        // Bound to another window (cannot happen unless the hook failed): never leave a window
        // this object does not handle.
        ::DestroyWindow(hwnd);
        return false;
    }
    // A failed creation has already sent WM_NCDESTROY, which detached this object.
    return hwnd != nullptr;
}

void CWnd::BeginBinding(CWnd* window)
{
    if (t_depth < static_cast<int>(std::size(t_outerPending)))
        t_outerPending[t_depth] = t_pending;
    ++t_depth;
    t_pending.window = window;
    t_pending.hook = ::SetWindowsHookExA(WH_CBT, &CWnd::CreationHook, nullptr, ::GetCurrentThreadId());
}

void CWnd::EndBinding()
{
    if (t_pending.hook != nullptr)
        ::UnhookWindowsHookEx(t_pending.hook);
    --t_depth;
    t_pending = t_depth < static_cast<int>(std::size(t_outerPending)) ? t_outerPending[t_depth] : PendingBinding{};
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hook = t_pending.hook;
    if (code == HCBT_CREATEWND && t_pending.window != nullptr && !IsInputMethodWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* window = std::exchange(t_pending.window, nullptr);
        window->Attach(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(hook, code, wParam, lParam);
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (proc != &CWnd::StaticWindowProc) {
        m_superProc = proc;
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc));
    }
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (hwnd == nullptr || ::GetWindowThreadProcessId(hwnd, nullptr) != ::GetCurrentThreadId())
        return nullptr;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &CWnd::StaticWindowProc)
        return nullptr;
    return reinterpret_cast<CWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

bool CWnd::PreTranslateMessage(MSG&)
{
    return false;
}

bool CWnd::RoutePreTranslateMessage(MSG& message)
{
    for (HWND hwnd = message.hwnd; hwnd != nullptr; hwnd = ::GetAncestor(hwnd, GA_PARENT)) {
        if (hwnd == ::GetDesktopWindow())
            break;
        if (CWnd* window = FromHandle(hwnd)) {
            if (window->PreTranslateMessage(message))
                return true;
        }
        if ((::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0)
            break;
    }
    return false;
}

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    if (m_hWnd != nullptr)
        ::GetClientRect(m_hWnd, &rect);
    return rect;
}

RECT CWnd::GetWindowRect() const
{
    RECT rect{};
    if (m_hWnd != nullptr)
        ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

void CWnd::Invalidate(bool erase) const
{
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::MoveWindow(const RECT& rect, bool repaint) const
{
    if (m_hWnd != nullptr)
        ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

void CWnd::ShowWindow(int command) const
{
    if (m_hWnd != nullptr)
        ::ShowWindow(m_hWnd, command);
}

bool CWnd::IsWindowEnabled() const
{
    return m_hWnd != nullptr && ::IsWindowEnabled(m_hWnd);
}

void CWnd::EnableWindow(bool enable) const
{
    if (m_hWnd != nullptr)
        ::EnableWindow(m_hWnd, enable);
}

HWND CWnd::GetParent() const
{
    return m_hWnd != nullptr ? ::GetAncestor(m_hWnd, GA_PARENT) : nullptr;
}

HWND CWnd::GetOwnerOrParent() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    if ((::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD) != 0)
        return ::GetParent(m_hWnd);
    return ::GetWindow(m_hWnd, GW_OWNER);
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

HWND CWnd::NotifyingControl(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR:
        return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_DELETEITEM:
        return lParam != 0 ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
        return lParam != 0 ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_VSCROLL:
    case WM_HSCROLL:
        // From a scroll bar control; a window's own scroll bars send none.
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

// WM_MEASUREITEM names its control by id only (it arrives while an owner-drawn list is still being
// created); menus are measured by their owner.
static HWND MeasuredControl(HWND parent, WPARAM, LPARAM lParam)
{
    const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
    if (item == nullptr || item->CtlType == ODT_MENU)
        return nullptr;
    return ::GetDlgItem(parent, static_cast<int>(item->CtlID));
}

bool CWnd::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const MessageEntry* entry = Messages().Find(*this, kReflectBase + message, wParam, lParam);
    if (entry == nullptr)
        return false;
    result = entry->thunk(*this, wParam, lParam);
    return true;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = message == WM_MEASUREITEM ? MeasuredControl(m_hWnd, wParam, lParam)
                                             : NotifyingControl(message, wParam, lParam);
    if (control != nullptr) {
        CWnd* child = FromHandle(control);
        LRESULT result = 0;
        if (child != nullptr && child != this && child->HandleReflected(message, wParam, lParam, result))
            return result;
    }
    if (const MessageEntry* entry = Messages().Find(*this, message, wParam, lParam))
        return entry->thunk(*this, wParam, lParam);
    return DefaultProc(message, wParam, lParam);
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc != nullptr)
        return ::CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
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
        window->m_superProc = nullptr;
        if (window->m_endsMessageLoop)
            ::PostQuitMessage(0);
        window->PostNcDestroy();
    }
    return result;
}
