// The framework's window: one C++ object per window, found from the window through GWLP_USERDATA
// (set when WM_NCCREATE arrives), with messages dispatched through the class's message table
// (MessageTable.h). Everything a window does runs on the thread that created it.
#pragma once

#include "MessageTable.h"

#include <windows.h>

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
    // class, or a class registered with RegisterWindowClass. False when the object already has a
    // window or the creation failed (including OnCreate returning -1).
    bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU menu);
    // False when there is no window or it could not be destroyed.
    bool DestroyWindow();

    // The window, or null before CreateEx and after destruction.
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Each fails (FALSE, 0) while the object has no window.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // WM_TIMER with id arrives every elapseMs; an existing timer with id is replaced.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs);
    BOOL KillTimer(UINT_PTR id);

protected:
    // The root of every class's table chain: no entries.
    static const MessageTable kMessages;

    // The table of the object's most derived class.
    virtual const MessageTable& Messages() const { return kMessages; }

    // Runs the table's handler for the message, or default processing when there is none.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window does with a message nobody handles: DefWindowProcA.
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled; outside a handler it does nothing.
    LRESULT Default();
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
    };

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    CurrentMessage m_current{};
    bool m_endsMessageLoop = false; // the application's main window: its destruction posts WM_QUIT
};
