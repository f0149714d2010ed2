#include "Wnd.h"

#include "OwnerDrawnMenu.h"

#include <utility>

const MessageTable CWnd::kMessages{nullptr};

namespace {

// The object waiting for its window on this thread. Creation nests (a WM_CREATE handler creates
// children), so each CreationScope keeps the one it interrupted.
thread_local CWnd* t_pending = nullptr;

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

bool CWnd::RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
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

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menu)
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

CWnd::CreationScope::CreationScope(CWnd* window)
    : m_outer(std::exchange(t_pending, window)), m_hook(CWindowsHook::ForThread(WH_CBT, &CWnd::CreationHook))
{
}

CWnd::CreationScope::~CreationScope()
{
    m_hook.Reset();
    t_pending = m_outer;
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pending != nullptr && !IsInputMethodWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* window = std::exchange(t_pending, nullptr);
        window->Attach(reinterpret_cast<HWND>(wParam));
    }
    // The hook handle is ignored by CallNextHookEx.
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
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

bool CWnd::CreateChild(const char* className, const RECT& rect, HWND parent, DWORD style, UINT id, const char* title)
{
    return CreateEx(0, className, title, WS_CHILD | style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
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

bool CWnd::TrackMouseLeave() const
{
    if (m_hWnd == nullptr)
        return false;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = m_hWnd;
    return ::TrackMouseEvent(&track) != FALSE;
}

HWND CWnd::NotifyingControl(UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORSCROLLBAR: return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item != nullptr && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    case WM_DELETEITEM: return lParam != 0 ? reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM: return lParam != 0 ? reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_VSCROLL:
    case WM_HSCROLL:
        // From a scroll bar control; a window's own scroll bars send none.
        return reinterpret_cast<HWND>(lParam);
    default: return nullptr;
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

bool CWnd::RunTable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    const MessageTable& table = Messages();
    const bool ranRequired = table.RunRequired(*this, message, wParam, lParam, result);
    if (ranRequired && message == WM_CREATE && result == -1)
        return true;
    if (const MessageEntry* entry = table.Find(*this, message, wParam, lParam)) {
        result = entry->thunk(*this, wParam, lParam);
        return true;
    }
    return ranRequired;
}

bool CWnd::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return RunTable(kReflectBase + message, wParam, lParam, result);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control =
        message == WM_MEASUREITEM ? MeasuredControl(m_hWnd, wParam, lParam) : NotifyingControl(message, wParam, lParam);
    if (control != nullptr) {
        CWnd* child = FromHandle(control);
        LRESULT result = 0;
        if (child != nullptr && child != this && child->HandleReflected(message, wParam, lParam, result))
            return result;
    }
    // A menu has no window: its owner-drawn items are measured and drawn by the menu's object.
    if ((message == WM_MEASUREITEM || message == WM_DRAWITEM) && COwnerDrawnMenu::Route(message, lParam))
        return TRUE;
    LRESULT result = 0;
    if (RunTable(message, wParam, lParam, result))
        return result;
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
    if (!m_current.defaulted) {
        m_current.defaultResult = DefaultProc(m_current.message, m_current.wParam, m_current.lParam);
        m_current.defaulted = true;
    }
    return m_current.defaultResult;
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
    const CurrentMessage outer = std::exchange(m_current, CurrentMessage{message, wParam, lParam, false, 0});
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
