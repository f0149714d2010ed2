#include "ConfigDlg.h"

#include "DialogIds.h"
#include "GameProfileDlg.h"
#include "KeyAssignmentDlg.h"
#include "MacroAdjustDlg.h"
#include "MacroManagerRun.h"
#include "MacroRecDlg.h"
#include "SelectPlayerDlg.h"
#include "TimerDialogs.h"
#include "Gdi.h"
#include "LanguageStrings.h"
#include "LinkNames.h"
#include "Log.h"
#include "ProfileStore.h"
#include "ProgramTexts.h"
#include "ResourceIds.h"
#include "SkinMessages.h"
#include "Text.h"

#include <commdlg.h>

namespace {

// Where the status line sits on the main picture.
constexpr RECT kStatusRect{20, 569, 580, 588};
// Where the version texts are painted on the main picture.
constexpr POINT kSoftwareVersionAt{194, 14};
constexpr POINT kFirmwareVersionAt{294, 14};
constexpr MainPage kTabPages[] = {MainPage::Keys, MainPage::Update, MainPage::Help};

// The keyboard layout of this session, for the captions of key assignments.
class SessionKeyboardLayout final : public KeyboardLayout {
public:
    uint32_t VirtualKeyToScanCode(uint32_t vk) const override { return ::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC); }
    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override { return ::MapVirtualKeyA(scan, MAPVK_VSC_TO_VK_EX); }
    uint8_t VirtualKeyToAscii(uint32_t vk) const override
    {
        BYTE state[256] = {};
        WORD out = 0;
        const int count = ::ToAscii(vk, VirtualKeyToScanCode(vk), state, &out, 0);
        if (count < 0) {
            // A dead key: clear the pending accent again.
            ::ToAscii(VK_SPACE, ::MapVirtualKeyA(VK_SPACE, MAPVK_VK_TO_VSC), state, &out, 0);
            return static_cast<uint8_t>(out & 0xFF);
        }
        return count == 1 ? static_cast<uint8_t>(out & 0xFF) : 0;
    }
};

const KeyboardLayout& SessionLayout()
{
    static const SessionKeyboardLayout layout;
    return layout;
}

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
        OnMessage<WM_CFG_DEVICE_READY, &CConfigDlg::OnDeviceReady>(),
        OnMessage<WM_CFG_DATA_CHANGED, &CConfigDlg::OnDataChanged>(),
        OnMessage<WM_QUERYDRAGICON, &CConfigDlg::OnQueryDragIcon>(),
        OnWmPaint<&CConfigDlg::OnPaint>(),
    };
    return kEntries;
}

CConfigDlg::CConfigDlg()
    : BaseWindow(IDD_CONFIG_MAIN, "skins\\skin_main.ini"), m_document(SkinProgramFolder(), m_noBlock, m_host),
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
    auto button = [&](CBitmapBtn& control, int key, UINT hint) {
        skin.Button(control, key, true, m_language.String(hint).c_str());
    };
    button(m_tabs[0], 1, IDS_HINT_TAB_KEYS);
    button(m_tabs[1], 4, IDS_HINT_UPDATE);
    button(m_tabs[2], 5, IDS_HINT_HELP);
    button(m_newGame, 6, IDS_HINT_GAME_PROFILE_NEW);
    button(m_import, 7, IDS_HINT_IMPORT);
    button(m_export, 8, IDS_HINT_EXPORT);
    button(m_editGame, 9, IDS_HINT_GAME_PROFILE_EDIT);
    for (int i = 0; i < kProfileCount; ++i) {
        button(m_slots[i], 10 + i, IDS_HINT_SLOT1 + i);
        m_labels[i].Create(SkinLoader::RectOf(skin.Pos(30 + i)), m_hWnd, static_cast<UINT>(30 + i));
        m_labels[i].SetHint(m_language.String(IDS_HINT_PROFILE_NAME1 + i));
    }
    button(m_minimize, 16, IDS_HINT_MINIMIZE);
    button(m_close, 17, IDS_HINT_CLOSE);
    button(m_ok, 20, IDS_HINT_OK);
    button(m_apply, 21, IDS_HINT_APPLY);
    button(m_cancel, 22, IDS_HINT_CANCEL);
    m_status.Create(kStatusRect, m_hWnd, 0);

    // The pages, created once and only shown or hidden afterwards.
    m_frame = skin.Frame();
    if (m_keyPage.Create(m_hWnd)) {
        m_keyPage.MoveWindow(m_frame);
        m_keyPage.ShowWindow(SW_SHOW);
    }
    for (CWebPageDlg* page : {static_cast<CWebPageDlg*>(&m_updatePage), static_cast<CWebPageDlg*>(&m_helpPage)}) {
        page->SetButtonHint(m_language.String(IDS_HINT_UPDATE));
        if (page->Create(m_hWnd)) {
            page->MoveWindow(m_frame);
            page->ShowWindow(SW_HIDE);
        }
    }
    m_page = MainPage::Keys;
    m_tabs[0].SetChecked(1);
    ConnectKeyDialogs();
    return TRUE;
}

