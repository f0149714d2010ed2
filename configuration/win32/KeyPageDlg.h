// The key page: the five programmable keys with the captions of their assignments, their switches,
// the keyboard mode, the reset, and the highlight line of the key under the pointer.
#pragma once

#include "ConfigDocument.h"
#include "DialogIds.h"
#include "KeyCommands.h"
#include "LineWnd.h"
#include "MainView.h"
#include "SkinDialog.h"

#include <array>
#include <functional>
#include <string>

// What the key page needs of the window it sits in.
class KeyPageOwner {
public:
    virtual ~KeyPageOwner() = default;
    // The working copy changed as a whole (reset): show it everywhere.
    virtual void RefreshAll() = 0;
    // Apply the working copy now.
    virtual void ApplyNow() = 0;
    // The text of a language string.
    virtual std::string Text(UINT id) const = 0;
    // Runs the dialog a key menu command asked for (keyIndex 0..4, outcome as the command left it,
    // its dialog never None) and stores its result into the document; true when the working copy
    // changed, so that the captions are rebuilt.
    virtual bool RunKeyDialog(int keyIndex, const KeyCommandOutcome& outcome) = 0;
};

class CKeyPageDlg : public BaseWindow<CKeyPageDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    CKeyPageDlg(ConfigDocument& document, KeyPageOwner& owner);

    // The key (0..4) whose menu is open or whose command was chosen last; -1 before the first.
    int EditedKey() const { return m_editedKey; }

    // Shows what the view says for the current profile.
    void Show(const KeyPageView& view);

    // Asked before the reset changes anything; IDOK goes on. The skinned warning by default.
    std::function<INT_PTR(HWND owner)> m_confirmReset;

    CBitmapBtn& KeyButton(int index) { return m_keys.at(static_cast<size_t>(index)); }
    CBitmapBtn& SwitchButton(int index) { return m_switches.at(static_cast<size_t>(index)); }
    CBitmapBtn& ModeButton() { return m_mode; }
    CLineWnd& Line(int index) { return m_lines.at(static_cast<size_t>(index)); }

protected:
    BOOL LoadSkin() override;
    // Names the key buttons for assistive technology ("G1" before the assignment) and lets the
    // menu key open their menus.
    BOOL OnInitDialog() override;

private:
    // Opens the key's assignment menu under its button and waits until it closes.
    void OnKey(std::size_t index);
    void OnSwitch(std::size_t index);
    void OnMode();
    void OnReset();
    LRESULT OnButtonHover(WPARAM entered, LPARAM tag);
    // The key's line window, made hidden with its pictures if it was not yet.
    CLineWnd& MadeLine(std::size_t index);
    // The commands of a key's assignment menu.
    void OnAssignCommand(UINT id);

    ConfigDocument& m_document;
    KeyPageOwner& m_owner;
    std::array<CBitmapBtn, kKeyCount> m_keys;
    std::array<CBitmapBtn, kKeyCount> m_switches;
    CBitmapBtn m_reset;
    CBitmapBtn m_mode;
    std::array<CLineWnd, kKeyCount> m_lines;
    int m_editedKey = -1;
};
