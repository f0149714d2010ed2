#include "MacroManagerDlg.h"

#include "CreateMacroSetDlg.h"
#include "DeleteMacroSet.h"
#include "DeleteMacroWarn.h"
#include "DialogIds.h"
#include "ExMenuTree.h"
#include "KeyCapture.h"
#include "MacroAdjustDlg.h"
#include "Text.h"
#include "WarnDlg.h"

#include <cstring>
#include <utility>

namespace {

constexpr int kSetButtonKey = 1;
constexpr int kListKey = 2;
constexpr int kAddKey = 3;
constexpr int kDeleteKey = 4;
constexpr int kSwitchKey = 5;
constexpr int kSwitchLabelKey = 10;
constexpr int kStatusKey = 11;
constexpr const char* kPauseCappedText = "Pause cut to 65535 ms";
constexpr const char* kCaptureFailedText = "No key can be captured";
constexpr int kCloseKeys[] = {6, 7, 9}; // OK, Cancel, close
constexpr COLORREF kListBackground = RGB(0, 0, 0);
constexpr COLORREF kListSelection = RGB(53, 160, 222);
constexpr COLORREF kListText = RGB(255, 255, 255);

} // namespace

MessageSpan CMacroManagerDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControl<&CMacroManagerDlg::m_setButton, &CMacroManagerDlg::OnSetButton>(),
        OnControl<&CMacroManagerDlg::m_addButton, &CMacroManagerDlg::OnAdd>(),
        OnControl<&CMacroManagerDlg::m_deleteButton, &CMacroManagerDlg::OnDelete>(),
        OnControl<&CMacroManagerDlg::m_switchButton, &CMacroManagerDlg::OnSwitch>(),
        OnControlArray<&CMacroManagerDlg::m_closeButtons, &CMacroManagerDlg::OnClose>(),
        OnCommand<kMacroListId, &CMacroManagerDlg::OnMacroSelectionChange, LBN_SELCHANGE>(),
        OnMessage<WM_MACRO_PAUSE_CAPPED, &CMacroManagerDlg::OnPauseCapped>(),
        OnMessage<WM_MACRO_CAPTURE_FAILED, &CMacroManagerDlg::OnCaptureFailed>(),
        OnWmDestroy<&CMacroManagerDlg::OnDestroy>(),
    };
    return kEntries;
}

CMacroManagerDlg::CMacroManagerDlg(MacroLibrary& library, int set, const ButtonInfo& key)
    : BaseWindow(IDD_SKIN_POPUP, "skins\\skin_macro_manager.ini"), m_library(library), m_openingSet(set),
      m_model(library, m_basicSlot, m_advancedSlot)
{
    std::memcpy(&m_key, &key, sizeof m_key);
    m_list.SetEditEndedHandler([this](ListEditEnd how, const std::string& text) { OnMacroEntryEnded(how, text); });
}

CMacroManagerDlg::~CMacroManagerDlg()
{
    // The pages go with the window; the model must not reach them afterwards.
    m_basicSlot.m_page = nullptr;
    m_advancedSlot.m_page = nullptr;
    DestroyWindow();
}

void CMacroManagerDlg::SetPageFactories(PageFactory basic, PageFactory advanced)
{
    m_basicFactory = std::move(basic);
    m_advancedFactory = std::move(advanced);
}

BOOL CMacroManagerDlg::LoadSkin()
{
    SkinLoader skin(*this, SkinFileName());
    m_frame = skin.Frame();
    skin.Button(m_setButton, kSetButtonKey);
    m_list.Create(SkinLoader::RectOf(skin.Pos(kListKey)), m_hWnd, kMacroListId);
    {
        const ButtonPosition listPos = skin.Pos(kListKey);
        m_list.SetAccessName(std::string(FieldText(listPos.name, sizeof listPos.name)));
    }
    skin.Button(m_addButton, kAddKey);
    skin.Button(m_deleteButton, kDeleteKey);
    skin.Button(m_switchButton, kSwitchKey);
    m_switchButton.SetToggleMode(1);
    if (m_switchLabel.Create(SkinLoader::RectOf(skin.Pos(kSwitchLabelKey)), m_hWnd, 0))
        m_switchLabel.SetCompact(1);
    if (m_statusLabel.Create(SkinLoader::RectOf(skin.Pos(kStatusKey)), m_hWnd, 0))
        m_statusLabel.SetCompact(1);
    for (std::size_t i = 0; i < m_closeButtons.size(); ++i)
        skin.Button(m_closeButtons[i], kCloseKeys[i]);
    return TRUE;
}

std::unique_ptr<CWnd> CMacroManagerDlg::MakePage(const PageFactory& factory, PageSlot& slot)
{
    if (!factory)
        return nullptr;
    std::unique_ptr<CWnd> window = factory(*this, m_frame);
    slot.m_page = dynamic_cast<MacroEditorPage*>(window.get());
    if (slot.m_page == nullptr || window->GetSafeHwnd() == nullptr) {
        slot.m_page = nullptr;
        return nullptr;
    }
    window->MoveWindow(m_frame);
    return window;
}

BOOL CMacroManagerDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    // The set button opens the set menu: the menu key opens it too.
    m_setButton.SetOpensMenu(true);
    m_list.SetColors(kListBackground, kListSelection, kListText);
    m_basicWindow = MakePage(m_basicFactory, m_basicSlot);
    m_advancedWindow = MakePage(m_advancedFactory, m_advancedSlot);
    m_model.Start(m_openingSet, m_key);
    ShowList();
    ShowPage();
    return TRUE;
}

