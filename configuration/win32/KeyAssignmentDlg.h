// The shortcut dialog of a programmable key: it shows the name of the last key the user touched
// anywhere (the keyboard capture runs while it is open) and five toggles for the plain key and the
// modifiers. The owner hands in the key's record, runs it and, when DoModal answered IDOK, lets it
// store the shortcut:
//     CKeyAssignmentDlg dialog(info);
//     if (dialog.DoModal(owner) == IDOK)
//         dialog.StoreInto(info);
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "KeyAssignmentModel.h"
#include "SkinDialog.h"
#include "WinKeyboardLayout.h"

#include <array>

class CKeyAssignmentDlg : public BaseWindow<CKeyAssignmentDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    static constexpr UINT kNameFieldId = 4010;

    // Starts from the key's stored shortcut (ShortcutKey, ShortcutFlags); info is not kept.
    explicit CKeyAssignmentDlg(const ButtonInfo& info);

    // Once the dialog ended with OK: makes info a shortcut of the captured key with the toggles'
    // flags (the macro copy is cleared). After any other end, or before, info is left alone and
    // the answer is false.
    bool StoreInto(ButtonInfo& info) const;

    const KeyAssignmentModel& Model() const { return m_model; }
    CBmpEdit& NameField() { return m_nameField; }
    // kFlagPlain .. kFlagAlt.
    CBitmapBtn& Toggle(std::size_t index) { return m_toggles.at(index); }
    // OK, then the two cancel buttons.
    CBitmapBtn& CloseButton(std::size_t index) { return m_closeButtons.at(index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_closeButtons[1]; }
    // Every key is captured until the user moves by keyboard; from then on Tab, Space, Return and
    // Escape act on the dialog and are not captured (IsNavigationKey).
    bool KeyActivatesButton(UINT virtualKey, HWND button) override;
    BOOL OnInitDialog() override;

private:
    LRESULT OnCapturedKey(WPARAM virtualKey, LPARAM flags);
    void OnToggle(std::size_t index);
    void OnClose(std::size_t index);
    void OnDestroy();
    void ShowKeyName();
    void ShowToggles();

    WinKeyboardLayout m_layout;
    KeyAssignmentModel m_model;
    bool m_confirmed = false;
    CBmpEdit m_nameField;
    std::array<CBitmapBtn, 5> m_toggles;
    std::array<CBitmapBtn, 3> m_closeButtons;
};
