#include "ConfigDlg.h"

#include "DialogIds.h"
#include "GameProfileDlg.h"
#include "KeyAssignmentDlg.h"
#include "MacroAdjustDlg.h"
#include "MacroManagerRun.h"
#include "MacroRecorderDlg.h"
#include "SelectPlayerDlg.h"
#include "TimerDialogs.h"
#include "Gdi.h"
#include "LanguageStrings.h"
#include "LinkNames.h"
#include "Log.h"
#include "NameTexts.h"
#include "ProfileStore.h"
#include "ProgramTexts.h"
#include "ResourceIds.h"
#include "SkinMessages.h"
#include "StatusTexts.h"
#include "Text.h"

#include <commdlg.h>

namespace {

// Where the status line sits on the main picture.
constexpr RECT kStatusRect{20, 569, 580, 588};
// Where the version texts are painted on the main picture.
constexpr POINT kSoftwareVersionAt{194, 14};
constexpr POINT kFirmwareVersionAt{294, 14};
constexpr MainPage kTabPages[] = {MainPage::Keys, MainPage::Update, MainPage::Help};
// Shows the notice kept by ShowNotice again, after the hints that were waiting in the queue.
constexpr UINT WM_SHOW_NOTICE = WM_APP + 21;
// How long an apply or a take-over waits for the shared block's lock.
constexpr uint32_t kBlockLockWaitMs = 5000;

// The classic (pre-Vista) file dialog over owner for a profile file; empty when cancelled.
std::string ChooseProfileFile(HWND owner, bool save)
{
    char file[MAX_PATH] = {};
    CopyToField(file, SkinProgramFolder() + "config\\.rkp");
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(OPENFILENAMEA); // 88 bytes in the 32-bit build: the classic dialog
    dialog.hwndOwner = owner;
    static const std::string filter = FileDialogFilter("Zentor Keyboard Profile(*.rkp)|*.rkp|");
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    // The extension the dialog adds to a name typed without one.
    dialog.lpstrDefExt = "rkp";
    if (save) {
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT;
        return ::GetSaveFileNameA(&dialog) ? std::string(file) : std::string();
    }
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    return ::GetOpenFileNameA(&dialog) ? std::string(file) : std::string();
}

// For the start-up figure in the debug output.
unsigned long MillisecondsSinceStart()
{
    FILETIME created{};
    FILETIME unused{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &unused, &unused, &unused))
        return 0;
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<unsigned long>((ticks(now) - ticks(created)) / 10000);
}

} // namespace

MessageSpan CConfigDlg::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnControlArray<&CConfigDlg::m_tabs, &CConfigDlg::OnTab>(),
        OnControlArray<&CConfigDlg::m_slots, &CConfigDlg::OnSlot>(),
        OnControl<&CConfigDlg::m_newGame, &CConfigDlg::OnNewGameProfile>(),
        OnControl<&CConfigDlg::m_editGame, &CConfigDlg::OnEditGameProfile>(),
        OnControl<&CConfigDlg::m_import, &CConfigDlg::OnImport>(),
        OnControl<&CConfigDlg::m_export, &CConfigDlg::OnExport>(),
        OnControl<&CConfigDlg::m_minimize, &CConfigDlg::OnMinimize>(),
        OnControl<&CConfigDlg::m_close, &CConfigDlg::OnCloseButton>(),
        OnControl<&CConfigDlg::m_ok, &CConfigDlg::OnOkButton>(),
        OnControl<&CConfigDlg::m_apply, &CConfigDlg::OnApplyButton>(),
        OnControl<&CConfigDlg::m_cancel, &CConfigDlg::OnCancelButton>(),
        OnMessage<WM_STATUS_HINT, &CConfigDlg::OnStatusHint>(),
        OnMessage<WM_SHOW_NOTICE, &CConfigDlg::OnShowNotice>(),
        OnMessage<WM_CFG_DEVICE_READY, &CConfigDlg::OnDeviceReady>(),
        OnMessage<WM_CFG_DATA_CHANGED, &CConfigDlg::OnDataChanged>(),
        OnMessage<WM_CFG_APPLY_ANSWER, &CConfigDlg::OnApplyAnswer>(),
        OnMessage<WM_QUERYDRAGICON, &CConfigDlg::OnQueryDragIcon>(),
        OnMessage<WM_CLOSE, &CConfigDlg::OnCloseMessage>(),
        OnMessage<WM_QUERYENDSESSION, &CConfigDlg::OnQueryEndSession>(),
        OnMessage<WM_ENDSESSION, &CConfigDlg::OnEndSession>(),
        OnWmPaint<&CConfigDlg::OnPaint>(),
    };
    return kEntries;
}

