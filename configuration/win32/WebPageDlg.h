// The update page and the help page of the main window: a skinned child page with one button that,
// pressed, gives way to the web browser control showing the page's address on the support site.
// Where the control cannot be made, the address opens in the user's default browser instead.
#pragma once

#include "DialogIds.h"
#include "ShellAddressOpener.h"
#include "SkinDialog.h"
#include "WebBrowserHost.h"
#include "WebPage.h"

#include <string>

class CWebPageDlg : public BaseWindow<CWebPageDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    // Where the browser control sits on the page (client coordinates).
    static constexpr RECT kBrowserRect{0, 0, 790, 330};

    // opener: where the address goes when the browser control cannot be made. browserClass: the
    // control to make (tests name a missing one).
    CWebPageDlg(const char* skinFileName, std::string initialAddress, AddressOpener& opener,
                const CLSID& browserClass = kWebBrowserClassId);

    // The button's status-line hint (the main window gives the language module's text); kept
    // until the button exists.
    void SetButtonHint(const std::string& hint);
    // Replaces the address unless it is the same without regard to case; an open page keeps what
    // it loaded. True when the address changed.
    bool SetAddress(const std::string& address) { return m_page.SetAddress(address); }

    const WebPage& Page() const { return m_page; }
    CBitmapBtn& OpenButton() { return m_openButton; }
    const CWebBrowser2& Browser() const { return m_browser; }

    // Keys typed into the browser control go to it alone (its accelerators, then its windows).
    bool PreTranslateMessage(MSG& message) override;

protected:
    BOOL LoadSkin() override;

private:
    void OnOpen();
    void OnDestroy();

    WebPage m_page;
    AddressOpener& m_opener;
    CWebBrowser2 m_browser;
    CBitmapBtn m_openButton;
    std::string m_buttonHint;
};

// The driver and firmware update page.
class CUpdateDlg : public CWebPageDlg {
public:
    explicit CUpdateDlg(AddressOpener& opener = DefaultAddressOpener(), const CLSID& browserClass = kWebBrowserClassId)
        : CWebPageDlg("skins\\skin_update_control.ini", InitialUpdatePageAddress(), opener, browserClass)
    {
    }
};

// The help and support page.
class CAboutDlg : public CWebPageDlg {
public:
    explicit CAboutDlg(AddressOpener& opener = DefaultAddressOpener(), const CLSID& browserClass = kWebBrowserClassId)
        : CWebPageDlg("skins\\skin_help_control.ini", InitialHelpPageAddress(), opener, browserClass)
    {
    }
};