void CConfigDlg::ConnectKeyDialogs()
{
    // Each runner answers whether the working copy changed.
    m_keyPage.SetKeyDialog(KeyDialog::Shortcut, [this](int key, const KeyCommandOutcome&) {
        Profile* profile = m_document.CurrentProfile();
        if (profile == nullptr)
            return false;
        CKeyAssignmentDlg dialog(profile->Buttons[key]);
        return dialog.DoModal(m_hWnd) == IDOK && dialog.StoreInto(profile->Buttons[key]);
    });
    m_keyPage.SetKeyDialog(KeyDialog::SelectPlayer, [this](int, const KeyCommandOutcome& outcome) {
        Profile* profile = m_document.CurrentProfile();
        if (profile == nullptr)
            return false;
        CSelectPlayerDlg dialog(outcome.mediaOption);
        if (dialog.DoModal(m_hWnd) != IDOK)
            return false;
        dialog.StoreInto(*profile);
        return true;
    });
    m_keyPage.SetKeyDialog(KeyDialog::MacroManager, [this](int key, const KeyCommandOutcome& outcome) {
        // The manager changes the library, never a key: keys keep their own copies of macros.
        static const ButtonInfo kNoAssignment{};
        const Profile* profile = m_document.CurrentProfile();
        const ButtonInfo& assigned = profile != nullptr && key >= 0 && key < kKeyCount
                                         ? profile->Buttons[key]
                                         : kNoAssignment;
        // The recorder and the timing editor, made inside the manager over its library.
        auto basic = [this](CMacroManager& manager, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<CMacroRecDlg>(manager.Library(), m_lastKey,
                                                       [&manager](bool enable) { manager.EnableControls(enable); });
            return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
        };
        auto advanced = [](CMacroManager& manager, const RECT&) -> std::unique_ptr<CWnd> {
            auto page = std::make_unique<CMacroAdjustDlg>(manager.Library(),
                                                          [&manager](bool enable) { manager.EnableControls(enable); });
            return page->Create(manager.GetSafeHwnd()) ? std::move(page) : nullptr;
        };
        bool pausesCapped = false;
        if (RunMacroManager(m_hWnd, m_document.Macros(), m_document.Folder(), outcome.macroManagerSet, assigned, basic,
                            advanced, &pausesCapped) &&
            pausesCapped)
            SetStatus(m_language.String(IDS_STATUS_PAUSES_CAPPED));
        return false;
    });
    m_keyPage.SetKeyDialog(KeyDialog::CreateTimer, [this](int, const KeyCommandOutcome&) {
        RunCreateTimerDialog(m_hWnd, m_document.Timers(), m_document.Folder());
        return false;
    });
    m_keyPage.SetKeyDialog(KeyDialog::EditTimer, [this](int, const KeyCommandOutcome&) {
        RunEditTimerDialog(m_hWnd, m_document.Timers(), m_document.Folder());
        return false;
    });
}

BOOL CConfigDlg::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_icon.Reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 0, 0,
                                                 LR_DEFAULTSIZE)));
    m_smallIcon.Reset(static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
    SetHintWindow(m_hWnd);
    // The host finds this window by its title.
    ::SetWindowTextA(m_hWnd, kConfigWindowTitle);

    ReadFirmwareText();
    UpdatePageAddresses();
    m_document.Open(AttachToHost());
    RefreshAll();
    LogDebug("TolkCfg: main window filled %lu ms after the process started (%s)\n", MillisecondsSinceStart(),
             m_document.HostPresent() ? "host's block" : "profile files");
    return TRUE;
}

bool CConfigDlg::AttachToHost()
{
    SharedBlockOpenError error = SharedBlockOpenError::None;
    m_block = WinSharedBlock::OpenExisting({}, &error);
    if (!m_block) {
        if (error == SharedBlockOpenError::CannotMapView && !m_mapErrorShown) {
            m_mapErrorShown = true;
            ::MessageBoxA(m_hWnd, "Could not map view of file.", nullptr, MB_OK);
        }
        m_document.SetBlock(m_noBlock, false);
        return false;
    }
    m_document.SetBlock(*m_block, true);
    return true;
}

void CConfigDlg::ReadFirmwareText()
{
    m_firmwareText = FirmwareVersionText(ReadFirmwareVersion(m_document.Folder()));
}

void CConfigDlg::UpdatePageAddresses()
{
    // A page already open keeps what it loaded.
    m_updatePage.SetAddress(UpdatePageAddress(kSoftwareVersionText, m_firmwareText));
    m_helpPage.SetAddress(HelpPageAddress(kSoftwareVersionText, m_firmwareText));
}

