#include "CountdownTimerDlg.h"

#include "DialogIds.h"
#include "SkinMessages.h"
#include "TimerFields.h"

namespace {

constexpr int kButtonKeys[] = {10, 11, 12}; // OK, Cancel, Cancel

} // namespace

MessageSpan CCountdownTimerDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnMessage<WM_EDIT_NOTIFY, &CCountdownTimerDlg::OnEditNotify>(),
        OnMessage<WM_SPIN_VALUE, &CCountdownTimerDlg::OnSpinValue>(),
        OnControlArray<&CCountdownTimerDlg::m_buttons, &CCountdownTimerDlg::OnButton>(),
    };
    return kEntries;
}

CCountdownTimerDlg::CCountdownTimerDlg(const TimerLibrary& timers)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_count_down.ini"), m_model(timers)
{
}

BOOL CCountdownTimerDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    CreateTimerFields(skin, m_hWnd, m_name, m_length);
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        skin.Button(m_buttons[i], kButtonKeys[i]);
    return TRUE;
}

BOOL CCountdownTimerDlg::OnInitDialog()
{
    const BOOL result = CSkinDialog::OnInitDialog();
    StartTimerFields(m_name, m_length);
    ::SetWindowTextA(m_name.GetSafeHwnd(), m_model.NameText().c_str());
    m_length.SetValue(m_model.Length());
    return result;
}

void CCountdownTimerDlg::ReadNameField()
{
    m_model.NameChanged(WindowText(m_name));
}

LRESULT CCountdownTimerDlg::OnEditNotify(WPARAM, LPARAM)
{
    ReadNameField();
    return 0;
}

LRESULT CCountdownTimerDlg::OnSpinValue(WPARAM value, LPARAM controlId)
{
    m_model.SpinReported(static_cast<int32_t>(value), static_cast<int>(controlId));
    return 0;
}

void CCountdownTimerDlg::OnButton(std::size_t index)
{
    if (index != 0) {
        EndDialog(IDCANCEL);
        return;
    }
    // The name as it stands now, whether or not its last change was reported yet.
    ReadNameField();
    if (m_model.Ok())
        EndDialog(IDOK);
}
