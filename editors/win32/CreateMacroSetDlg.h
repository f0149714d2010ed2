// The name dialog of a new macro set. It only collects the name: OK and Enter close it with IDOK
// when the field, trimmed, is not empty, and the manager decides whether a set of that name is
// made. Escape does nothing; buttons "3" and "4" close with IDCANCEL.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "SkinDialog.h"

#include <array>
#include <string>

class CCreateMacroSetDlg : public BaseWindow<CCreateMacroSetDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    CCreateMacroSetDlg();

    // After IDOK: the name as typed, trimmed at both ends.
    const std::string& Name() const { return m_name; }

    CBmpEdit& NameField() { return m_field; }
    CBitmapBtn& OkButton() { return m_buttons[0]; }
    // The two buttons that close with IDCANCEL.
    CBitmapBtn& CancelButton(std::size_t index) { return m_buttons.at(1 + index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_buttons[1]; }
    BOOL OnInitDialog() override;

private:
    LRESULT OnEditNotify(WPARAM code, LPARAM);
    void OnButton(std::size_t index);
    // Closes with IDOK when the field holds a name.
    void TryOk();

    CBmpEdit m_field;
    std::array<CBitmapBtn, 3> m_buttons; // OK "2", Cancel "3" and "4"
    std::string m_name;
};
