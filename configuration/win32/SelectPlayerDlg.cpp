#include "SelectPlayerDlg.h"

#include "ExMenuTree.h"

#include <string>

namespace {

constexpr UINT kFirstPlayerCommand = kCmdFirstPlayer;
constexpr UINT kLastPlayerCommand = kCmdFirstPlayer + kPlayerCount - 1;

} // namespace

MessageSpan CSelectPlayerDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControlArray<&CSelectPlayerDlg::m_buttons, &CSelectPlayerDlg::OnButton>(),
        OnControl<&CSelectPlayerDlg::m_choice, &CSelectPlayerDlg::OnChoice>(),
        OnCommandRange<kFirstPlayerCommand, kLastPlayerCommand, &CSelectPlayerDlg::OnPlayerCommand>(),
    };
    return kEntries;
}

CSelectPlayerDlg::CSelectPlayerDlg(int32_t index)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_select_player.ini"), m_model(index)
{
}

BOOL CSelectPlayerDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    skin.Button(m_buttons[0], 4);
    skin.Button(m_buttons[1], 5);
    skin.Button(m_buttons[2], 6);
    skin.Button(m_choice, 7);
    return TRUE;
}

BOOL CSelectPlayerDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    ShowChoice();
    return TRUE;
}

void CSelectPlayerDlg::ShowChoice()
{
    m_choice.SetCaption(std::string(m_model.ChoiceText()));
    ::RedrawWindow(m_choice.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CSelectPlayerDlg::OnButton(std::size_t index)
{
    EndDialog(index == 0 ? IDOK : IDCANCEL);
}

void CSelectPlayerDlg::OnChoice()
{
    const RECT button = m_choice.GetWindowRect();
    CExMenuTree menu(PlayerMenu(), SkinPercent());
    // The choice arrives as a menu command once the menu has closed.
    menu.Root().TrackAndPost(m_hWnd, button.left, button.bottom, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON);
    PostMessage(WM_NULL);
    m_choice.SetChecked(0);
    m_choice.Invalidate();
}

void CSelectPlayerDlg::OnPlayerCommand(UINT id)
{
    m_model.MenuChosen(static_cast<int>(id));
    ShowChoice();
}
