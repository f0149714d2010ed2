// The macro manager: chooses the macro set (the set button's menu also adds and deletes sets),
// lists the set's macros, adds and deletes macros, and hosts the basic and the advanced editor of
// the selected macro as child pages, one visible at a time. Every decision is MacroManagerModel's;
// this window runs the dialogs it asks for and shows its state.
//
// The manager changes the in-memory library only. Its caller saves the library when it ends with
// IDOK and reads it again from the file otherwise (EndMacroManager).
#pragma once

#include "BitmapBtn.h"
#include "Libraries.h"
#include "ListBoxEx.h"
#include "MacroEditorPage.h"
#include "MacroManagerModel.h"
#include "Records.h"
#include "SkinDialog.h"
#include "TextLabel.h"

#include <array>
#include <functional>
#include <memory>

// The control id of the macro list.
constexpr UINT kMacroListId = 4096;

class CMacroManagerDlg : public BaseWindow<CMacroManagerDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    // Makes one editor page: a child window of manager placed at frame (the manager's client
    // coordinates) that also implements MacroEditorPage. Null, or a window that is no page, leaves
    // that page out.
    using PageFactory = std::function<std::unique_ptr<CWnd>(CMacroManagerDlg& manager, const RECT& frame)>;

    // set: the set the opening command names (-1: the top "Create New Macro..."); key: the
    // assignment of the key being edited, whose macro is selected when it is in that set.
    CMacroManagerDlg(MacroLibrary& library, int set, const ButtonInfo& key);
    ~CMacroManagerDlg() override;

    // Set before the window is created: the basic page is made first and shown, the advanced
    // page made hidden.
    void SetPageFactories(PageFactory basic, PageFactory advanced);

    // Enables or disables the seven buttons and the macro list together. The pages call it when
    // they start and end capturing keys; while disabled, the manager cannot be left by its buttons.
    void EnableControls(bool enable);

    MacroLibrary& Library() { return m_library; }
    const MacroManagerModel& Model() const { return m_model; }
    // The page windows the factories made (null when there is none).
    CWnd* BasicPage() const { return m_basicWindow.get(); }
    CWnd* AdvancedPage() const { return m_advancedWindow.get(); }
    // The page rectangle of the skin, in the manager's client coordinates.
    const RECT& PageFrame() const { return m_frame; }

    CBitmapBtn& SetButton() { return m_setButton; }
    CListBoxEx& MacroList() { return m_list; }
    CBitmapBtn& AddButton() { return m_addButton; }
    CBitmapBtn& DeleteButton() { return m_deleteButton; }
    CBitmapBtn& SwitchButton() { return m_switchButton; }
    CTextLabel& SwitchLabel() { return m_switchLabel; }
    // The status line ("11"): empty until a commit of the advanced page cut a pause to 65535 ms or
    // its add button could not capture a key.
    CTextLabel& StatusLabel() { return m_statusLabel; }
    // Whether a commit cut a pause to 65535 ms while the manager was open, the commit of OK included.
    bool PausesCapped() const { return m_pausesCapped; }
    CBitmapBtn& OkButton() { return m_closeButtons[0]; }
    // Cancel (0) and the window's close button (1).
    CBitmapBtn& CancelButton(std::size_t index) { return m_closeButtons.at(1 + index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_closeButtons[1]; }
    BOOL OnInitDialog() override;

private:
    // Forwards the model's calls to a page window once it exists; does nothing before.
    class PageSlot : public MacroEditorPage {
    public:
        void LoadMacro(int set, int macro) override
        {
            if (m_page != nullptr)
                m_page->LoadMacro(set, macro);
        }
        void CommitBars() override
        {
            if (m_page != nullptr)
                m_page->CommitBars();
        }
        MacroEditorPage* m_page = nullptr;
    };

    void OnSetButton();
    void OnAdd();
    void OnDelete();
    void OnSwitch();
    void OnClose(std::size_t index);
    void OnMacroSelectionChange();
    void OnDestroy();
    void OnMacroEntryEnded(ListEditEnd how, const std::string& text);
    LRESULT OnPauseCapped(WPARAM, LPARAM);
    // The advanced page could not start the key capture for a new bar: the status line says so.
    LRESULT OnCaptureFailed(WPARAM, LPARAM);

    // Opens the set menu below the set button and waits: the chosen id, 0 when none was chosen.
    UINT TrackSetMenu();
    void SetMenuChosen(UINT id);
    std::unique_ptr<CWnd> MakePage(const PageFactory& factory, PageSlot& slot);
    // The set caption and the macro list as the model has them.
    void ShowList();
    // The visible page, the switch button and its label as the model has them.
    void ShowPage();
    // Every control the manager enables and disables together.
    std::array<CWnd*, 8> Controls();

    MacroLibrary& m_library;
    int m_openingSet;
    ButtonInfo m_key;
    PageSlot m_basicSlot;
    PageSlot m_advancedSlot;
    MacroManagerModel m_model;
    PageFactory m_basicFactory;
    PageFactory m_advancedFactory;
    std::unique_ptr<CWnd> m_basicWindow;
    std::unique_ptr<CWnd> m_advancedWindow;
    RECT m_frame{};

    CBitmapBtn m_setButton;    // "1"
    CListBoxEx m_list;         // "2"
    CBitmapBtn m_addButton;    // "3"
    CBitmapBtn m_deleteButton; // "4"
    CBitmapBtn m_switchButton; // "5"
    CTextLabel m_switchLabel;  // "10"
    CTextLabel m_statusLabel;  // "11"
    bool m_pausesCapped = false;
    std::array<CBitmapBtn, 3> m_closeButtons; // OK "6", Cancel "7", close "9"
};
