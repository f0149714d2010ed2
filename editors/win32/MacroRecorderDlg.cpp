#include "MacroRecorderDlg.h"

#include "DialogIds.h"
#include "Text.h"
#include "ExMenuTree.h"
#include "WarnDlg.h"

#include <optional>
#include <string>
#include <utility>

namespace {

constexpr int kListKey = 2;
constexpr UINT kEventListId = 4096;
constexpr int kRecordKey = 3;
constexpr int kDelaySwitchKey = 4;
// The stop pictures, in the order of the page's picture arrays: normal, over, down, disabled.
constexpr const char* kStopPictures[] = {"stop_normal.jpg", "stop_over.jpg", "stop_down.jpg", "stop_disable.jpg"};

} // namespace

MessageSpan CMacroRecorderDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmDestroy<&CMacroRecorderDlg::OnDestroy>(),
        OnControl<&CMacroRecorderDlg::m_recordButton, &CMacroRecorderDlg::OnRecord>(),
        OnControl<&CMacroRecorderDlg::m_delaySwitch, &CMacroRecorderDlg::OnDelaySwitch>(),
        OnControl<&CMacroRecorderDlg::m_list, &CMacroRecorderDlg::OnListCommand>(),
        OnMessage<WM_KBDHOOK_KEY, &CMacroRecorderDlg::OnCapturedKey>(),
        OnMessage<kWmListRButton, &CMacroRecorderDlg::OnListRButton>(),
        OnMessage<kWmOpenPauseEdit, &CMacroRecorderDlg::OnOpenPauseEdit>(),
        OnCommandRange<kCmdRecordBefore, kCmdLastMouseButton, &CMacroRecorderDlg::OnMenuCommand>(),
    };
    return kEntries;
}

CMacroRecorderDlg::CMacroRecorderDlg(MacroLibrary& library, LastKeyMessage& lastKey,
                                     std::function<void(bool)> enableManagerControls)
    : BaseWindow(IDD_SKIN_PAGE, "skins\\skin_macro_record.ini"),
      m_model(library, lastKey, m_capture, m_layout, std::move(enableManagerControls))
{
}

CMacroRecorderDlg::~CMacroRecorderDlg()
{
    // Here, not in the base: OnDestroy must still find this object whole.
    DestroyWindow();
}

BOOL CMacroRecorderDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    m_list.Create(SkinLoader::RectOf(skin.Pos(kListKey)), m_hWnd, kEventListId);
    {
        const ButtonPosition listPos = skin.Pos(kListKey);
        m_list.SetAccessName(std::string(FieldText(listPos.name, sizeof listPos.name)));
    }
    m_list.SetColors(RGB(0, 0, 0), RGB(53, 160, 222), RGB(255, 255, 255));
    m_list.SetEditEndedHandler([this](ListEditEnd how, const std::string& text) { OnPauseEditEnded(how, text); });
    skin.Button(m_recordButton, kRecordKey);
    skin.Button(m_delaySwitch, kDelaySwitchKey);
    m_delaySwitch.SetToggleMode(1);

    const ButtonPosition record = skin.Pos(kRecordKey);
    m_recordSize = SIZE{record.right - record.left, record.bottom - record.top};
    ClientDc dc(m_hWnd);
    const HBITMAP whole[] = {skin.Main(), skin.Over(), skin.Down(), skin.Disabled()};
    const std::string folder = SkinProgramFolder();
    for (std::size_t i = 0; i < m_recordPictures.size(); ++i) {
        CutStateBitmap(dc.Get(), m_recordPictures[i], whole[i], record.left, record.top, record.right, record.bottom);
        LoadSkinPicture(folder, kStopPictures[i], skin.Scale(), m_stopPictures[i]);
    }
    m_model.LoadMacro(-1, -1);
    ShowModel();
    return TRUE;
}

void CMacroRecorderDlg::OnDestroy()
{
    if (m_model.Recording())
        m_capture.StopKeyCapture();
    if (m_keyboardRecording)
        CSkinDialog::SetKeysRecorded(false);
    m_keyboardRecording = false;
    Default();
}

void CMacroRecorderDlg::LoadMacro(int set, int macro)
{
    // A pause being typed belongs to the macro shown until now: the click that chose another macro
    // took the focus from the edit, and the list would only hear of it after this reload.
    m_list.EndOpenEdit(ListEditEnd::FocusLost);
    m_model.LoadMacro(set, macro);
    ShowModel();
}