CConfigDlg::CConfigDlg()
    : BaseWindow(IDD_CONFIG_MAIN, "skins\\skin_main.ini"), m_document(SkinProgramFolder(), m_host),
      m_keyPage(m_document, *this)
{
}

CConfigDlg::~CConfigDlg()
{
    DestroyWindow();
}

BOOL CConfigDlg::LoadSkin()
{
    // The taskbar entry gets a system menu.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_SYSMENU);
    const std::string folder = SkinProgramFolder();
    m_language.Load(folder);
    m_statusPrefix = m_language.String(IDS_STATUS_PREFIX) + " : ";

    SkinLoader skin(*this, SkinFileName());
    // A button's hint, and its short caption (its name, with its access key) when it has one; a
    // module without captions gives empty ones, and the hint names the button.
    auto button = [&](CBitmapBtn& control, int key, UINT hint, UINT caption = 0) {
        skin.Button(control, key, true, m_language.String(hint).c_str());
        if (caption != 0)
            control.SetShortCaption(m_language.String(caption));
    };
    button(m_tabs[0], 1, IDS_HINT_TAB_KEYS, IDS_CAPTION_TAB_KEYS);
    button(m_tabs[1], 4, IDS_HINT_UPDATE, IDS_CAPTION_UPDATE);
    button(m_tabs[2], 5, IDS_HINT_HELP, IDS_CAPTION_HELP);
    button(m_newGame, 6, IDS_HINT_GAME_PROFILE_NEW, IDS_CAPTION_GAME_PROFILE_NEW);
    button(m_import, 7, IDS_HINT_IMPORT, IDS_CAPTION_IMPORT);
    button(m_export, 8, IDS_HINT_EXPORT, IDS_CAPTION_EXPORT);
    button(m_editGame, 9, IDS_HINT_GAME_PROFILE_EDIT, IDS_CAPTION_GAME_PROFILE_EDIT);
    for (int i = 0; i < kProfileCount; ++i) {
        button(m_slots[i], 10 + i, IDS_HINT_SLOT1 + i);
        m_labels[i].Create(SkinLoader::RectOf(skin.Pos(30 + i)), m_hWnd, static_cast<UINT>(30 + i));
        m_labels[i].SetHint(m_language.String(IDS_HINT_PROFILE_NAME1 + i));
    }
    button(m_minimize, 16, IDS_HINT_MINIMIZE, IDS_CAPTION_MINIMIZE);
    button(m_close, 17, IDS_HINT_CLOSE, IDS_CAPTION_CLOSE);
    button(m_ok, 20, IDS_HINT_OK, IDS_CAPTION_OK);
    button(m_apply, 21, IDS_HINT_APPLY, IDS_CAPTION_APPLY);
    button(m_cancel, 22, IDS_HINT_CANCEL, IDS_CAPTION_CANCEL);
    m_status.Create(Scaled(kStatusRect), m_hWnd, 0);

    // The pages, created once and only shown or hidden afterwards.
    m_frame = skin.Frame();
    if (m_keyPage.Create(m_hWnd)) {
        m_keyPage.MoveWindow(m_frame);
        m_keyPage.ShowWindow(SW_SHOW);
    }
    // The update and help pages are made when their tab is first clicked: most runs never show them.
    for (CWebPageDlg* page : {static_cast<CWebPageDlg*>(&m_updatePage), static_cast<CWebPageDlg*>(&m_helpPage)})
        page->SetButtonHint(m_language.String(IDS_HINT_UPDATE));
    m_page = MainPage::Keys;
    m_tabs[0].SetChecked(1);
    return TRUE;
}

