#include "MenuFrameHook.h"

#include "Gdi.h"
#include "MenuLook.h"
#include "UniqueHandle.h"
#include "WindowsHook.h"

#include <cstring>
#include <memory>
#include <unordered_map>

namespace {

// The system's class of menu windows.
constexpr char kMenuWindowClass[] = "#32768";
// Where a decorated menu window keeps its own procedure; a window that has it is decorated.
constexpr char kOldProcProperty[] = "CoolMenu_oldProc";
// The system sends this to a menu window it sizes for a menu, also one it reuses.
constexpr UINT kMenuSizeWindow = 0x01E2;

struct MenuHookState {
    CWindowsHook hook;
    std::unordered_map<HWND, std::unique_ptr<CMenuFrameHook>> windows;
    UniqueGdiObject<HBRUSH> frameBrush;
    unsigned decorated = 0;
    unsigned restored = 0;
};

// The hook runs on the user-interface thread only, as do the menu windows it decorates.
MenuHookState& State()
{
    static MenuHookState state;
    return state;
}

bool IsMenuWindow(HWND window)
{
    char name[16] = {};
    return ::GetClassNameA(window, name, sizeof name) > 0 && std::strcmp(name, kMenuWindowClass) == 0;
}

WNDPROC OldProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(::GetPropA(window, kOldProcProperty));
}

} // namespace

bool CMenuFrameHook::InstallHook()
{
    MenuHookState& state = State();
    if (state.hook)
        return true;
    state.windows.rehash(1000);
    state.frameBrush.Reset(::CreateSolidBrush(kMenuFrameColour));
    state.hook = CWindowsHook::ForThread(WH_CALLWNDPROC, &CMenuFrameHook::CallWndProc);
    return static_cast<bool>(state.hook);
}

void CMenuFrameHook::RemoveHook()
{
    MenuHookState& state = State();
    while (!state.windows.empty())
        Restore(state.windows.begin()->first);
    state.hook.Reset();
    state.frameBrush.Reset();
}

bool CMenuFrameHook::IsHookInstalled()
{
    return static_cast<bool>(State().hook);
}

bool CMenuFrameHook::IsDecorated(HWND window)
{
    return State().windows.count(window) != 0 &&
           reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) == &CMenuFrameHook::MenuWndProc;
}

std::size_t CMenuFrameHook::LiveCount()
{
    return State().windows.size();
}

unsigned CMenuFrameHook::DecorationCount()
{
    return State().decorated;
}

unsigned CMenuFrameHook::RestorationCount()
{
    return State().restored;
}

LRESULT CALLBACK CMenuFrameHook::CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && lParam != 0) {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((call.message == WM_CREATE || call.message == kMenuSizeWindow) && IsMenuWindow(call.hwnd))
            Decorate(call.hwnd);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CMenuFrameHook::Decorate(HWND window)
{
    if (::GetPropA(window, kOldProcProperty) != nullptr)
        return;
    MenuHookState& state = State();
    const auto old = ::GetWindowLongPtrA(window, GWLP_WNDPROC);
    if (old == 0 || !::SetPropA(window, kOldProcProperty, reinterpret_cast<HANDLE>(old)))
        return;
    state.windows[window] = std::make_unique<CMenuFrameHook>(window);
    if (::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMenuFrameHook::MenuWndProc)) == 0) {
        ::RemovePropA(window, kOldProcProperty);
        state.windows.erase(window);
        return;
    }
    ++state.decorated;
}

void CMenuFrameHook::Restore(HWND window)
{
    MenuHookState& state = State();
    if (const WNDPROC old = OldProcOf(window)) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::RemovePropA(window, kOldProcProperty);
        ++state.restored;
    }
    state.windows.erase(window);
}

void CMenuFrameHook::DrawFrame(HWND window, HDC dc)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::OffsetRect(&rect, -rect.left, -rect.top);
    ::FrameRect(dc, &rect, State().frameBrush.Get());
    for (int line = 0; line < 2; ++line) {
        ::InflateRect(&rect, -1, -1);
        ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
}

LRESULT CALLBACK CMenuFrameHook::MenuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC old = OldProcOf(window);
    if (old == nullptr)
        return ::DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_NCPAINT: {
        const WindowDc dc(window);
        if (dc.Get() != nullptr)
            DrawFrame(window, dc.Get());
        return 0;
    }
    case WM_PAINT: {
        // Where the system paints a menu's border inside the window (Wine does, in its paint),
        // the frame goes over it once the menu has painted.
        const LRESULT result = ::CallWindowProcA(old, window, message, wParam, lParam);
        if (OldProcOf(window) != nullptr) {
            const WindowDc dc(window);
            if (dc.Get() != nullptr)
                DrawFrame(window, dc.Get());
        }
        return result;
    }
    case WM_PRINT: {
        const LRESULT result = ::CallWindowProcA(old, window, message, wParam, lParam);
        DrawFrame(window, reinterpret_cast<HDC>(wParam));
        return result;
    }
    case WM_SHOWWINDOW:
        if (wParam != 0)
            break;
        Restore(window);
        return ::CallWindowProcA(old, window, message, wParam, lParam);
    case WM_NCDESTROY: Restore(window); return ::CallWindowProcA(old, window, message, wParam, lParam);
    default: break;
    }
    return ::CallWindowProcA(old, window, message, wParam, lParam);
}
