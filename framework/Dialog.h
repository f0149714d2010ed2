// Dialogs created from dialog templates of the program's resources, modal or modeless. The dialog
// window is bound to its object before its first message (the dialog manager's procedure stays
// the default processing), so a dialog handles WM_CREATE, WM_INITDIALOG and everything else
// through its message table like any other window.
#pragma once

#include "Wnd.h"

class CDialog : public BaseWindow<CDialog> {
public:
    static MessageSpan MessageEntries();

    // templateId: a DIALOG resource of the program's module (or of instance, when given).
    explicit CDialog(UINT templateId, HINSTANCE instance = nullptr);

    // Runs the dialog modally over owner (disabled meanwhile): creates it, centres it over the
    // owner (over the screen without one), shows it and runs a message loop that gives the
    // dialog's windows their PreTranslateMessage before the dialog manager, until EndDialog.
    // Returns the code given to EndDialog, or -1 when the dialog could not be created. A WM_QUIT
    // arriving meanwhile ends the dialog with IDCANCEL and is posted again for the outer loop.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog modeless (a child template as a page of parent); shown when its
    // template says WS_VISIBLE. False when it could not be created.
    bool Create(HWND parent);
    // Ends a modal run with code (the window is destroyed when the loop returns); destroys a
    // modeless dialog.
    void EndDialog(INT_PTR code);

    bool IsModal() const { return m_modal; }

    // Ends every modal run of the calling thread as IDCANCEL, for a program that has been asked to
    // close (WM_CLOSE from another program, the end of the session): each running DoModal returns
    // IDCANCEL once the runs inside it have ended, and a DoModal started meanwhile returns IDCANCEL
    // at once without a window. What the system runs modally on the thread ends the same way: the
    // tracked menu is dismissed, and the system's dialogs open over the thread's windows (a file
    // dialog, a message box) are closed as Cancel. It holds until the outermost DoModal of the
    // thread has returned; without a DoModal running, only the system's menu and dialogs end.
    static void CancelAllModal();

protected:
    // WM_INITDIALOG: default processing (focus to the first control); TRUE lets the system set
    // the focus.
    virtual BOOL OnInitDialog();
    // IDOK and IDCANCEL commands (Return, Escape, the close box): end the dialog.
    virtual void OnOK();
    virtual void OnCancel();

private:
    LRESULT OnInitDialogMessage(WPARAM wParam, LPARAM lParam);
    void OnOkCommand() { OnOK(); }
    void OnCancelCommand() { OnCancel(); }
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    HWND CreateWindowFromTemplate(HWND parent);

    UINT m_templateId;
    HINSTANCE m_instance;
    CDialog* m_outerModal = nullptr; // the modal run this one runs inside, on the same thread
    bool m_modal = false;
    bool m_endModal = false;
    INT_PTR m_result = -1;
};
