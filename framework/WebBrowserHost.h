// The web browser control inside one of our windows: a small in-place OLE container (client site,
// in-place site and frame in one object) that makes the control on demand as a visible child of a
// window, lets it load an address, and takes it down again. OLE must be initialised on the thread
// (OleInitialize, the program's start does it), which must be the thread of the parent window.
#pragma once

#include "ComPtr.h"

#include <windows.h>

#include <string>

struct IOleObject;
struct IOleInPlaceObject;
struct IOleInPlaceActiveObject;
struct IWebBrowser2;

// The system's web browser control, {8856F961-340A-11D0-A96B-00C04FD705A2}.
inline constexpr CLSID kWebBrowserClassId = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

class WebBrowserHost {
public:
    // classId: the control to make; another class id only where a test needs one that is missing.
    explicit WebBrowserHost(const CLSID& classId = kWebBrowserClassId);
    ~WebBrowserHost();
    WebBrowserHost(const WebBrowserHost&) = delete;
    WebBrowserHost& operator=(const WebBrowserHost&) = delete;

    // Makes the control and activates it in place as a visible child of parent at rect (the
    // parent's client coordinates). False, with nothing left behind, when there is no such control,
    // it refuses our site or it shows no window; false too when a control exists already.
    bool Create(HWND parent, const RECT& rect);
    // Loads address (ANSI) with no flags, no target frame, no post data and no headers. False when
    // there is no control or it refused the address; the control reports failures of the load
    // itself on its own page.
    bool Navigate(const std::string& address);
    // Deactivates and releases the control; its window goes with it. The destructor does it too.
    void Destroy();

    bool IsCreated() const { return m_browser.Get() != nullptr; }
    // The control's own window, or null without a control.
    HWND Window() const { return m_window; }
    // The address last handed to the control by a successful Navigate; empty before.
    const std::string& NavigatedAddress() const { return m_navigatedAddress; }

    // Offers a key message of the message loop to the control when it is addressed to the control's
    // window or a window inside it; true when the control used it (as an accelerator).
    bool TranslateKeyMessage(MSG& message);
    // Whether window is the control's window or lies inside it.
    bool Contains(HWND window) const;

private:
    class Site;

    CLSID m_classId;
    ComPtr<Site> m_site;
    ComPtr<IOleObject> m_object;
    ComPtr<IOleInPlaceObject> m_inPlace;
    ComPtr<IOleInPlaceActiveObject> m_active;
    ComPtr<IWebBrowser2> m_browser;
    HWND m_window = nullptr;
    std::string m_navigatedAddress;
};

// The browser control as the windows that hold one name it.
using CWebBrowser2 = WebBrowserHost;
