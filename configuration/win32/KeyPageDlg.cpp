#include "KeyPageDlg.h"

#include "ExMenuTree.h"
#include "KeyMenu.h"
#include "LanguageStrings.h"
#include "SkinMessages.h"
#include "WarnDlg.h"

#include <cstdio>
#include <string>

namespace {

// Tags of the key buttons: the highlight line of key n answers tag 99 + n.
constexpr int32_t kFirstKeyTag = 100;
// Every line window covers this rectangle of the page; its mask lets only its own line through.
constexpr RECT kLineArea{131, 135, 504, 309};
constexpr UINT kLineWindowId = 6;
// The commands of the keys' assignment menus.
constexpr UINT kFirstAssignCommand = 1000;
constexpr UINT kLastAssignCommand = 6500;
static_assert(kFirstAssignCommand == kFirstKeyCommand && kLastAssignCommand == kLastKeyCommand);

} // namespace

MessageSpan CKeyPageDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControlArray<&CKeyPageDlg::m_keys, &CKeyPageDlg::OnKey>(),
        OnControlArray<&CKeyPageDlg::m_switches, &CKeyPageDlg::OnSwitch>(),
        OnControl<&CKeyPageDlg::m_mode, &CKeyPageDlg::OnMode>(),
        OnControl<&CKeyPageDlg::m_reset, &CKeyPageDlg::OnReset>(),
        OnMessage<WM_BUTTON_HOVER, &CKeyPageDlg::OnButtonHover>(),
        OnCommandRange<kFirstAssignCommand, kLastAssignCommand, &CKeyPageDlg::OnAssignCommand>(),
    };
    return kEntries;
}

CKeyPageDlg::CKeyPageDlg(ConfigDocument& document, KeyPageOwner& owner)
    : BaseWindow(IDD_KEY_PAGE, "skins\\skin_main_control.ini"), m_document(document), m_owner(owner)
{
    m_confirmReset = [](HWND parent) {
        CWarnDlg warning("skins\\skin_reset_warn.ini");
        return warning.DoModal(parent);
    };
}

BOOL CKeyPageDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    for (int i = 0; i < kKeyCount; ++i) {
        skin.Button(m_keys[i], 1 + i, true, m_owner.Text(IDS_HINT_KEY_BUTTON).c_str());
        m_keys[i].SetTag(kFirstKeyTag + i);
        skin.Button(m_switches[i], 10 + i, true, m_owner.Text(IDS_HINT_KEY_SWITCH).c_str());
        m_switches[i].SetToggleMode(1);
    }
    skin.Button(m_reset, 20, true, m_owner.Text(IDS_HINT_RESET).c_str());
    skin.Button(m_mode, 25, true, m_owner.Text(IDS_HINT_MODE).c_str());
    // Short captions with access keys: the page shares the main window's Alt+letter keys.
    m_reset.SetShortCaption(m_owner.Text(IDS_CAPTION_RESET));
    m_mode.SetShortCaption(m_owner.Text(IDS_CAPTION_MODE));
    m_mode.SetToggleMode(1);
    return TRUE;
}

CLineWnd& CKeyPageDlg::MadeLine(size_t index)
{
    CLineWnd& line = m_lines[index];
    // Made at the first hover over its key: most runs never show most lines.
    if (line.GetSafeHwnd() == nullptr && line.Create(Scaled(kLineArea), m_hWnd, kLineWindowId, 0)) {
        char mask[MAX_PATH];
        std::snprintf(mask, sizeof mask, "key%zu_line_mask.bmp", index + 1);
        line.SetPictures(SkinProgramFolder(), "key_line.bmp", mask, SkinScale());
    }
    return line;
}

BOOL CKeyPageDlg::OnInitDialog()
{
    const BOOL result = CSkinDialog::OnInitDialog();
    for (int i = 0; i < kKeyCount; ++i) {
        m_keys[i].SetAccessPrefix("G" + std::to_string(i + 1));
        m_keys[i].SetOpensMenu(true);
    }
    return result;
}

void CKeyPageDlg::Show(const KeyPageView& view)
{
    for (int i = 0; i < kKeyCount; ++i) {
        m_switches[i].SetChecked(view.switchChecked[i] ? 1 : 0);
        m_keys[i].SetCaption(view.captions[i]);
    }
    m_mode.SetChecked(view.modeChecked ? 1 : 0);
}

void CKeyPageDlg::OnKey(std::size_t index)
{
    const Profile* profile = m_document.CurrentProfile();
    if (profile == nullptr)
        return;
    m_editedKey = static_cast<int>(index);
    // The marks come from the assignment as it is when the menu opens.
    const ButtonInfo assignment = profile->Buttons[index];
    CExMenuTree menus(BuildKeyMenu(assignment, m_document.Macros(), m_document.Timers()), SkinPercent());
    CBitmapBtn& key = m_keys[index];
    key.SetHighlight(1);
    const RECT button = key.GetWindowRect();
    // The choice comes back as WM_COMMAND once the menu has closed.
    menus.Root().TrackAndPost(m_hWnd, button.left, button.bottom, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON);
    key.SetHighlight(0);
    ::RedrawWindow(key.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CKeyPageDlg::OnSwitch(std::size_t index)
{
    // The button has already flipped itself: its state is the user's choice.
    m_document.SetKeySwitch(static_cast<int>(index) + 1, m_switches[index].GetChecked() != 0);
    m_owner.RefreshAll();
}

void CKeyPageDlg::OnMode()
{
    m_document.SetMode(m_mode.GetChecked() != 0);
    m_owner.RefreshAll();
}

void CKeyPageDlg::OnReset()
{
    if (m_confirmReset(::GetParent(m_hWnd) != nullptr ? ::GetParent(m_hWnd) : m_hWnd) != IDOK)
        return;
    m_document.ResetToDefaults();
    m_owner.RefreshAll();
    m_owner.ApplyNow();
}

LRESULT CKeyPageDlg::OnButtonHover(WPARAM entered, LPARAM tag)
{
    const LPARAM line = tag - (kFirstKeyTag - 1);
    if (line < 1 || line > kKeyCount)
        return 0;
    const size_t index = static_cast<size_t>(line - 1);
    if (entered == 1)
        MadeLine(index).ShowWindow(SW_SHOW);
    else if (m_lines[index].GetSafeHwnd() != nullptr)
        m_lines[index].ShowWindow(SW_HIDE);
    return 0;
}

void CKeyPageDlg::OnAssignCommand(UINT id)
{
    Profile* profile = m_document.CurrentProfile();
    if (profile == nullptr || m_editedKey < 0)
        return;
    const KeyCommandOutcome outcome =
        HandleKeyCommand(static_cast<int>(id), m_editedKey, *profile, m_document.Macros(), m_document.Timers());
    bool changed = outcome.rebuildCaptions;
    if (outcome.dialog != KeyDialog::None)
        changed = m_owner.RunKeyDialog(m_editedKey, outcome) || changed;
    if (changed)
        m_owner.RefreshAll();
}
