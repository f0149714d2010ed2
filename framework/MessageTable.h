// Message tables: each window class has one constant table of entries that map a message (or, for
// WM_COMMAND, a command id and notification code) to a member function with a typed signature. A
// table names its base class's table, so a class handles what its bases handle unless it has an
// entry of its own for the same message. Lookup is per object through CWnd::Messages(); there is
// no map from window handles to objects.
//
// A class with entries derives from BaseWindow<Self, Base> (Wnd.h), which gives it Messages() and
// a table chained to Base's, and lists its entries in one public static member function:
//     class CMyWnd : public BaseWindow<CMyWnd, CDialog> {
//     public:
//         static MessageSpan MessageEntries();
//     ...
//     MessageSpan CMyWnd::MessageEntries()
//     {
//         static constexpr MessageEntry kEntries[] = {
//             OnWmCreate<&CMyWnd::OnCreate>(),
//             OnCommand<ID_EXIT, &CMyWnd::OnExit>(),
//         };
//         return kEntries;
//     }
// A class without entries of its own derives from its base directly; deriving from BaseWindow
// without declaring MessageEntries does not compile (it would repeat the base's entries). The
// tables and entries are constant-initialised, so they are usable before any dynamic
// initialisation runs.
//
// Entries a base class cannot do without: an entry wrapped in Required(...) always runs, even when
// a derived class has an entry for the same message. For a message, the required entries of the
// whole chain run first, the base-most first, then the most derived ordinary entry; the message's
// result is the ordinary entry's, or the last required entry's when there is no ordinary one (no
// further default processing then). A required WM_CREATE handler returning -1 fails the creation
// at once. Default processing runs at most once per message (CWnd::Default), so a derived handler
// that calls Default() after a required handler did does not repeat it. The skinned frame marks
// the WM_CREATE that loads its skin and the WM_DESTROY that frees it this way.
//
// The typed entries (crackers) below are the only place each message's parameters are decoded;
// OnMessage and OnReflect refuse the messages that have one. Points are signed (coordinates left
// of or above the window are negative), as is the wheel's delta.
#pragma once

#include "Gdi.h"

#include <windows.h>

#include <cstddef>
#include <type_traits>

class CWnd;

// Calls one handler: cracks wParam and lParam into the handler's arguments and maps its result
// back to the message's result.
using MessageThunk = LRESULT (*)(CWnd& window, WPARAM wParam, LPARAM lParam);
// For entries keyed by a control object rather than an id: true when the message comes from it.
using MessageMatcher = bool (*)(const CWnd& window, WPARAM wParam, LPARAM lParam);

// Notifications a parent receives from a control (WM_COMMAND with a control window, WM_DRAWITEM,
// WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM, WM_CTLCOLOR*, WM_VSCROLL and WM_HSCROLL of a
// scroll bar control) are first offered to the control's own object as kReflectBase + message with
// the same parameters; when its table has an entry for that, the control's answer is final.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

struct MessageEntry {
    UINT message;
    UINT commandId;    // WM_COMMAND only: the command or control id (LOWORD of wParam)
    UINT notification; // WM_COMMAND only: the notification code (HIWORD of wParam)
    MessageThunk thunk;
    MessageMatcher matches = nullptr; // when set, decides instead of commandId
    bool required = false;            // runs even when a derived class handles the message
};

// The entries of one class: a view of a constant array.
class MessageSpan {
public:
    constexpr MessageSpan() = default;
    template <std::size_t N>
    constexpr MessageSpan(const MessageEntry (&entries)[N]) : m_entries(entries), m_count(N)
    {
    }
    constexpr const MessageEntry* begin() const { return m_entries; }
    constexpr const MessageEntry* end() const { return m_entries + m_count; }

private:
    const MessageEntry* m_entries = nullptr;
    std::size_t m_count = 0;
};

class MessageTable {
public:
    // A table without entries of its own.
    constexpr explicit MessageTable(const MessageTable* base) : m_base(base), m_entries(nullptr) {}
    constexpr MessageTable(const MessageTable* base, MessageSpan (*entries)()) : m_base(base), m_entries(entries) {}