bool CConfigDlg::RunKeyDialog(int keyIndex, const KeyCommandOutcome& outcome)
{
    switch (outcome.dialog) {
    case KeyDialog::Shortcut: return RunShortcutDialog(keyIndex);
    case KeyDialog::SelectPlayer: return RunPlayerDialog(outcome);
    case KeyDialog::MacroManager: RunMacroManagerDialog(keyIndex, outcome); return false;
    case KeyDialog::CreateTimer: RunCreateTimerDialog(m_hWnd, m_document.Timers(), m_document.Folder()); return false;
    case KeyDialog::EditTimer: RunEditTimerDialog(m_hWnd, m_document.Timers(), m_document.Folder()); return false;
    case KeyDialog::None: break;
    }
    return false;
}

// A dialog edits the slot and key it was opened for: the host may switch the slot or change the key
// while it is open (the block is taken over meanwhile), and the document decides where the edit
// lands.
bool CConfigDlg::RunShortcutDialog(int keyIndex)
{
    const std::optional<KeyEdit> edit = m_document.BeginKeyEdit(keyIndex + 1);
    if (!edit)
        return false;
    CKeyAssignmentDlg dialog(edit->openedWith);
    ButtonInfo edited = edit->openedWith;
    if (dialog.DoModal(m_hWnd) != IDOK || !dialog.StoreInto(edited))
        return false;
    return TellDialogEdit(m_document.StoreKeyEdit(*edit, edited));
}

bool CConfigDlg::RunPlayerDialog(const KeyCommandOutcome& outcome)
{
    const std::optional<PlayerEdit> edit = m_document.BeginPlayerEdit();
    if (!edit)
        return false;
    CSelectPlayerDlg dialog(outcome.mediaOption);
    if (dialog.DoModal(m_hWnd) != IDOK)
        return false;
    auto edited = std::make_unique<Profile>();
    edited->MediaOption = edit->openedWith;
    dialog.StoreInto(*edited);
    return TellDialogEdit(m_document.StorePlayerEdit(*edit, edited->MediaOption));
}

void CConfigDlg::RunMacroManagerDialog(int keyIndex, const KeyCommandOutcome& outcome)
{
    // The manager changes the library, never a key: keys keep their own copies of macros.
    const ButtonInfo assigned = m_document.AssignmentOf(keyIndex + 1);
    // The recorder and the timing editor, made inside the manager over its library.
    auto basic = [this](CMacroManagerDlg& manager, const RECT&) -> std::unique_ptr<CWnd> {
        auto page = std::make_unique<CMacroRecorderDlg>(manager.Library(), m_lastKey,
                                                        [&manager](bool enable) { manager.EnableControls(enable); });
        return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
    };
    auto advanced = [](CMacroManagerDlg& manager, const RECT&) -> std::unique_ptr<CWnd> {
        auto page = std::make_unique<CMacroAdjustDlg>(manager.Library(),
                                                      [&manager](bool enable) { manager.EnableControls(enable); });
        return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
    };
    bool pausesCapped = false;
    if (RunMacroManager(m_hWnd, m_document.Macros(), m_document.Folder(), outcome.macroManagerSet, assigned, basic,
                        advanced, &pausesCapped) &&
        pausesCapped)
        ShowNotice(m_language.String(IDS_STATUS_PAUSES_CAPPED));
}