void CMacroManagerDlg::ShowList()
{
    m_setButton.SetCaption(m_model.SetCaption());
    m_setButton.Invalidate(false);
    m_list.ShowRows(m_model.MacroList());
}

void CMacroManagerDlg::ShowPage()
{
    const bool basic = m_model.VisiblePage() == MacroPage::Basic;
    if (m_basicWindow)
        m_basicWindow->ShowWindow(basic ? SW_SHOW : SW_HIDE);
    if (m_advancedWindow)
        m_advancedWindow->ShowWindow(basic ? SW_HIDE : SW_SHOW);
    m_switchButton.SetChecked(m_model.SwitchPressed() ? 1 : 0);
    m_switchLabel.SetText(m_model.SwitchLabel(), 1);
}

std::array<CWnd*, 8> CMacroManagerDlg::Controls()
{
    return {&m_closeButtons[0], &m_closeButtons[1], &m_closeButtons[2], &m_setButton,
            &m_addButton,       &m_deleteButton,    &m_switchButton,    &m_list};
}

void CMacroManagerDlg::EnableControls(bool enable)
{
    m_model.EnableControls(enable);
    for (CWnd* control : Controls()) {
        control->EnableWindow(enable);
        control->Invalidate(false);
    }
}

UINT CMacroManagerDlg::TrackSetMenu()
{
    const RECT button = m_setButton.GetWindowRect();
    Menu sets = m_model.SetMenu();
    sets.width = button.right - button.left - 1;
    CExMenuTree menu(sets, SkinPercent());
    const UINT chosen = menu.Root().Track(m_hWnd, button.left + 1, button.bottom);
    // The button looks pressed no longer.
    m_setButton.SendMessage(BM_SETSTATE, FALSE, 0);
    ::RedrawWindow(m_setButton.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return chosen;
}

void CMacroManagerDlg::OnSetButton()
{
    if (const UINT id = TrackSetMenu())
        SetMenuChosen(id);
}

void CMacroManagerDlg::SetMenuChosen(UINT id)
{
    switch (m_model.SetMenuChosen(static_cast<int>(id))) {
    case ManagerDialog::CreateMacroSet: {
        CCreateMacroSetDlg dialog;
        if (dialog.DoModal(m_hWnd) == IDOK)
            m_model.SetNameEntered(dialog.Name());
        break;
    }
    case ManagerDialog::DeleteMacroSet: {
        CDeleteMacroSet confirmation;
        if (confirmation.DoModal(m_hWnd) == IDOK)
            m_model.DeleteSetConfirmed();
        break;
    }
    default: break;
    }
    ShowList();
}

void CMacroManagerDlg::OnAdd()
{
    switch (m_model.AddMacroClicked()) {
    case ManagerDialog::WarnMacroSet: {
        CWarnMacroSet warning;
        warning.DoModal(m_hWnd);
        break;
    }
    case ManagerDialog::NewMacroEntry: m_list.BeginNewEntry(); break;
    default: break;
    }
}

void CMacroManagerDlg::OnMacroEntryEnded(ListEditEnd how, const std::string& text)
{
    m_model.EndMacroEntry(how, text);
    ShowList();
}

void CMacroManagerDlg::OnDelete()
{
    switch (m_model.DeleteMacroClicked()) {
    case ManagerDialog::NoSelectMacroDelete: {
        CNoSelectMacroDelete warning;
        warning.DoModal(m_hWnd);
        break;
    }
    case ManagerDialog::DeleteMacroWarn: {
        CDeleteMacroWarn confirmation;
        if (confirmation.DoModal(m_hWnd) == IDOK)
            m_model.DeleteMacroConfirmed();
        ShowList();
        break;
    }
    default: break;
    }
}

void CMacroManagerDlg::OnMacroSelectionChange()
{
    // A click into the list while a new name is typed ends that entry first; the list reports it
    // once the click is over, and the selection follows from there.
    if (m_list.IsEditing())
        return;
    m_model.MacroSelectionChanged(m_list.Selection());
    if (m_list.Selection() != m_model.SelectedMacro())
        m_list.Select(m_model.SelectedMacro());
}

void CMacroManagerDlg::OnSwitch()
{
    // The button has already flipped itself: its state is the user's choice.
    m_model.SwitchClicked(m_switchButton.GetChecked() != 0);
    ShowPage();
}

void CMacroManagerDlg::OnClose(std::size_t index)
{
    if (index == 0) {
        if (m_model.Ok())
            EndDialog(IDOK);
    } else if (m_model.Cancel()) {
        EndDialog(IDCANCEL);
    }
}

LRESULT CMacroManagerDlg::OnPauseCapped(WPARAM, LPARAM)
{
    m_pausesCapped = true;
    m_statusLabel.SetText(kPauseCappedText, 1);
    return 0;
}

LRESULT CMacroManagerDlg::OnCaptureFailed(WPARAM, LPARAM)
{
    m_statusLabel.SetText(kCaptureFailedText, 1);
    return 0;
}

void CMacroManagerDlg::OnDestroy()
{
    // However the manager ends, a page's key capture ends with it and nothing stays disabled.
    const HWND target = KeyCaptureTarget();
    if (target != nullptr && (target == m_hWnd || ::IsChild(m_hWnd, target)))
        StopKeyCapture(target);
    EnableControls(true);
    Default();
}
