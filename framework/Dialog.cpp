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

// The innermost DoModal running on this thread, and whether CancelAllModal holds.
thread_local CDialog* t_innermostModal = nullptr;
thread_local bool t_cancelAllModal = false;

// A dialog of the system's own (file dialogs and message boxes are of the dialog class) that is
// open over this thread's windows, not one of the framework's.
BOOL CALLBACK CloseSystemDialog(HWND window, LPARAM)
{
    char className[16] = {};
    if (::IsWindowVisible(window) && CWnd::FromHandle(window) == nullptr &&
        ::GetClassNameA(window, className, sizeof className) > 0 && lstrcmpA(className, "#32770") == 0)
        ::PostMessageA(window, WM_CLOSE, 0, 0); // the dialog manager makes it the dialog's Cancel
    return TRUE;
}

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

void CDialog::CancelAllModal()
{
    ::EndMenu();
    ::EnumThreadWindows(::GetCurrentThreadId(), &CloseSystemDialog, 0);
    if (t_innermostModal == nullptr)
        return;
    t_cancelAllModal = true;
    // Wakes the innermost loop when the call came from a sent message, which its GetMessage
    // handles without returning.
    ::PostMessageA(t_innermostModal->GetSafeHwnd(), WM_NULL, 0, 0);
}

INT_PTR CDialog::DoModal(HWND owner)
{
    if (GetSafeHwnd() != nullptr)
        return -1;
    if (t_cancelAllModal)
        return IDCANCEL;
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

    m_outerModal = t_innermostModal;
    t_innermostModal = this;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG message;
    while (!m_endModal && GetSafeHwnd() != nullptr) {
        if (t_cancelAllModal) {
            m_result = IDCANCEL;
            break;
        }
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
    t_innermostModal = m_outerModal;
    m_outerModal = nullptr;
    if (t_innermostModal == nullptr)
        t_cancelAllModal = false;
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