BOOL CConfigDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_icon.Reset(
        static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    m_smallIcon.Reset(
        static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                        ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    SetHintWindow(m_hWnd);
    // The page tabs and the profile slots are radio groups: the arrow keys move in each.
    for (CBitmapBtn& tab : m_tabs)
        tab.SetRadioGroup(1);
    for (CBitmapBtn& slot : m_slots)
        slot.SetRadioGroup(2);
    m_host.SetAnswerWindow(m_hWnd);
    // The host finds this window by its title.
    ::SetWindowTextA(m_hWnd, kConfigWindowTitle);

    m_firmwareText = m_document.FirmwareText();
    UpdatePageAddresses();
    m_document.Open(*this);
    RefreshAll();
    LogDebug("TolkCfg: main window filled %lu ms after the process started (%s)\n", MillisecondsSinceStart(),
             m_document.HostPresent() ? "host's block" : "profile files");
    if (m_whenFilled)
        m_whenFilled();
    return TRUE;
}

bool CConfigDlg::TellDialogEdit(DialogEdit result)
{
    const std::string text = DialogEditText(result, Language());
    if (!text.empty())
        ShowNotice(text);
    return result == DialogEdit::Stored;
}

LanguageText CConfigDlg::Language() const
{
    return [this](uint32_t id) { return m_language.String(id); };
}

void CConfigDlg::ShowTakeOver(const std::optional<TakeOver>& takeOver)
{
    if (!takeOver)
        return;
    if (const std::optional<std::string> text = TakeOverText(*takeOver, Language()))
        SetStatus(*text);
    RefreshAll();
}

SharedBlock* CConfigDlg::OpenHostBlock()
{
    SharedBlockOpenError error = SharedBlockOpenError::None;
    m_block = WinSharedBlock::OpenExisting({}, &error);
    if (!m_block) {
        if (error == SharedBlockOpenError::CannotMapView && !m_mapErrorShown) {
            m_mapErrorShown = true;
            ::MessageBoxA(m_hWnd, "Could not map view of file.", nullptr, MB_OK);
        }
        return nullptr;
    }
    // The host holds the lock only while it copies the block; a lock still held after this long
    // belongs to a host that hangs, and an apply then says the host was busy.
    m_block->LimitLockWait(kBlockLockWaitMs);
    return m_block.get();
}

void CConfigDlg::UpdatePageAddresses()
{
    // A page already open keeps what it loaded.
    m_updatePage.SetAddress(UpdatePageAddress(kSoftwareVersionText, m_firmwareText));
    m_helpPage.SetAddress(HelpPageAddress(kSoftwareVersionText, m_firmwareText));
}

void CConfigDlg::RefreshAll()
{
    const MainView view = ComputeMainView(m_document.Working(), m_layout);
    for (int i = 0; i < kProfileCount; ++i) {
        m_slots[i].SetChecked(view.slots[i].checked ? 1 : 0);
        m_labels[i].SetText(view.slots[i].label, view.slots[i].bright ? 1 : 0);
        // A slot reads as its profile's name (its hint while it has none).
        m_slots[i].SetAccessName(view.slots[i].label);
    }
    m_keyPage.Show(view.keys);
}

void CConfigDlg::ApplyNow()
{
    RequestApply(ApplyRequest::Apply);
}

void CConfigDlg::RequestApply(ApplyRequest request)
{
    ShowApplyStep(m_applyRun.Request(request, *this));
}

void CConfigDlg::ShowApplyStep(const ApplyStep& step)
{
    if (step.status)
        SetStatus(ApplyStatusText(*step.status, m_document, Language()));
    if (step.close)
        PostMessage(WM_CLOSE);
}

void CConfigDlg::SetStatus(const std::string& text)
{
    m_status.SetText(m_statusLine.Message(text, SkinHints().Current()));
}

void CConfigDlg::ShowNotice(const std::string& text)
{
    // A dialog that just closed leaves the hover hints of its buttons in the queue; they would
    // replace the notice before anyone could read it.
    m_notice = text;
    SetStatus(text);
    PostMessage(WM_SHOW_NOTICE);
}

LRESULT CConfigDlg::OnShowNotice(WPARAM, LPARAM)
{
    if (!m_notice.empty())
        SetStatus(m_notice);
    m_notice.clear();
    return 0;
}

void CConfigDlg::ShowPage(MainPage page)
{
    CSkinDialog* pages[] = {&m_keyPage, &m_updatePage, &m_helpPage};
    CSkinDialog& shown = *pages[static_cast<int>(page)];
    if (page != m_page && (shown.GetSafeHwnd() != nullptr || MakePage(shown))) {
        pages[static_cast<int>(m_page)]->ShowWindow(SW_HIDE);
        shown.ShowWindow(SW_SHOW);
        m_page = page;
    }
    // Exactly the tab of the page shown is checked (a click on it may have toggled it).
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i].SetChecked(kTabPages[i] == m_page ? 1 : 0);
}

