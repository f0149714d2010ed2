#include "GameProfileDlg.h"

#include "Text.h"

#include <shlobj.h>

#include <utility>

// The file dialog gets the structure in its Windows 2000 form, 88 bytes in the shipped 32-bit
// program, as the program has always passed it.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEA) == 88, "the classic file dialog structure");

namespace {

constexpr COLORREF kEditTextColour = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kEditBackColour = RGB(0, 0, 0);
constexpr int kFirstEditKey = 1; // the name, then the game files
constexpr int kFirstBrowseKey = 5;
constexpr int kCloseKeys[] = {10, 11, 12}; // confirm, cancel, cancel
constexpr int kMessageKey = 13;
// Where the message goes in a skin that does not place it: below the game fields.
constexpr RECT kMessageFallback{20, 232, 420, 264};
constexpr SIZE kMessageInset{6, 2};

} // namespace

MessageSpan CGameProfileDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControlArray<&CGameProfileDlg::m_browseButtons, &CGameProfileDlg::OnBrowse>(),
        OnControlArray<&CGameProfileDlg::m_closeButtons, &CGameProfileDlg::OnClose>(),
    };
    return kEntries;
}

CGameProfileDlg::CGameProfileDlg(OpenFileDialog openFile)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_game_profile.ini"), m_openFile(std::move(openFile))
{
}

void CGameProfileDlg::SetValues(const std::string& name, const std::string& game0, const std::string& game1,
                                const std::string& game2)
{
    m_values = {name, game0, game1, game2};
}

void CGameProfileDlg::GetValues(std::string& name, std::string& game0, std::string& game1, std::string& game2) const
{
    name = m_values[0];
    game0 = m_values[1];
    game1 = m_values[2];
    game2 = m_values[3];
}

BOOL CGameProfileDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    for (std::size_t i = 0; i < m_edits.size(); ++i)
    {
        const ButtonPosition pos = skin.Pos(kFirstEditKey + static_cast<int>(i));
        m_edits[i].Create(SkinLoader::RectOf(pos), m_hWnd, WS_TABSTOP);
        m_edits[i].SetAccessName(std::string(FieldText(pos.name, sizeof pos.name)));
    }
    for (std::size_t i = 0; i < m_browseButtons.size(); ++i)
        skin.Button(m_browseButtons[i], kFirstBrowseKey + static_cast<int>(i));
    for (std::size_t i = 0; i < m_closeButtons.size(); ++i)
        skin.Button(m_closeButtons[i], kCloseKeys[i]);
    RECT message = SkinLoader::RectOf(skin.Pos(kMessageKey));
    if (message.right <= message.left || message.bottom <= message.top)
        message = Scaled(kMessageFallback);
    // The text keeps off the well's edge.
    ::InflateRect(&message, -Scaled(kMessageInset.cx), -Scaled(kMessageInset.cy));
    if (m_message.Create(message, m_hWnd, 0)) {
        m_message.SetCompact(1);
        m_message.SetWrap(1);
        m_message.SetHintEnabled(0);
    }
    return TRUE;
}

BOOL CGameProfileDlg::OnInitDialog()
{
    const BOOL result = CSkinDialog::OnInitDialog();
    for (CBmpEdit& edit : m_edits) {
        edit.SetTextColor(kEditTextColour);
        edit.SetBackColor(kEditBackColour);
        edit.ApplyFont();
    }
    m_edits[0].SetLimitText(kGameProfileNameLimit);
    for (std::size_t i = 0; i < m_edits.size(); ++i)
        ::SetWindowTextA(m_edits[i].GetSafeHwnd(), m_values[i].c_str());
    return result;
}

std::string CGameProfileDlg::EditText(std::size_t index) const
{
    HWND edit = m_edits[index].GetSafeHwnd();
    const int length = ::GetWindowTextLengthA(edit);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextA(edit, text.data(), length + 1)));
    return text;
}

void CGameProfileDlg::OnBrowse(std::size_t gameIndex)
{
    char desktop[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(m_hWnd, desktop, CSIDL_DESKTOP, FALSE))
        desktop[0] = '\0';
    const GameFileQuestion question = GameFileQuestionFor(FieldText(desktop));
    char file[MAX_PATH];
    CopyToField(file, question.initialFile);

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = question.filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrDefExt = question.defaultExtension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (m_openFile && m_openFile(&dialog)) {
        file[sizeof file - 1] = '\0';
        ::SetWindowTextA(m_edits[1 + gameIndex].GetSafeHwnd(), file);
    }
}

void CGameProfileDlg::OnClose(std::size_t index)
{
    if (index == 0) {
        std::array<std::string, 1 + kGameFileCount> typed;
        for (std::size_t i = 0; i < typed.size(); ++i)
            typed[i] = EditText(i);
        const std::string refusal = m_nameCheck ? m_nameCheck(typed[0]) : std::string();
        if (!refusal.empty()) {
            m_message.SetText(refusal, 1);
            HWND name = m_edits[0].GetSafeHwnd();
            ::SetFocus(name);
            ::SendMessageA(name, EM_SETSEL, 0, -1);
            return;
        }
        m_values = typed;
        EndDialog(IDOK);
    } else {
        EndDialog(IDCANCEL);
    }
}
