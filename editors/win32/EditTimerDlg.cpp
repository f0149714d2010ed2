#include "EditTimerDlg.h"

#include "ExMenuTree.h"

#include "DeleteTimerDlg.h"
#include "DialogIds.h"
#include "PopupMenu.h"
#include "SkinMessages.h"
#include "TimerFields.h"

namespace {

constexpr int kTimerButtonKey = 3;
constexpr int kApplyKey = 4;
constexpr int kDeleteKey = 5;
constexpr int kCloseKeys[] = {10, 11, 12}; // OK, Cancel, Cancel

} // namespace

MessageSpan CEditTimerDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnMessage<WM_EDIT_NOTIFY, &CEditTimerDlg::OnEditNotify>(),
        OnMessage<WM_SPIN_VALUE, &CEditTimerDlg::OnSpinValue>(),
        OnControl<&CEditTimerDlg::m_timerButton, &CEditTimerDlg::OnTimerButton>(),
        OnControl<&CEditTimerDlg::m_applyButton, &CEditTimerDlg::OnApply>(),
        OnControl<&CEditTimerDlg::m_deleteButton, &CEditTimerDlg::OnDelete>(),
        OnControlArray<&CEditTimerDlg::m_closeButtons, &CEditTimerDlg::OnClose>(),
    };
    return kEntries;
}

CEditTimerDlg::CEditTimerDlg(TimerLibrary& timers)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_edit_timer.ini"), m_model(timers)
{
}

BOOL CEditTimerDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    CreateTimerFields(skin, m_hWnd, m_name, m_length);
    skin.Button(m_timerButton, kTimerButtonKey);
    skin.Button(m_applyButton, kApplyKey);
    skin.Button(m_deleteButton, kDeleteKey);
    for (std::size_t i = 0; i < m_closeButtons.size(); ++i)
        skin.Button(m_closeButtons[i], kCloseKeys[i]);
    return TRUE;
}

BOOL CEditTimerDlg::OnInitDialog()
{
    const BOOL result = CSkinDialog::OnInitDialog();
    StartTimerFields(m_name, m_length);
    ShowTimer();
    return result;
}

void CEditTimerDlg::ShowTimer()
{
    ::SetWindowTextA(m_name.GetSafeHwnd(), m_model.NameText().c_str());
    m_timerButton.SetCaption(m_model.Caption());
    m_timerButton.Invalidate(false);
    m_length.SetValue(m_model.Length());
}

void CEditTimerDlg::ReadNameField()
{
    m_model.NameChanged(WindowText(m_name));
}

LRESULT CEditTimerDlg::OnEditNotify(WPARAM, LPARAM)
{
    ReadNameField();
    return 0;
}

LRESULT CEditTimerDlg::OnSpinValue(WPARAM value, LPARAM controlId)
{
    m_model.SpinReported(static_cast<int32_t>(value), static_cast<int>(controlId));
    return 0;
}

UINT CEditTimerDlg::TrackTimerMenu()
{
    CExMenuTree menu(m_model.TimerMenu(), SkinPercent());
    const RECT button = m_timerButton.GetWindowRect();
    return menu.Root().Track(m_hWnd, button.left, button.bottom);
}

void CEditTimerDlg::OnTimerButton()
{
    if (const UINT id = TrackTimerMenu())
        OnTimerChosen(id);
}

void CEditTimerDlg::OnTimerChosen(UINT id)
{
    if (m_model.MenuChosen(static_cast<int>(id)))
        ShowTimer();
}

void CEditTimerDlg::OnApply()
{
    ReadNameField();
    if (m_model.Apply())
        ShowTimer();
}

void CEditTimerDlg::OnDelete()
{
    if (!m_model.CanDelete())
        return;
    CDeleteTimerDlg confirmation;
    if (confirmation.DoModal(m_hWnd) != IDOK)
        return;
    m_model.DeleteConfirmed();
    ShowTimer();
}

void CEditTimerDlg::OnClose(std::size_t index)
{
    if (index != 0) {
        EndDialog(IDCANCEL);
        return;
    }
    ReadNameField();
    m_model.Ok();
    EndDialog(IDOK);
}