    // The ordinary (not required) entry that handles the message: the first match in this table,
    // else in its base chain; null when none does. A WM_COMMAND without a control window (a menu
    // item or an accelerator) matches entries with notification 0.
    const MessageEntry* Find(const CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Runs the required entries for the message, base-most table first. False when there were
    // none; otherwise result is the last one's (or -1 as soon as a WM_CREATE handler refused).
    bool RunRequired(CWnd& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    MessageSpan Entries() const { return m_entries != nullptr ? m_entries() : MessageSpan{}; }

    const MessageTable* m_base;
    MessageSpan (*m_entries)();
};

// An entry the class's derived classes cannot take away (see the header comment).
constexpr MessageEntry Required(MessageEntry entry)
{
    entry.required = true;
    return entry;
}

namespace message_table_detail {

template <class Member>
struct MemberOf;
template <class T, class R, class... Args>
struct MemberOf<R (T::*)(Args...)> {
    using Class = T;
};
// Data members (the controls of a window) name their class the same way.
template <class T, class M>
struct MemberOf<M T::*> {
    using Class = T;
};

template <auto Handler>
using ClassOf = typename MemberOf<decltype(Handler)>::Class;

// The entry table of class T is only consulted for objects of class T or classes derived from it.
template <auto Handler>
ClassOf<Handler>& Target(CWnd& window)
{
    return static_cast<ClassOf<Handler>&>(window);
}

// True when Handler is a member function of its class with exactly the signature Signature
// (written as a plain function type, R(Args...)).
template <auto Handler, class Signature>
struct HasSignature;
template <auto Handler, class R, class... Args>
struct HasSignature<Handler, R(Args...)> : std::is_same<decltype(Handler), R (ClassOf<Handler>::*)(Args...)> {
};
template <auto Handler, class Signature>
constexpr bool kHasSignature = HasSignature<Handler, Signature>::value;

HWND HwndOf(const CWnd& control);

// Both halves of lParam as signed 16-bit coordinates (as GET_X_LPARAM and GET_Y_LPARAM do).
inline POINT PointOf(LPARAM lParam)
{
    const auto bits = static_cast<DWORD>(lParam);
    return POINT{static_cast<short>(LOWORD(bits)), static_cast<short>(HIWORD(bits))};
}

template <auto Handler>
LRESULT CreateThunk(CWnd& window, WPARAM, LPARAM lParam)
{
    return (Target<Handler>(window).*Handler)(*reinterpret_cast<CREATESTRUCTA*>(lParam));
}

template <auto Handler>
LRESULT VoidThunk(CWnd& window, WPARAM, LPARAM)
{
    (Target<Handler>(window).*Handler)();
    return 0;
}

template <auto Handler>
LRESULT CommandIdThunk(CWnd& window, WPARAM wParam, LPARAM)
{
    (Target<Handler>(window).*Handler)(LOWORD(wParam));
    return 0;
}

template <UINT First, UINT Last>
bool InCommandRange(const CWnd&, WPARAM wParam, LPARAM lParam)
{
    return lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) >= First && LOWORD(wParam) <= Last;
}

template <auto Handler>
LRESULT TimerThunk(CWnd& window, WPARAM wParam, LPARAM)
{
    (Target<Handler>(window).*Handler)(static_cast<UINT_PTR>(wParam));
    return 0;
}

template <auto Handler>
LRESULT RawThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    return (Target<Handler>(window).*Handler)(wParam, lParam);
}

template <auto Handler>
LRESULT MouseThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(static_cast<UINT>(wParam), PointOf(lParam));
    return 0;
}

template <auto Handler>
LRESULT WheelThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), PointOf(lParam));
    return 0;
}

template <auto Handler>
LRESULT KeyThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    const auto bits = static_cast<DWORD>(lParam);
    (Target<Handler>(window).*Handler)(static_cast<UINT>(wParam), LOWORD(bits), HIWORD(bits));
    return 0;
}

template <auto Handler>
LRESULT PaintThunk(CWnd& window, WPARAM, LPARAM)
{
    const PaintDc paint(HwndOf(window));
    (Target<Handler>(window).*Handler)(paint);
    return 0;
}

