#include "KeyAssignmentDlg.h"

#include "DialogIds.h"
#include "KeyCapture.h"

#include <algorithm>

namespace {

constexpr int kNameFieldKey = 1;
constexpr int kCloseKeys[] = {2, 3, 4}; // OK, Cancel, Cancel
constexpr int kFirstToggleKey = 6;      // plain key, Shift, Ctrl, Win, Alt
constexpr COLORREF kNameTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kNameBackColour = RGB(0, 0, 0);

KeyAssignmentModel::Flags FlagsOf(const ButtonInfo& info)
{
    KeyAssignmentModel::Flags flags{};
    std::copy(std::begin(info.ShortcutFlags), std::end(info.ShortcutFlags), flags.begin());
    return flags;
}

} // namespace

MessageSpan CKeyAssignmentDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        // The capture must stop with the window whatever a derived dialog handles.
        Required(OnWmDestroy<&CKeyAssignmentDlg::OnDestroy>()),
        OnMessage<WM_KBDHOOK_KEY, &CKeyAssignmentDlg::OnCapturedKey>(),
        OnControlArray<&CKeyAssignmentDlg::m_toggles, &CKeyAssignmentDlg::OnToggle>(),
        OnControlArray<&CKeyAssignmentDlg::m_closeButtons, &CKeyAssignmentDlg::OnClose>(),
    };
    return kEntries;
}

CKeyAssignmentDlg::CKeyAssignmentDlg(const ButtonInfo& info)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_assign_shortcut.ini"), m_model(info.ShortcutKey, FlagsOf(info), m_layout)
{
}

bool CKeyAssignmentDlg::StoreInto(ButtonInfo& info) const
{
    if (!m_confirmed)
        return false;
    m_model.StoreInto(info);
    return true;
}

BOOL CKeyAssignmentDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    m_nameField.Create(SkinLoader::RectOf(skin.Pos(kNameFieldKey)), m_hWnd, ES_CENTER | WS_DISABLED, kNameFieldId);
    for (std::size_t i = 0; i < m_closeButtons.size(); ++i)
        skin.Button(m_closeButtons[i], kCloseKeys[i]);
    for (std::size_t i = 0; i < m_toggles.size(); ++i) {
        skin.Button(m_toggles[i], kFirstToggleKey + static_cast<int>(i));
        m_toggles[i].SetToggleMode(1);
    }
    return TRUE;
}

BOOL CKeyAssignmentDlg::OnInitDialog()
{
    const BOOL result = CSkinDialog::OnInitDialog();
    m_nameField.SetTextColor(kNameTextColour);
    m_nameField.SetBackColor(kNameBackColour);
    m_nameField.ApplyFont();
    StartKeyCapture(m_hWnd);
    ShowKeyName();
    ShowToggles();
    return result;
}

bool CKeyAssignmentDlg::KeyActivatesButton(UINT virtualKey, HWND)
{
    return IsNavigationKey(virtualKey, KeyboardUsed());
}

LRESULT CKeyAssignmentDlg::OnCapturedKey(WPARAM virtualKey, LPARAM)
{
    if (IsNavigationKey(static_cast<UINT>(virtualKey), KeyboardUsed()))
        return 0;
    // Press and release alike: the last key touched is the one.
    m_model.KeyCaptured(static_cast<uint32_t>(virtualKey));
    ShowKeyName();
    return 0;
}

void CKeyAssignmentDlg::OnToggle(std::size_t index)
{
    m_model.ToggleClicked(static_cast<int>(index), m_toggles[index].GetChecked() != 0);
    ShowToggles();
}

void CKeyAssignmentDlg::OnClose(std::size_t index)
{
    m_confirmed = index == 0;
    EndDialog(m_confirmed ? IDOK : IDCANCEL);
}

void CKeyAssignmentDlg::OnDestroy()
{
    StopKeyCapture(m_hWnd);
}

void CKeyAssignmentDlg::ShowKeyName()
{
    ::SetWindowTextA(m_nameField.GetSafeHwnd(), m_model.KeyName().c_str());
}

void CKeyAssignmentDlg::ShowToggles()
{
    for (std::size_t i = 0; i < m_toggles.size(); ++i) {
        m_toggles[i].SetChecked(m_model.Checked(static_cast<int>(i)) ? 1 : 0);
        ::UpdateWindow(m_toggles[i].GetSafeHwnd());
    }
}
