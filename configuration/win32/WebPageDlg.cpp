#include "WebPageDlg.h"

#include "Log.h"

#include <optional>
#include <utility>

MessageSpan CWebPageDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControl<&CWebPageDlg::m_openButton, &CWebPageDlg::OnOpen>(),
        OnWmDestroy<&CWebPageDlg::OnDestroy>(),
    };
    return kEntries;
}

CWebPageDlg::CWebPageDlg(const char* skinFileName, std::string initialAddress, AddressOpener& opener,
                         const CLSID& browserClass)
    : BaseWindow(IDD_SKIN_PAGE, skinFileName), m_page(std::move(initialAddress)), m_opener(opener),
      m_browser(browserClass)
{
}

void CWebPageDlg::SetButtonHint(const std::string& hint)
{
    m_buttonHint = hint;
    m_openButton.SetHint(hint);
}

bool CWebPageDlg::PreTranslateMessage(MSG& message)
{
    const bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    if (!key || !m_browser.Contains(message.hwnd))
        return CSkinDialog::PreTranslateMessage(message);
    // Keys typed into the page are the browser's: its accelerators first, then its own windows,
    // never the dialog keys (Tab, Return, Escape) of the windows around it.
    if (!m_browser.TranslateKeyMessage(message)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return true;
}

BOOL CWebPageDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    skin.Button(m_openButton, 1, true, m_buttonHint.empty() ? nullptr : m_buttonHint.c_str());
    return TRUE;
}

void CWebPageDlg::OnOpen()
{
    const std::optional<std::string> address = m_page.Open();
    if (!address)
        return;
    m_openButton.ShowWindow(SW_HIDE);
    if (m_browser.Create(m_hWnd, Scaled(kBrowserRect)) && m_browser.Navigate(*address))
        return;
    // Without the control (a system without a browser engine) the page still opens, outside.
    m_browser.Destroy();
    LogDebug("Web page control not available; opening %s outside", address->c_str());
    m_opener.OpenAddress(*address);
}

void CWebPageDlg::OnDestroy()
{
    // The control goes while the page it lives in still exists.
    m_browser.Destroy();
    CWnd::OnDestroy();
}
