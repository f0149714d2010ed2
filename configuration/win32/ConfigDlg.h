// The configuration program's main window: tab buttons over three pages (keys, update, help), the
// five profile slots with their names, import, export, the game profile, OK / Apply / Cancel and
// the status line. It owns the document every dialog edits and its link to the host.
#pragma once

#include "BitmapBtn.h"
#include "CapturedKey.h"
#include "ConfigDocument.h"
#include "LanguageModule.h"
#include "MainDlg.h"
#include "MainView.h"
#include "SkinDialog.h"
#include "TextLabel.h"
#include "WinHostWindow.h"
#include "WebPageDlg.h"
#include "WinSharedBlock.h"

#include <array>
#include <memory>
#include <string>

class CConfigDlg : public BaseWindow<CConfigDlg, CSkinDialog>, private KeyPageOwner {
public:
    static MessageSpan MessageEntries();

    CConfigDlg();
    ~CConfigDlg() override;

    ConfigDocument& Document() { return m_document; }
    MainPage CurrentPage() const { return m_page; }
    const std::string& FirmwareText() const { return m_firmwareText; }
    CUpdateDlg& UpdatePage() { return m_updatePage; }
    CAboutDlg& HelpPage() { return m_helpPage; }

protected:
    BOOL LoadSkin() override;
    BOOL OnInitDialog() override;
    void DrawTexts(HDC dc) override;

private:
    // KeyPageOwner
    void RefreshAll() override;
    void ApplyNow() override;
    std::string Text(UINT id) const override { return m_language.String(id); }

    // The dialogs the key menu's commands open.
    void ConnectKeyDialogs();
    void ShowPage(MainPage page);
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
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    void OnPaint(const PaintDc& paint);

    void RunGameProfileDialog(bool filled);
    // Opens the host's block when the host runs; false otherwise (a message box when the block
    // exists but cannot be mapped, once).
    bool AttachToHost();
    void ReadFirmwareText();
    void UpdatePageAddresses();
    void SetStatus(const std::string& text);

    LanguageModule m_language;
    std::string m_statusPrefix;
    std::string m_firmwareText = "N/A";
    MainPage m_page = MainPage::Keys;
    // The last key message the macro recorder took in, kept across recordings and manager runs so
    // that a held key's repeats are recognised.
    LastKeyMessage m_lastKey;
    bool m_mapErrorShown = false;

    NullSharedBlock m_noBlock;
    std::unique_ptr<WinSharedBlock> m_block;
    WinHostWindow m_host;
    ConfigDocument m_document;

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
    CMainDlg m_keyPage;
    CUpdateDlg m_updatePage;
    CAboutDlg m_helpPage;
    RECT m_frame{};
    UniqueIcon m_icon;
    UniqueIcon m_smallIcon;
    UniqueGdiObject<HFONT> m_versionFont;
};