void CConfigDlg::RefreshAll()
{
    const MainView view = ComputeMainView(m_document.Working(), SessionLayout());
    for (int i = 0; i < kProfileCount; ++i) {
        m_slots[i].SetChecked(view.slots[i].checked ? 1 : 0);
        m_labels[i].SetText(view.slots[i].label, view.slots[i].bright ? 1 : 0);
    }
    m_keyPage.Show(view.keys);
}

void CConfigDlg::ApplyNow()
{
    // A host started after this program that has not announced itself yet.
    if (!m_document.HostPresent())
        AttachToHost();
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    const ApplyOutcome outcome = m_document.Apply();
    ::SetCursor(previous);
    switch (outcome) {
    case ApplyOutcome::Applied:
        SetStatus(m_language.String(IDS_STATUS_APPLIED));
        break;
    case ApplyOutcome::SavedWithoutHost:
        SetStatus(m_language.String(IDS_STATUS_SAVED_NO_HOST));
        break;
    case ApplyOutcome::HostDidNotAnswer:
        SetStatus(m_language.String(IDS_STATUS_HOST_NO_ANSWER));
        break;
    case ApplyOutcome::FilesNotSaved:
        SetStatus(m_language.String(IDS_STATUS_NOT_SAVED));
        break;
    }
}

void CConfigDlg::SetStatus(const std::string& text)
{
    m_status.SetText(text);
}

void CConfigDlg::ShowPage(MainPage page)
{
    if (page != m_page) {
        CWnd* pages[] = {&m_keyPage, &m_updatePage, &m_helpPage};
        pages[static_cast<int>(m_page)]->ShowWindow(SW_HIDE);
        pages[static_cast<int>(page)]->ShowWindow(SW_SHOW);
        m_page = page;
    }
    // Exactly the tab of the page shown is checked (a click on it may have toggled it).
    for (std::size_t i = 0; i < m_tabs.size(); ++i)
        m_tabs[i].SetChecked(kTabPages[i] == m_page ? 1 : 0);
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
    CGameProfileDlg dialog;
    if (filled) {
        const GameProfileValues current = m_document.GameProfile();
        dialog.SetValues(current.name, current.games[0], current.games[1], current.games[2]);
    }
    if (dialog.DoModal(m_hWnd) != IDOK)
        return;
    GameProfileValues values;
    dialog.GetValues(values.name, values.games[0], values.games[1], values.games[2]);
    m_document.SetGameProfile(values);
    RefreshAll();
}

void CConfigDlg::OnImport()
{
    const std::string path = ChooseProfileFile(m_hWnd, false);
    if (path.empty() || !m_document.Import(path))
        return;
    RefreshAll();
}

void CConfigDlg::OnExport()
{
    const std::string path = ChooseProfileFile(m_hWnd, true);
    if (!path.empty())
        m_document.Export(path);
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
    ApplyNow();
    PostMessage(WM_CLOSE);
}

void CConfigDlg::OnApplyButton()
{
    ApplyNow();
}

void CConfigDlg::OnCancelButton()
{
    PostMessage(WM_CLOSE);
}

LRESULT CConfigDlg::OnStatusHint(WPARAM, LPARAM)
{
    SetStatus(m_statusPrefix + SkinHints().Current());
    return 0;
}

LRESULT CConfigDlg::OnDeviceReady(WPARAM, LPARAM)
{
    ReadFirmwareText();
    const RECT versions{kSoftwareVersionAt.x, kSoftwareVersionAt.y, kFirmwareVersionAt.x + 120,
                        kFirmwareVersionAt.y + 16};
    ::InvalidateRect(m_hWnd, &versions, FALSE);
    // A host started after this program: attach to its block now.
    if (!m_document.HostPresent())
        AttachToHost();
    m_document.TakeOverBlock();
    RefreshAll();
    UpdatePageAddresses();
    return 0;
}

LRESULT CConfigDlg::OnDataChanged(WPARAM, LPARAM)
{
    if (m_document.TakeOverBlock())
        RefreshAll();
    return 0;
}

LRESULT CConfigDlg::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_icon.Get());
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

void CConfigDlg::DrawTexts(HDC dc)
{
    if (!m_versionFont)
        m_versionFont.Reset(::CreateFontA(12, 6, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial"));
    SelectScope select(dc, m_versionFont.Get());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::TextOutA(dc, kSoftwareVersionAt.x, kSoftwareVersionAt.y, kSoftwareVersionText,
               static_cast<int>(sizeof kSoftwareVersionText - 1));
    ::TextOutA(dc, kFirmwareVersionAt.x, kFirmwareVersionAt.y, m_firmwareText.c_str(),
               static_cast<int>(m_firmwareText.size()));
}
