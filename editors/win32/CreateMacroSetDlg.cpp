#include "CreateMacroSetDlg.h"

#include "DialogIds.h"
#include "MacroManagerModel.h"
#include "SkinMessages.h"
#include "Text.h"

#include <optional>

namespace {

constexpr int kNameKey = 1;
constexpr int kButtonKeys[] = {2, 3, 4}; // OK, Cancel, Cancel
// White text in the dark well of the picture.
constexpr COLORREF kFieldTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kFieldBackColour = RGB(8, 9, 11);
constexpr int kFieldTextHeight = 16;
constexpr WPARAM kReturnReleased = 13;

} // namespace

MessageSpan CCreateMacroSetDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnMessage<WM_EDIT_NOTIFY, &CCreateMacroSetDlg::OnEditNotify>(),
        OnControlArray<&CCreateMacroSetDlg::m_buttons, &CCreateMacroSetDlg::OnButton>(),
    };
    return kEntries;
}

CCreateMacroSetDlg::CCreateMacroSetDlg() : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_create_macro_set.ini") {}

BOOL CCreateMacroSetDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    // The edit control is as high as its text and sits in the middle of its well.
    const RECT well = SkinLoader::RectOf(skin.Pos(kNameKey));
    const int textHeight = Scaled(kFieldTextHeight);
    const int top = well.top + (well.bottom - well.top - textHeight) / 2;
    m_field.Create(RECT{well.left + Scaled(4), top, well.right - Scaled(4), top + textHeight}, m_hWnd, WS_TABSTOP);
    const ButtonPosition namePos = skin.Pos(kNameKey);
    m_field.SetAccessName(std::string(FieldText(namePos.name, sizeof namePos.name)));
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        skin.Button(m_buttons[i], kButtonKeys[i]);
    return TRUE;
}

BOOL CCreateMacroSetDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    m_field.SetTextColor(kFieldTextColour);
    m_field.SetBackColor(kFieldBackColour);
    m_field.ApplyFont();
    m_field.SetLimitText(static_cast<UINT>(kMacroNameLimit));
    ::SetFocus(m_field.GetSafeHwnd());
    return FALSE; // the focus is in the name field
}

LRESULT CCreateMacroSetDlg::OnEditNotify(WPARAM code, LPARAM)
{
    if (code == kReturnReleased)
        TryOk();
    return 0;
}

void CCreateMacroSetDlg::OnButton(std::size_t index)
{
    if (index == 0)
        TryOk();
    else
        EndDialog(IDCANCEL);
}

void CCreateMacroSetDlg::TryOk()
{
    const int length = ::GetWindowTextLengthA(m_field.GetSafeHwnd());
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(m_field.GetSafeHwnd(), text.data(), length + 1)));
    if (const std::optional<std::string> name = SetNameFromField(text)) {
        m_name = *name;
        EndDialog(IDOK);
    }
}
