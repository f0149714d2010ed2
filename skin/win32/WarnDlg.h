// The three-button warning and confirmation dialogs: the wording is part of the skin picture;
// button "2" answers IDOK, buttons "3" and "4" IDCANCEL.
#pragma once

#include "DialogIds.h"
#include "SkinDialog.h"

#include <array>
#include <string>

class CWarnDlg : public BaseWindow<CWarnDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    explicit CWarnDlg(const char* skinFileName = "skins\\skin_reset_warn.ini", UINT templateId = IDD_SKIN_POPUP);

    // Drawn over the picture in white; empty by default (the picture carries the wording).
    std::string m_message;

    // The buttons of keys "2", "3" and "4".
    CBitmapBtn& Button(std::size_t index) { return m_buttons.at(index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_buttons[1]; }
    void DrawTexts(HDC dc) override;

private:
    void OnButton(std::size_t index);

    std::array<CBitmapBtn, 3> m_buttons;
    UniqueGdiObject<HFONT> m_messageFont; // made with the dialog
};

class CWarnMacroName : public CWarnDlg {
public:
    CWarnMacroName() : CWarnDlg("skins\\skin_macro_name_warn.ini") {}
};

class CWarnMacroSet : public CWarnDlg {
public:
    CWarnMacroSet() : CWarnDlg("skins\\skin_macro_set_warn.ini") {}
};

class CNoSelectMacroDelete : public CWarnDlg {
public:
    CNoSelectMacroDelete() : CWarnDlg("skins\\skin_no_select_macro_delete_warn.ini") {}
};