template <auto Handler>
LRESULT EraseThunk(CWnd& window, WPARAM wParam, LPARAM)
{
    return (Target<Handler>(window).*Handler)(reinterpret_cast<HDC>(wParam)) ? TRUE : FALSE;
}

template <auto Handler>
LRESULT ScrollThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(LOWORD(wParam), static_cast<int>(HIWORD(wParam)),
                                       reinterpret_cast<HWND>(lParam));
    return 0;
}

template <auto Handler>
LRESULT DrawItemThunk(CWnd& window, WPARAM, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

template <auto Handler>
LRESULT MeasureItemThunk(CWnd& window, WPARAM, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    return TRUE;
}

template <auto Handler>
LRESULT CtlColorThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    HBRUSH brush = (Target<Handler>(window).*Handler)(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    return reinterpret_cast<LRESULT>(brush);
}

template <auto Handler>
LRESULT SetCursorThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    const auto bits = static_cast<DWORD>(lParam);
    return (Target<Handler>(window).*Handler)(reinterpret_cast<HWND>(wParam), LOWORD(bits), HIWORD(bits)) ? TRUE
                                                                                                          : FALSE;
}

template <auto Handler>
LRESULT ContextMenuThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(reinterpret_cast<HWND>(wParam), PointOf(lParam));
    return 0;
}

// WM_CAPTURECHANGED names its window in lParam, WM_KILLFOCUS and WM_SETFOCUS in wParam.
template <auto Handler, bool InLParam>
LRESULT WindowArgThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(InLParam ? reinterpret_cast<HWND>(lParam) : reinterpret_cast<HWND>(wParam));
    return 0;
}

template <auto Handler>
LRESULT InitMenuPopupThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    const auto bits = static_cast<DWORD>(lParam);
    (Target<Handler>(window).*Handler)(reinterpret_cast<HMENU>(wParam), LOWORD(bits), HIWORD(bits) != 0);
    return 0;
}

template <auto Handler>
LRESULT MenuSelectThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
    return 0;
}

template <auto Handler>
LRESULT AnyControlThunk(CWnd& window, WPARAM wParam, LPARAM lParam)
{
    (Target<Handler>(window).*Handler)(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
    return 0;
}

template <auto Member>
bool FromControl(const CWnd& window, WPARAM, LPARAM lParam)
{
    using T = typename MemberOf<decltype(Member)>::Class;
    const auto& control = static_cast<const T&>(window).*Member;
    return lParam != 0 && reinterpret_cast<HWND>(lParam) == HwndOf(control);
}

inline bool FromAnyControl(const CWnd&, WPARAM, LPARAM lParam)
{
    return lParam != 0;
}

// Index of the element of an array member whose window sent the command; -1 when none did.
template <auto Member>
int IndexOfSender(const CWnd& window, LPARAM lParam)
{
    using T = typename MemberOf<decltype(Member)>::Class;
    const auto& controls = static_cast<const T&>(window).*Member;
    if (lParam == 0)
        return -1;
    int index = 0;
    for (const auto& control : controls) {
        if (reinterpret_cast<HWND>(lParam) == HwndOf(control))
            return index;
        ++index;
    }
    return -1;
}

template <auto Member>
bool FromControlArray(const CWnd& window, WPARAM, LPARAM lParam)
{
    return IndexOfSender<Member>(window, lParam) >= 0;
}

template <auto Member, auto Handler>
LRESULT ArrayThunk(CWnd& window, WPARAM, LPARAM lParam)
{
    const int index = IndexOfSender<Member>(window, lParam);
    if (index >= 0)
        (Target<Handler>(window).*Handler)(static_cast<std::size_t>(index));
    return 0;
}

constexpr bool IsMouseMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return true;
    default: return false;
    }
}

constexpr bool IsKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ||
           message == WM_CHAR;
}

constexpr bool IsScrollMessage(UINT message)
{
    return message == WM_HSCROLL || message == WM_VSCROLL;
}

constexpr bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// Messages with a typed entry below, which raw entries refuse.
constexpr bool HasCracker(UINT message)
{
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
    case WM_TIMER:
    case WM_MOUSEWHEEL:
    case WM_MOUSELEAVE:
    case WM_PAINT:
    case WM_ERASEBKGND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_SETCURSOR:
    case WM_CONTEXTMENU:
    case WM_CAPTURECHANGED:
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT: return true;
    default:
        return IsMouseMessage(message) || IsKeyMessage(message) || IsScrollMessage(message) ||
               IsCtlColorMessage(message);
    }
}

} // namespace message_table_detail