bool CConfigDlg::MakePage(CSkinDialog& page)
{
    if (!page.Create(m_hWnd))
        return false;
    page.MoveWindow(m_frame);
    return true;
}

void CConfigDlg::OnTab(std::size_t index)
{
    ShowPage(kTabPages[index]);
}

void CConfigDlg::OnSlot(std::size_t index)
{
    m_document.SelectSlot(static_cast<int>(index) + 1);
    RefreshAll();
}

void CConfigDlg::OnNewGameProfile()
{
    RunGameProfileDialog(false);
}

void CConfigDlg::OnEditGameProfile()
{
    RunGameProfileDialog(true);
}

void CConfigDlg::RunGameProfileDialog(bool filled)
{
    // The dialog edits the slot current when it opens, whichever the host makes current meanwhile.
    const int slot = m_document.Working().CurrentProfile;
    if (!IsValidSlot(slot)) {
        SetStatus(m_language.String(IDS_STATUS_NO_SLOT));
        return;
    }
    const GameProfileValues openedWith = m_document.GameProfile();
    CGameProfileDlg dialog;
    if (filled)
        dialog.SetValues(openedWith.name, openedWith.games[0], openedWith.games[1], openedWith.games[2]);
    // A name that cannot name a file of its own keeps the dialog open with the reason.
    dialog.SetNameCheck(
        [this, slot](const std::string& name) { return GameProfileNameRefusal(m_document, slot, name, Language()); });
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    GameProfileValues values;
    dialog.GetValues(values.name, values.games[0], values.games[1], values.games[2]);
    if (TellDialogEdit(m_document.StoreGameProfileEdit(slot, openedWith, values)))
        RefreshAll();
}

void CConfigDlg::OnImport()
{
    RunProfileFileDialog(false);
}

void CConfigDlg::OnExport()
{
    RunProfileFileDialog(true);
}

void CConfigDlg::RunProfileFileDialog(bool exporting)
{
    // Without a current slot (a fresh install) there is nothing to export and nowhere to import to.
    const int slot = m_document.Working().CurrentProfile;
    if (!IsValidSlot(slot)) {
        SetStatus(m_language.String(IDS_STATUS_NO_SLOT));
        return;
    }
    const std::string path = ChooseProfileFile(m_hWnd, exporting);
    if (path.empty())
        return;
    // The host switched the slot while the file dialog was open: the file was meant for the other.
    if (m_document.Working().CurrentProfile != slot) {
        TellDialogEdit(DialogEdit::Dropped);
        return;
    }
    const ProfileTransfer result = exporting ? m_document.Export(path) : m_document.Import(path);
    SetStatus(TransferText(result, !exporting, Language()));
    if (result && !exporting)
        RefreshAll();
}

void CConfigDlg::OnMinimize()
{
    ShowWindow(SW_MINIMIZE);
}

void CConfigDlg::OnCloseButton()
{
    PostMessage(WM_CLOSE);
}

void CConfigDlg::OnOkButton()
{
    RequestApply(ApplyRequest::Ok);
}

void CConfigDlg::OnApplyButton()
{
    RequestApply(ApplyRequest::Apply);
}

