// The framework's window: one C++ object per window, found from the window through GWLP_USERDATA
// (set before the window's first message), with messages dispatched through the class's message
// table (MessageTable.h); a class with a table derives from BaseWindow<Self, Base>. Windows of the
// system's classes (BUTTON, EDIT, LISTBOX, dialogs) are subclassed as they are created: their own
// window procedure becomes the default processing.
// Everything a window does runs on the thread that created it.
#pragma once

#include "MessageTable.h"
#include "WindowsHook.h"

#include <windows.h>

#include <type_traits>

// The system's ANSI/wide switch macros of the same names would rename these members in some files
// and not in others; code that means the system calls names them with their A suffix.
#undef PostMessage
#undef SendMessage

class CWnd {
public:
    // The class CreateEx uses when it is given none: no class styles, the arrow cursor, no
    // background brush, no icon.
    static constexpr const char kDefaultClassName[] = "TolkFrameworkWnd";

    CWnd() = default;
    // Destroys the window if it still exists, without dispatching its last messages to this object
    // (whose derived parts are gone by then). A derived class that must see its WM_DESTROY calls
    // DestroyWindow in its own destructor.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Registers a window class whose windows dispatch to CWnd objects. True when the class exists
    // afterwards (also when it was registered before).
    static bool RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor = nullptr,
                                    HBRUSH background = nullptr, HICON icon = nullptr);

    // Creates the window of this object; OnCreate runs inside. className is null for the default
    // class, a class registered with RegisterWindowClass, or a system class ("BUTTON", "EDIT",
    // "LISTBOX"), which is subclassed before its first message. False when the object already has
    // a window or the creation failed (including OnCreate returning -1).
    bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menu);
    // A child window of parent at rect (parent's client coordinates) with control id id; style adds
    // to WS_CHILD. className as for CreateEx.
    bool CreateChild(const char* className, const RECT& rect, HWND parent, DWORD style, UINT id = 0,
                     const char* title = "");
    // False when there is no window or it could not be destroyed.
    bool DestroyWindow();

    // The window, or null before CreateEx and after destruction.
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object of a window of this framework on this thread's windows; null for other windows.
    static CWnd* FromHandle(HWND hwnd);

    // Gets each message of the message loop addressed to this window or a window inside it
    // (focus window first, then its parents) before it is translated and dispatched; true when it
    // was consumed. The base consumes nothing.
    virtual bool PreTranslateMessage(MSG& message);
    // Offers message to the objects of msg.hwnd and its ancestors, innermost first.
    static bool RoutePreTranslateMessage(MSG& message);

    // Thin wrappers; each does nothing (FALSE, empty) while the object has no window.
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    void Invalidate(bool erase = true) const;
    void MoveWindow(const RECT& rect, bool repaint = true) const;
    void ShowWindow(int command) const;
    bool IsWindowEnabled() const;
    void EnableWindow(bool enable) const;
    HWND GetParent() const;
    // The owner of a top-level window, else the parent.
    HWND GetOwnerOrParent() const;

    // Each fails (FALSE, 0) while the object has no window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // WM_TIMER with id arrives every elapseMs; an existing timer with id is replaced.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);
    // Asks for one WM_MOUSELEAVE when the pointer leaves the client area.
    bool TrackMouseLeave() const;

protected:
    // The root of every class's table chain: no entries.
    static const MessageTable kMessages;

    // The table of the object's most derived class.
    virtual const MessageTable& Messages() const { return kMessages; }

    // Runs the table's handler for the message, or default processing when there is none.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window does with a message nobody handles: DefWindowProcA.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled; outside a handler it does nothing. It runs
    // once per message: later calls (by another handler of the same message) return its result.
    LRESULT Default();
    // A control's answer to a notification its parent reflected (MessageTable.h, kReflectBase);
    // false when the control's table has no entry for it.
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Called after the last message (WM_NCDESTROY); the object no longer has a window. An object
    // that owns itself may delete itself here.
    virtual void PostNcDestroy() {}

    // Default processing for the typed handlers of MessageTable.h.
    int OnCreate(CREATESTRUCTA& create);
    void OnDestroy();
    void OnTimer(UINT_PTR id);

    HWND m_hWnd = nullptr;

private:
    friend class CWinApp;

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool defaulted;
        LRESULT defaultResult;
    };
    // Binds the object to the first window created on this thread while it exists.
    class CreationScope;

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // The table's answer for the message: required entries, then the ordinary one. False when the
    // table has neither.
    bool RunTable(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Binds this object to a window that was just created, subclassing a system class's window.
    void Attach(HWND hwnd);
    // The control window a parent's notification comes from, or null.
    static HWND NotifyingControl(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Runs CreateWindowExA (or, through create, the dialog manager) with this object bound to the
    // first window it creates before that window's first message.
    template <class Create>
    HWND CreateBound(Create&& create);

private:
    CurrentMessage m_current{};
    WNDPROC m_superProc = nullptr;  // the subclassed window's own procedure
    bool m_endsMessageLoop = false; // the application's main window: its destruction posts WM_QUIT
};

class CWnd::CreationScope {
public:
    explicit CreationScope(CWnd* window);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* m_outer; // the object of the creation this one interrupted (a WM_CREATE creating children)
    CWindowsHook m_hook;
};

template <class Create>
HWND CWnd::CreateBound(Create&& create)
{
    const CreationScope scope(this);
    return create();
}

namespace message_table_detail {

template <class C, class = void>
struct HasMessageEntries : std::false_type {
};
template <class C>
struct HasMessageEntries<C, std::void_t<decltype(&C::MessageEntries)>> : std::true_type {
};

} // namespace message_table_detail

// The base of every window class with a message table: Messages() answers T's table, which lists
// T::MessageEntries() and chains to Base's table (MessageTable.h). Base's constructors are
// inherited; T's constructors name BaseWindow in their initialiser lists.
template <class T, class Base = CWnd>
class BaseWindow : public Base {
public:
    using Base::Base;

protected:
    static const MessageTable kMessages;
    const MessageTable& Messages() const override { return kMessages; }

private:
    static MessageSpan OwnEntries()
    {
        static_assert(std::is_base_of_v<CWnd, Base>, "a window class derives from CWnd");
        if constexpr (message_table_detail::HasMessageEntries<Base>::value)
            static_assert(&T::MessageEntries != &Base::MessageEntries,
                          "a class deriving from BaseWindow declares its own MessageEntries()");
        return T::MessageEntries();
    }
};

template <class T, class Base>
const MessageTable BaseWindow<T, Base>::kMessages{&Base::kMessages, &BaseWindow::OwnEntries};