// WM_CREATE: int OnCreate(CREATESTRUCTA& create). Runs inside CreateEx; 0 goes on, -1 makes the
// creation fail (the window is destroyed and CreateEx returns false). CWnd::OnCreate is the
// default processing.
template <auto Handler>
constexpr MessageEntry OnWmCreate()
{
    static_assert(message_table_detail::kHasSignature<Handler, int(CREATESTRUCTA&)>, "int OnCreate(CREATESTRUCTA&)");
    return {WM_CREATE, 0, 0, &message_table_detail::CreateThunk<Handler>};
}

// WM_DESTROY: void OnDestroy(). The window still exists; its children are destroyed after it.
// CWnd::OnDestroy is the default processing. The message's result is 0.
template <auto Handler>
constexpr MessageEntry OnWmDestroy()
{
    static_assert(message_table_detail::kHasSignature<Handler, void()>, "void OnDestroy()");
    return {WM_DESTROY, 0, 0, &message_table_detail::VoidThunk<Handler>};
}

// WM_TIMER: void OnTimer(UINT_PTR id), id as given to SetTimer. CWnd::OnTimer is the default
// processing. The message's result is 0.
template <auto Handler>
constexpr MessageEntry OnWmTimer()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT_PTR)>, "void OnTimer(UINT_PTR)");
    return {WM_TIMER, 0, 0, &message_table_detail::TimerThunk<Handler>};
}

// The pointer over or pressed in the client area: Message is WM_MOUSEMOVE or a button message
// (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK and the R and M ones; double-clicks arrive only
// for classes registered with CS_DBLCLKS): void OnSomething(UINT keys, POINT point), keys the MK_*
// flags of the buttons and Shift and Ctrl held, point in client coordinates (negative left of or
// above the client area, while the window holds the capture). The message's result is 0; the
// handler calls Default() where the system's own handling must still run (a system control's).
template <UINT Message, auto Handler>
constexpr MessageEntry OnMouse()
{
    static_assert(message_table_detail::IsMouseMessage(Message), "WM_MOUSEMOVE or a button message");
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT, POINT)>, "void OnSomething(UINT, POINT)");
    return {Message, 0, 0, &message_table_detail::MouseThunk<Handler>};
}

// WM_MOUSEWHEEL: void OnMouseWheel(UINT keys, int delta, POINT screenPoint); delta positive away
// from the user, in multiples of WHEEL_DELTA for a notched wheel; the point in screen coordinates.
template <auto Handler>
constexpr MessageEntry OnWmMouseWheel()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT, int, POINT)>,
                  "void OnMouseWheel(UINT, int, POINT)");
    return {WM_MOUSEWHEEL, 0, 0, &message_table_detail::WheelThunk<Handler>};
}

// WM_MOUSELEAVE: void OnMouseLeave(). Arrives once after CWnd::TrackMouseLeave, when the pointer
// leaves the client area.
template <auto Handler>
constexpr MessageEntry OnWmMouseLeave()
{
    static_assert(message_table_detail::kHasSignature<Handler, void()>, "void OnMouseLeave()");
    return {WM_MOUSELEAVE, 0, 0, &message_table_detail::VoidThunk<Handler>};
}

// Keys of the focus window: Message is WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP (keys with
// Alt held, and F10) or WM_CHAR: void OnSomething(UINT key, UINT repeatCount, UINT flags); key the
// virtual key (WM_CHAR: the character code), flags the upper word of lParam (scan code in bits
// 0-7, KF_EXTENDED, KF_ALTDOWN, KF_REPEAT, KF_UP). The result is 0; a handler of the system keys
// calls Default() for what it leaves alone, or Alt+F4 and the window menu stop working.
template <UINT Message, auto Handler>
constexpr MessageEntry OnKey()
{
    static_assert(message_table_detail::IsKeyMessage(Message), "WM_KEYDOWN, WM_KEYUP, WM_SYSKEY* or WM_CHAR");
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT, UINT, UINT)>,
                  "void OnSomething(UINT, UINT, UINT)");
    return {Message, 0, 0, &message_table_detail::KeyThunk<Handler>};
}

