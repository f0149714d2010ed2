// Message tables: each window class has one static table of entries that map a message (or, for
// WM_COMMAND, a command id and notification code) to a member function with a typed signature. A
// table names its base class's table, so a class handles what its bases handle unless it has an
// entry of its own for the same message. Lookup is per object through CWnd::Messages(); there is
// no map from window handles to objects.
//
// A class declares, besides its handlers, in a protected section (derived classes chain to it):
//     const MessageTable& Messages() const override { return kMessages; }
//     static const MessageEntry kMessageEntries[];
//     static const MessageTable kMessages;
// and defines them in its source file:
//     const MessageEntry CMyWnd::kMessageEntries[] = {
//         OnWmCreate<&CMyWnd::OnCreate>(),
//         OnCommand<ID_EXIT, &CMyWnd::OnExit>(),
//     };
//     const MessageTable CMyWnd::kMessages{&CWnd::kMessages, CMyWnd::kMessageEntries};
// Both are constant-initialised, so tables are usable before any dynamic initialisation runs.
#pragma once

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
// scroll bar control) are first offered to the control's own object as kReflectBase + message with the
// same parameters; when its table has an entry for that, the control's answer is final.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

struct MessageEntry {
    UINT message;
    UINT commandId;    // WM_COMMAND only: the command or control id (LOWORD of wParam)
    UINT notification; // WM_COMMAND only: the notification code (HIWORD of wParam)
    MessageThunk thunk;
    MessageMatcher matches = nullptr; // when set, decides instead of commandId
};

class MessageTable {
public:
    // A table without entries of its own.
    constexpr explicit MessageTable(const MessageTable* base) : m_base(base), m_entries(nullptr), m_count(0) {}
    template <std::size_t N>
    constexpr MessageTable(const MessageTable* base, const MessageEntry (&entries)[N])
        : m_base(base), m_entries(entries), m_count(N)
    {
    }

    // The entry that handles the message: the first match in this table, else in its base chain;
    // null when none does. A WM_COMMAND without a control window (a menu item or an accelerator)
    // matches entries with notification 0.
    const MessageEntry* Find(const CWnd& window, UINT message, WPARAM wParam, LPARAM lParam) const;

private:
    const MessageTable* m_base;
    const MessageEntry* m_entries;
    std::size_t m_count;
};

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

HWND HwndOf(const CWnd& control);

template <auto Member>
bool FromControl(const CWnd& window, WPARAM, LPARAM lParam)
{
    using T = typename MemberOf<decltype(Member)>::Class;
    const auto& control = static_cast<const T&>(window).*Member;
    return lParam != 0 && reinterpret_cast<HWND>(lParam) == HwndOf(control);
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

} // namespace message_table_detail

// WM_CREATE: int OnCreate(CREATESTRUCTA& create). Runs inside CreateEx; 0 goes on, -1 makes the
// creation fail (the window is destroyed and CreateEx returns false). CWnd::OnCreate is the
// default processing.
template <auto Handler>
constexpr MessageEntry OnWmCreate()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), int (T::*)(CREATESTRUCTA&)>, "int OnCreate(CREATESTRUCTA&)");
    return {WM_CREATE, 0, 0, &message_table_detail::CreateThunk<Handler>};
}

// WM_DESTROY: void OnDestroy(). The window still exists; its children are destroyed after it.
// CWnd::OnDestroy is the default processing. The message's result is 0.
template <auto Handler>
constexpr MessageEntry OnWmDestroy()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)()>, "void OnDestroy()");
    return {WM_DESTROY, 0, 0, &message_table_detail::VoidThunk<Handler>};
}

// WM_TIMER: void OnTimer(UINT_PTR id), id as given to SetTimer. CWnd::OnTimer is the default
// processing. The message's result is 0.
template <auto Handler>
constexpr MessageEntry OnWmTimer()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)(UINT_PTR)>, "void OnTimer(UINT_PTR)");
    return {WM_TIMER, 0, 0, &message_table_detail::TimerThunk<Handler>};
}

// Any message, uncracked: LRESULT OnSomething(WPARAM wParam, LPARAM lParam). The handler's result
// is the message's result; the handler calls Default() itself where it wants default processing.
template <UINT Message, auto Handler>
constexpr MessageEntry OnMessage()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), LRESULT (T::*)(WPARAM, LPARAM)>,
                  "LRESULT OnSomething(WPARAM, LPARAM)");
    static_assert(Message != WM_COMMAND, "WM_COMMAND entries name their command: OnCommand");
    return {Message, 0, 0, &message_table_detail::RawThunk<Handler>};
}

// WM_COMMAND with command id Id and notification code Notification (0: a menu item, an
// accelerator, or a button click): void OnSomething(). The message's result is 0.
template <UINT Id, auto Handler, UINT Notification = 0>
constexpr MessageEntry OnCommand()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)()>, "void OnSomething()");
    static_assert(Id <= 0xFFFF && Notification <= 0xFFFF, "command ids and codes are 16-bit");
    return {WM_COMMAND, Id, Notification, &message_table_detail::VoidThunk<Handler>};
}

// WM_COMMAND sent by the control object Control (a data member of the window's class, a CWnd or
// derived), told apart by its window handle: skinned controls all have control id 0. Any
// notification code: void OnSomething().
template <auto Control, auto Handler>
constexpr MessageEntry OnControl()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)()>, "void OnSomething()");
    return {WM_COMMAND, 0, 0, &message_table_detail::VoidThunk<Handler>,
            &message_table_detail::FromControl<Control>};
}

// WM_COMMAND sent by one of the controls of the array (or container) member Controls:
// void OnSomething(std::size_t index), index of the sender in the array.
template <auto Controls, auto Handler>
constexpr MessageEntry OnControlArray()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)(std::size_t)>, "void OnSomething(std::size_t)");
    return {WM_COMMAND, 0, 0, &message_table_detail::ArrayThunk<Controls, Handler>,
            &message_table_detail::FromControlArray<Controls>};
}

// A message a control's parent reflected back to the control (kReflectBase + Message), uncracked:
// LRESULT OnSomething(WPARAM, LPARAM), the parameters as the parent received them; the result
// is the parent's answer (the brush of WM_CTLCOLOR*, TRUE for WM_DRAWITEM).
template <UINT Message, auto Handler>
constexpr MessageEntry OnReflect()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), LRESULT (T::*)(WPARAM, LPARAM)>,
                  "LRESULT OnSomething(WPARAM, LPARAM)");
    static_assert(Message != WM_COMMAND, "reflected commands name their notification: OnReflectCommand");
    return {kReflectBase + Message, 0, 0, &message_table_detail::RawThunk<Handler>};
}

// A notification code the control sent to its parent in WM_COMMAND, reflected back to the
// control: void OnSomething().
template <UINT Notification, auto Handler>
constexpr MessageEntry OnReflectCommand()
{
    using T = message_table_detail::ClassOf<Handler>;
    static_assert(std::is_same_v<decltype(Handler), void (T::*)()>, "void OnSomething()");
    return {kReflectBase + WM_COMMAND, 0, Notification, &message_table_detail::VoidThunk<Handler>};
}