void CConfigDlg::OnCancelButton()
{
    PostMessage(WM_CLOSE);
}

LRESULT CConfigDlg::OnStatusHint(WPARAM state, LPARAM)
{
    if (const std::optional<std::string> text = m_statusLine.Hint(m_statusPrefix, SkinHints().Current(), state != 0))
        m_status.SetText(*text);
    return 0;
}

LRESULT CConfigDlg::OnDeviceReady(WPARAM, LPARAM)
{
    const KeyboardArrival arrival = m_document.KeyboardArrived(*this);
    m_firmwareText = arrival.firmwareText;
    const RECT versions{kSoftwareVersionAt.x, kSoftwareVersionAt.y, kFirmwareVersionAt.x + 120,
                        kFirmwareVersionAt.y + 16};
    ::InvalidateRect(m_hWnd, &versions, FALSE);
    ShowTakeOver(arrival.takeOver);
    RefreshAll();
    UpdatePageAddresses();
    return 0;
}

LRESULT CConfigDlg::OnDataChanged(WPARAM, LPARAM)
{
    ShowTakeOver(m_document.TakeOverBlock());
    return 0;
}

LRESULT CConfigDlg::OnApplyAnswer(WPARAM request, LPARAM answer)
{
    ShowApplyStep(
        m_applyRun.HostAnswered(static_cast<uint32_t>(request), static_cast<HostWindow::Answer>(answer), *this));
    return 0;
}

LRESULT CConfigDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_icon.Get());
}

LRESULT CConfigDlg::OnCloseMessage(WPARAM, LPARAM)
{
    // The files are saved before the host is asked: an answer still awaited is dropped.
    m_applyRun.Close();
    // The dialogs' own loops run inside this window's: they end first, each as Cancel, and this
    // window's loop ends after them.
    CDialog::CancelAllModal();
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CConfigDlg::OnQueryEndSession(WPARAM, LPARAM)
{
    return TRUE;
}

LRESULT CConfigDlg::OnEndSession(WPARAM endsNow, LPARAM)
{
    if (endsNow)
        OnCloseMessage(0, 0);
    return 0;
}

void CConfigDlg::OnPaint(const PaintDc& paint)
{
    if (::IsIconic(m_hWnd)) {
        const RECT client = GetClientRect();
        const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint.Get(), x, y, m_icon.Get());
        return;
    }
    CSkinDialog::OnPaint(paint);
}

bool CConfigDlg::PrepareReload()
{
    m_pageBeforeReload = m_page;
    CWnd* controls[] = {&m_newGame, &m_import, &m_export, &m_editGame, &m_minimize, &m_close, &m_ok, &m_apply,
                        &m_cancel, &m_status, &m_keyPage, &m_updatePage, &m_helpPage};
    for (CWnd* control : controls)
        control->DestroyWindow();
    for (CBitmapBtn& tab : m_tabs)
        tab.DestroyWindow();
    for (int i = 0; i < kProfileCount; ++i) {
        m_slots[i].DestroyWindow();
        m_labels[i].DestroyWindow();
    }
    m_versionFont.Reset();
    return true;
}

void CConfigDlg::AfterReload()
{
    UpdatePageAddresses();
    RefreshAll();
    if (m_pageBeforeReload != MainPage::Keys)
        ShowPage(m_pageBeforeReload);
}

void CConfigDlg::DrawTexts(HDC dc)
{
    if (!m_versionFont)
        m_versionFont = MakeFontAt(SkinPercent(), 12, 6, FW_NORMAL);
    SelectScope select(dc, m_versionFont.Get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, Scaled(kSoftwareVersionAt.x), Scaled(kSoftwareVersionAt.y), kSoftwareVersionText,
               static_cast<int>(sizeof kSoftwareVersionText - 1));
    ::TextOutA(dc, Scaled(kFirmwareVersionAt.x), Scaled(kFirmwareVersionAt.y), m_firmwareText.c_str(),
               static_cast<int>(m_firmwareText.size()));
}