void CMacroRecorderDlg::ShowModel()
{
    if (m_showsRecording != m_model.Recording()) {
        m_showsRecording = m_model.Recording();
        const auto& pictures = m_showsRecording ? m_stopPictures : m_recordPictures;
        m_recordButton.SetStateBitmaps(0, 0, m_recordSize.cx, m_recordSize.cy, pictures[0].Get(), pictures[1].Get(),
                                       pictures[2].Get(), pictures[3].Get());
        m_delaySwitch.EnableWindow(!m_showsRecording);
        if (m_showsRecording) {
            ::SetFocus(m_list.GetSafeHwnd());
        } else {
            m_list.EnableWindow(true);
        }
    }
    const ListBoxExModel& rows = m_model.List();
    m_list.ShowRows(rows);
    if (rows.Edit() && !m_list.IsEditing())
        // Opened from the queue: the menu command that asked for it may come while the menu is
        // still handing the focus back, which would end the edit at once.
        PostMessage(kWmOpenPauseEdit);
}

LRESULT CMacroRecorderDlg::OnOpenPauseEdit(WPARAM, LPARAM)
{
    const std::optional<ListEdit>& edit = m_model.List().Edit();
    if (!edit || m_list.IsEditing())
        return 0;
    m_list.Select(edit->row);
    m_list.BeginEditSelected();
    return 0;
}

void CMacroRecorderDlg::Warn(RecorderWarning warning)
{
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    if (warning == RecorderWarning::WarnMacroSet) {
        CWarnMacroSet dialog;
        dialog.DoModal(owner);
    } else if (warning == RecorderWarning::WarnMacroName) {
        CWarnMacroName dialog;
        dialog.DoModal(owner);
    }
}

void CMacroRecorderDlg::OnRecord()
{
    const bool byKeyboard = m_recordButton.KeyboardFocusShown();
    const RecorderWarning warning = m_model.RecordClicked();
    m_keyboardRecording = m_model.Recording() && byKeyboard;
    m_skipStartRelease = m_keyboardRecording;
    CSkinDialog::SetKeysRecorded(m_keyboardRecording);
    ShowModel();
    Warn(warning);
}

void CMacroRecorderDlg::OnDelaySwitch()
{
    m_model.SetRecordPauses(m_delaySwitch.GetChecked() != 0);
}

void CMacroRecorderDlg::OnListCommand()
{
    const int shown = m_list.Selection();
    if (shown != m_model.List().Selection())
        m_model.SelectRow(shown);
}

LRESULT CMacroRecorderDlg::OnCapturedKey(WPARAM wParam, LPARAM lParam)
{
    const CapturedKey key = WindowKeyCapture::KeyOf(wParam, lParam);
    if (!m_model.Recording())
        return 0;
    if (m_keyboardRecording && key.virtualKey == VK_ESCAPE) {
        // Escape ends a recording started from the keyboard, as the Stop button would; the windows
        // go on ignoring it until it is released (its key-down message comes after this report).
        if (!key.up) {
            const RecorderWarning warning = m_model.RecordClicked();
            m_keyboardRecording = false;
            CSkinDialog::SetKeysRecorded(false);
            CSkinDialog::IgnoreUntilReleased(VK_ESCAPE);
            ShowModel();
            Warn(warning);
        }
        return 0;
    }
    if (m_skipStartRelease && (key.virtualKey == VK_SPACE || key.virtualKey == VK_RETURN)) {
        m_skipStartRelease = false;
        if (key.up)
            return 0;
    }
    m_model.KeyCaptured(key);
    if (m_keyboardRecording && !m_model.Recording()) {
        m_keyboardRecording = false;
        CSkinDialog::SetKeysRecorded(false);
    }
    ShowModel();
    return 0;
}

void CMacroRecorderDlg::TrackContextMenu(bool atSelection)
{
    CExMenuTree menu(RecorderContextMenu(), SkinPercent());
    POINT at{};
    if (atSelection) {
        const RECT row = m_list.SelectedRowRect();
        at = POINT{row.left + 8, row.bottom};
    } else {
        ::GetCursorPos(&at);
    }
    // Posted: the command runs once the menu has closed and given the focus back, so that an edit
    // the command opens keeps it.
    menu.Root().TrackAndPost(m_hWnd, at.x, at.y);
}

LRESULT CMacroRecorderDlg::OnListRButton(WPARAM byKeyboard, LPARAM)
{
    if (!m_model.ContextMenuAllowed())
        return 0;
    TrackContextMenu(byKeyboard == 1);
    return 0;
}

void CMacroRecorderDlg::OnMenuCommand(UINT id)
{
    m_model.SelectRow(m_list.Selection());
    const RecorderWarning warning = m_model.Command(static_cast<int>(id));
    ShowModel();
    Warn(warning);
}

void CMacroRecorderDlg::OnPauseEditEnded(ListEditEnd how, const std::string& text)
{
    if (!m_model.List().Edit())
        return;
    m_model.EndPauseEdit(how, text);
    ShowModel();
}