// WM_PAINT: void OnPaint(const PaintDc& paint); BeginPaint and EndPaint are done around the
// handler, paint.Paint().rcPaint is the area to draw. The message's result is 0.
template <auto Handler>
constexpr MessageEntry OnWmPaint()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(const PaintDc&)>, "void OnPaint(const PaintDc&)");
    return {WM_PAINT, 0, 0, &message_table_detail::PaintThunk<Handler>};
}

// WM_ERASEBKGND: bool OnEraseBkgnd(HDC dc); true when the background counts as erased (a window
// that paints all of itself returns true and draws nothing here).
template <auto Handler>
constexpr MessageEntry OnWmEraseBkgnd()
{
    static_assert(message_table_detail::kHasSignature<Handler, bool(HDC)>, "bool OnEraseBkgnd(HDC)");
    return {WM_ERASEBKGND, 0, 0, &message_table_detail::EraseThunk<Handler>};
}

// WM_HSCROLL or WM_VSCROLL: void OnScroll(UINT code, int position, HWND scrollBar); code SB_*,
// position the thumb's for SB_THUMBPOSITION and SB_THUMBTRACK (0 otherwise), scrollBar the scroll
// bar control or null for the window's own scroll bars. The result is 0.
template <UINT Message, auto Handler>
constexpr MessageEntry OnScroll()
{
    static_assert(message_table_detail::IsScrollMessage(Message), "WM_HSCROLL or WM_VSCROLL");
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT, int, HWND)>,
                  "void OnScroll(UINT, int, HWND)");
    return {Message, 0, 0, &message_table_detail::ScrollThunk<Handler>};
}

// WM_DRAWITEM: void OnDrawItem(const DRAWITEMSTRUCT& item), for owner-drawn controls and menu
// items (CtlType ODT_MENU; the items of a COwnerDrawnMenu go to the menu instead). Result TRUE.
template <auto Handler>
constexpr MessageEntry OnWmDrawItem()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(const DRAWITEMSTRUCT&)>,
                  "void OnDrawItem(const DRAWITEMSTRUCT&)");
    return {WM_DRAWITEM, 0, 0, &message_table_detail::DrawItemThunk<Handler>};
}

// WM_MEASUREITEM: void OnMeasureItem(MEASUREITEMSTRUCT& item); the handler sets itemHeight (and
// itemWidth for menus). As WM_DRAWITEM for menus. Result TRUE.
template <auto Handler>
constexpr MessageEntry OnWmMeasureItem()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(MEASUREITEMSTRUCT&)>,
                  "void OnMeasureItem(MEASUREITEMSTRUCT&)");
    return {WM_MEASUREITEM, 0, 0, &message_table_detail::MeasureItemThunk<Handler>};
}

// WM_CTLCOLOR* (Message one of WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC): HBRUSH OnCtlColor(HDC dc,
// HWND control); the handler sets the text and background colours on dc and returns the brush for
// the rest of the background, which it keeps alive (null: the handler returns Default()'s brush
// itself when it wants the system's).
template <UINT Message, auto Handler>
constexpr MessageEntry OnCtlColor()
{
    static_assert(message_table_detail::IsCtlColorMessage(Message), "a WM_CTLCOLOR* message");
    static_assert(message_table_detail::kHasSignature<Handler, HBRUSH(HDC, HWND)>, "HBRUSH OnCtlColor(HDC, HWND)");
    return {Message, 0, 0, &message_table_detail::CtlColorThunk<Handler>};
}

// WM_SETCURSOR: bool OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage); window the one
// under the pointer (this one or a child), hitTest HT*, mouseMessage the mouse message that caused
// it (0 in menu mode). True when the handler set the cursor; `return Default() != 0` keeps the
// class cursor.
template <auto Handler>
constexpr MessageEntry OnWmSetCursor()
{
    static_assert(message_table_detail::kHasSignature<Handler, bool(HWND, UINT, UINT)>,
                  "bool OnSetCursor(HWND, UINT, UINT)");
    return {WM_SETCURSOR, 0, 0, &message_table_detail::SetCursorThunk<Handler>};
}

