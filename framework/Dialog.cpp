#include "Dialog.h"

#include <utility>

MessageSpan CDialog::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnMessage<WM_INITDIALOG, &CDialog::OnInitDialogMessage>(),
        OnCommand<IDOK, &CDialog::OnOkCommand>(),
        OnCommand<IDCANCEL, &CDialog::OnCancelCommand>(),
    };
    return kEntries;
}

CDialog::CDialog(UINT templateId, HINSTANCE instance)
    : m_templateId(templateId), m_instance(instance != nullptr ? instance : ::GetModuleHandleA(nullptr))
{
}

// Every message reaches the object through the subclassed window procedure first; what the
// dialog manager hands on here has had its default processing already.
INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

HWND CDialog::CreateWindowFromTemplate(HWND parent)
{
    return CreateBound([&] {
        return ::CreateDialogParamA(m_instance, MAKEINTRESOURCEA(m_templateId), parent, &CDialog::DialogProc, 0);
    });
}

bool CDialog::Create(HWND parent)
{
    if (GetSafeHwnd() != nullptr)
        return false;
    m_modal = false;
    HWND hwnd = CreateWindowFromTemplate(parent);
    return hwnd != nullptr && hwnd == GetSafeHwnd();
}

namespace {

void CentreOver(HWND window, HWND owner)
{
    RECT area{};
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT self{};
    ::GetWindowRect(window, &self);
    const int width = self.right - self.left;
    const int height = self.bottom - self.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

INT_PTR CDialog::DoModal(HWND owner)
{
    if (GetSafeHwnd() != nullptr)
        return -1;
    if (owner != nullptr)
        owner = ::GetAncestor(owner, GA_ROOT);
    m_modal = true;
    m_endModal = false;
    m_result = -1;
    HWND hwnd = CreateWindowFromTemplate(owner);
    if (hwnd == nullptr || hwnd != GetSafeHwnd()) {
        m_modal = false;
        return -1;
    }
    const bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    CentreOver(hwnd, owner);
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);

    bool quit = false;
    WPARAM quitCode = 0;
    MSG message;
    while (!m_endModal && GetSafeHwnd() != nullptr) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = message.wParam;
            m_result = IDCANCEL;
            break;
        }
        if (got == -1)
            break;
        if (RoutePreTranslateMessage(message))
            continue;
        if (::IsDialogMessageA(hwnd, &message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    // The owner is enabled before the dialog goes, so that it gets the activation back.
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (GetSafeHwnd() != nullptr) {
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        DestroyWindow();
    }
    m_modal = false;
    if (quit)
        ::PostQuitMessage(static_cast<int>(quitCode));
    return m_result;
}

void CDialog::EndDialog(INT_PTR code)
{
    if (m_modal) {
        m_result = code;
        m_endModal = true;
        // Wakes the loop when the call came from outside a message of this thread.
        ::PostMessageA(GetSafeHwnd(), WM_NULL, 0, 0);
    } else {
        DestroyWindow();
    }
}

LRESULT CDialog::OnInitDialogMessage(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
