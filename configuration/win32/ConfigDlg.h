// The configuration program's main window: tab buttons over three pages (keys, update, help), the
// five profile slots with their names, import, export, the game profile, OK / Apply / Cancel and
// the status line. It owns the document every dialog edits and its link to the host.
#pragma once

#include "ApplyRun.h"
#include "BitmapBtn.h"
#include "CapturedKey.h"
#include "ConfigDocument.h"
#include "LanguageModule.h"
#include "KeyPageDlg.h"
#include "MainView.h"
#include "SkinDialog.h"
#include "StatusLine.h"
#include "StatusTexts.h"
#include "TextLabel.h"
#include "WinHostWindow.h"
#include "WinKeyboardLayout.h"
#include "WebPageDlg.h"
#include "WinSharedBlock.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CConfigDlg : public BaseWindow<CConfigDlg, CSkinDialog>, private KeyPageOwner, private HostBlockSource {
public:
    static MessageSpan MessageEntries();

    CConfigDlg();
    ~CConfigDlg() override;

    ConfigDocument& Document() { return m_document; }
    MainPage CurrentPage() const { return m_page; }
    const std::string& FirmwareText() const { return m_firmwareText; }
    CUpdateDlg& UpdatePage() { return m_updatePage; }
    CAboutDlg& HelpPage() { return m_helpPage; }

    // Called once the window is filled, before it is shown: what the program needs only after its
    // window is made (the menu frame hook slows the making of every window).
    std::function<void()> m_whenFilled;

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_cancel; }
    BOOL OnInitDialog() override;
    void DrawTexts(HDC dc) override;
    // A change of display scaling while open (WM_DPICHANGED): the controls and pages are made again.
    bool CanReload() const override { return true; }
    bool PrepareReload() override;
    void AfterReload() override;

private:
    // KeyPageOwner
    void RefreshAll() override;
    void ApplyNow() override;
    std::string Text(UINT id) const override { return m_language.String(id); }
    bool RunKeyDialog(int keyIndex, const KeyCommandOutcome& outcome) override;

    // HostBlockSource: the host's block when the host runs (a message box when the block exists but
    // cannot be mapped, once).
    SharedBlock* OpenHostBlock() override;

    // The dialogs the key menu's commands open, for key keyIndex (0..4); true when the working copy
    // changed.
    bool RunShortcutDialog(int keyIndex);
    bool RunPlayerDialog(const KeyCommandOutcome& outcome);
    void RunMacroManagerDialog(int keyIndex, const KeyCommandOutcome& outcome);
    void ShowPage(MainPage page);
    // Creates a page hidden over the frame; false when it could not be made.
    bool MakePage(CSkinDialog& page);
    void OnTab(std::size_t index);
    void OnSlot(std::size_t index);
    void OnNewGameProfile();
    void OnEditGameProfile();
    void OnImport();
    void OnExport();
    void OnMinimize();
    void OnCloseButton();
    void OnOkButton();
    void OnApplyButton();
    void OnCancelButton();
    LRESULT OnStatusHint(WPARAM state, LPARAM);
    LRESULT OnDeviceReady(WPARAM, LPARAM);
    LRESULT OnDataChanged(WPARAM, LPARAM);
    // The host's answer to an apply request, or the end of its time limit (see WinHostWindow).
    LRESULT OnApplyAnswer(WPARAM request, LPARAM answer);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    // Asked to close (Close, Cancel, the host's Exit, the installer, the uninstaller): every dialog,
    // menu and file window open over the main window ends as Cancel, then the program ends. An
    // apply whose answer is awaited is not waited for (see ApplyRun::Close).
    LRESULT OnCloseMessage(WPARAM, LPARAM);
    // The session may end: yes, since closing keeps nothing that was not applied, and an apply
    // whose answer is awaited has already saved everything.
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    // The session ends (wParam TRUE): as WM_CLOSE.
    LRESULT OnEndSession(WPARAM endsNow, LPARAM);
    void OnPaint(const PaintDc& paint);

    // Starts an apply (or remembers the click while one waits for the host) and shows its step.
    void RequestApply(ApplyRequest request);
    // Shows what a step of an apply left on the status line, and closes the window when it says so.
    void ShowApplyStep(const ApplyStep& step);
    void RunGameProfileDialog(bool filled);
    // Import (exporting false) or export of the current profile through the file dialog, told on the
    // status line.
    void RunProfileFileDialog(bool exporting);
    // Shows a take-over from the host: the status line tells an edit that was dropped.
    void ShowTakeOver(const std::optional<TakeOver>& takeOver);
    // Tells on the status line an edit of a dialog that did not land; true when it was stored.
    bool TellDialogEdit(DialogEdit result);
    // The text of a language string, for the portable status texts.
    LanguageText Language() const;
    void UpdatePageAddresses();
    void SetStatus(const std::string& text);
    // The status line after a dialog closed: the text stays over the hints the dialog's buttons
    // left in the queue.
    void ShowNotice(const std::string& text);
    LRESULT OnShowNotice(WPARAM, LPARAM);

    LanguageModule m_language;
    std::string m_statusPrefix;
    // Outcomes and hints on the status line (see StatusLine).
    StatusLine m_statusLine;
    std::string m_firmwareText = "N/A";
    MainPage m_page = MainPage::Keys;
    // The last key message the macro recorder took in, kept across recordings and manager runs so
    // that a held key's repeats are recognised.
    LastKeyMessage m_lastKey;
    bool m_mapErrorShown = false;
    std::string m_notice;

    // The session's keyboard layout, for the captions of key assignments.
    WinKeyboardLayout m_layout;
    std::unique_ptr<WinSharedBlock> m_block;
    WinHostWindow m_host;
    ConfigDocument m_document;
    // The apply under way, from the click to the host's answer.
    ApplyRun m_applyRun{m_document};

    std::array<CBitmapBtn, 3> m_tabs; // keys 1, 4, 5
    CBitmapBtn m_newGame;
    CBitmapBtn m_import;
    CBitmapBtn m_export;
    CBitmapBtn m_editGame;
    std::array<CBitmapBtn, kProfileCount> m_slots;
    CBitmapBtn m_minimize;
    CBitmapBtn m_close;
    CBitmapBtn m_ok;
    CBitmapBtn m_apply;
    CBitmapBtn m_cancel;
    std::array<CTextLabel, kProfileCount> m_labels;
    CStatusLabel m_status;
    CKeyPageDlg m_keyPage;
    CUpdateDlg m_updatePage;
    CAboutDlg m_helpPage;
    RECT m_frame{};
    UniqueIcon m_icon;
    UniqueIcon m_smallIcon;
    UniqueGdiObject<HFONT> m_versionFont;
    MainPage m_pageBeforeReload = MainPage::Keys;
};