// WM_CONTEXTMENU: void OnContextMenu(HWND window, POINT screenPoint); window the one clicked (this
// one or a child); the point in screen coordinates, (-1, -1) when the menu key or Shift+F10 asked.
template <auto Handler>
constexpr MessageEntry OnWmContextMenu()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HWND, POINT)>, "void OnContextMenu(HWND, POINT)");
    return {WM_CONTEXTMENU, 0, 0, &message_table_detail::ContextMenuThunk<Handler>};
}

// WM_CAPTURECHANGED: void OnCaptureChanged(HWND newCapture); this window lost the mouse capture to
// newCapture (null: released).
template <auto Handler>
constexpr MessageEntry OnWmCaptureChanged()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HWND)>, "void OnCaptureChanged(HWND)");
    return {WM_CAPTURECHANGED, 0, 0, &message_table_detail::WindowArgThunk<Handler, true>};
}

// WM_KILLFOCUS: void OnKillFocus(HWND newFocus), newFocus null when no window of this thread gets
// it. A system control's handler calls Default() (the edit hides its caret there).
template <auto Handler>
constexpr MessageEntry OnWmKillFocus()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HWND)>, "void OnKillFocus(HWND)");
    return {WM_KILLFOCUS, 0, 0, &message_table_detail::WindowArgThunk<Handler, false>};
}

// WM_SETFOCUS: void OnSetFocus(HWND oldFocus), oldFocus possibly null.
template <auto Handler>
constexpr MessageEntry OnWmSetFocus()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HWND)>, "void OnSetFocus(HWND)");
    return {WM_SETFOCUS, 0, 0, &message_table_detail::WindowArgThunk<Handler, false>};
}

// WM_INITMENUPOPUP: void OnInitMenuPopup(HMENU menu, UINT position, bool windowMenu); a popup menu
// owned by this window is about to open (position: its index in its parent menu); the handler
// checks, greys or adds items.
template <auto Handler>
constexpr MessageEntry OnWmInitMenuPopup()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HMENU, UINT, bool)>,
                  "void OnInitMenuPopup(HMENU, UINT, bool)");
    return {WM_INITMENUPOPUP, 0, 0, &message_table_detail::InitMenuPopupThunk<Handler>};
}

// WM_MENUSELECT: void OnMenuSelect(UINT item, UINT flags, HMENU menu); item the command id (for an
// item with MF_POPUP in flags: its index in menu), flags MF_*; flags 0xFFFF with a null menu when
// the menu closed.
template <auto Handler>
constexpr MessageEntry OnWmMenuSelect()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT, UINT, HMENU)>,
                  "void OnMenuSelect(UINT, UINT, HMENU)");
    return {WM_MENUSELECT, 0, 0, &message_table_detail::MenuSelectThunk<Handler>};
}

// Any message without a cracker, uncracked: LRESULT OnSomething(WPARAM wParam, LPARAM lParam). The
// handler's result is the message's result; the handler calls Default() itself where it wants
// default processing.
template <UINT Message, auto Handler>
constexpr MessageEntry OnMessage()
{
    static_assert(message_table_detail::kHasSignature<Handler, LRESULT(WPARAM, LPARAM)>,
                  "LRESULT OnSomething(WPARAM, LPARAM)");
    static_assert(Message != WM_COMMAND, "WM_COMMAND entries name their command: OnCommand");
    static_assert(!message_table_detail::HasCracker(Message), "this message has a typed entry");
    return {Message, 0, 0, &message_table_detail::RawThunk<Handler>};
}

// WM_COMMAND with command id Id and notification code Notification (0: a menu item, an
// accelerator, or a button click): void OnSomething(). The message's result is 0.
template <UINT Id, auto Handler, UINT Notification = 0>
constexpr MessageEntry OnCommand()
{
    static_assert(message_table_detail::kHasSignature<Handler, void()>, "void OnSomething()");
    static_assert(Id <= 0xFFFF && Notification <= 0xFFFF, "command ids and codes are 16-bit");
    return {WM_COMMAND, Id, Notification, &message_table_detail::VoidThunk<Handler>};
}

// WM_COMMAND of a menu item (no control window, notification 0) with an id from First to Last:
// void OnSomething(UINT id).
template <UINT First, UINT Last, auto Handler>
constexpr MessageEntry OnCommandRange()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(UINT)>, "void OnSomething(UINT id)");
    static_assert(First <= Last && Last <= 0xFFFF, "command ids are 16-bit");
    return {WM_COMMAND, 0, 0, &message_table_detail::CommandIdThunk<Handler>,
            &message_table_detail::InCommandRange<First, Last>};
}

// WM_COMMAND sent by the control object Control (a data member of the window's class, a CWnd or
// derived), told apart by its window handle: skinned controls all have control id 0. Any
// notification code: void OnSomething().
template <auto Control, auto Handler>
constexpr MessageEntry OnControl()
{
    static_assert(message_table_detail::kHasSignature<Handler, void()>, "void OnSomething()");
    return {WM_COMMAND, 0, 0, &message_table_detail::VoidThunk<Handler>, &message_table_detail::FromControl<Control>};
}

// WM_COMMAND sent by one of the controls of the array (or container) member Controls:
// void OnSomething(std::size_t index), index of the sender in the array.
template <auto Controls, auto Handler>
constexpr MessageEntry OnControlArray()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(std::size_t)>, "void OnSomething(std::size_t)");
    return {WM_COMMAND, 0, 0, &message_table_detail::ArrayThunk<Controls, Handler>,
            &message_table_detail::FromControlArray<Controls>};
}

// WM_COMMAND sent by any control window (entries for particular controls come first in the table):
// void OnSomething(HWND control, UINT id, UINT notification).
template <auto Handler>
constexpr MessageEntry OnAnyControl()
{
    static_assert(message_table_detail::kHasSignature<Handler, void(HWND, UINT, UINT)>,
                  "void OnSomething(HWND, UINT, UINT)");
    return {WM_COMMAND, 0, 0, &message_table_detail::AnyControlThunk<Handler>, &message_table_detail::FromAnyControl};
}

// The reflected twins: a control's own handling of a notification its parent received, with the
// signature of the parent's entry; the result is the parent's answer.
template <UINT Message, auto Handler>
constexpr MessageEntry OnReflectScroll()
{
    MessageEntry entry = OnScroll<Message, Handler>();
    entry.message += kReflectBase;
    return entry;
}

template <auto Handler>
constexpr MessageEntry OnReflectDrawItem()
{
    MessageEntry entry = OnWmDrawItem<Handler>();
    entry.message += kReflectBase;
    return entry;
}

template <auto Handler>
constexpr MessageEntry OnReflectMeasureItem()
{
    MessageEntry entry = OnWmMeasureItem<Handler>();
    entry.message += kReflectBase;
    return entry;
}

template <UINT Message, auto Handler>
constexpr MessageEntry OnReflectCtlColor()
{
    MessageEntry entry = OnCtlColor<Message, Handler>();
    entry.message += kReflectBase;
    return entry;
}

// A reflected notification without a cracker (WM_DELETEITEM, WM_COMPAREITEM), uncracked:
// LRESULT OnSomething(WPARAM, LPARAM), the parameters as the parent received them.
template <UINT Message, auto Handler>
constexpr MessageEntry OnReflect()
{
    static_assert(message_table_detail::kHasSignature<Handler, LRESULT(WPARAM, LPARAM)>,
                  "LRESULT OnSomething(WPARAM, LPARAM)");
    static_assert(Message != WM_COMMAND, "reflected commands name their notification: OnReflectCommand");
    static_assert(!message_table_detail::HasCracker(Message), "this notification has a typed reflected entry");
    return {kReflectBase + Message, 0, 0, &message_table_detail::RawThunk<Handler>};
}

// A notification code the control sent to its parent in WM_COMMAND, reflected back to the
// control: void OnSomething().
template <UINT Notification, auto Handler>
constexpr MessageEntry OnReflectCommand()
{
    static_assert(message_table_detail::kHasSignature<Handler, void()>, "void OnSomething()");
    return {kReflectBase + WM_COMMAND, 0, Notification, &message_table_detail::VoidThunk<Handler>};
}
