// The media player dialog: which player the media keys of the current profile control. One choice
// button shows the chosen player and opens a menu of the four; the owner stores the index into the
// profile's MediaOption when the dialog ends with OK.
#pragma once

#include "BitmapBtn.h"
#include "DialogIds.h"
#include "SelectPlayerModel.h"
#include "SkinDialog.h"

#include <array>

class CSelectPlayerDlg : public BaseWindow<CSelectPlayerDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    // index: the profile's MediaOption (-1 or any value outside 0..3 shows an empty choice).
    explicit CSelectPlayerDlg(int32_t index);

    // The index to store after IDOK: the chosen player, or the starting index when none was chosen.
    int32_t Index() const { return m_model.Index(); }
    // OK: the index becomes the profile's MediaOption; nothing else of the profile changes.
    void StoreInto(Profile& profile) const { m_model.StoreInto(profile); }

    CBitmapBtn& ChoiceButton() { return m_choice; }
    // Confirm, cancel, close.
    CBitmapBtn& Button(std::size_t index) { return m_buttons.at(index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_buttons[1]; }
    BOOL OnInitDialog() override;

private:
    void OnButton(std::size_t index);
    void OnChoice();
    void OnPlayerCommand(UINT id);
    void ShowChoice();

    SelectPlayerModel m_model;
    std::array<CBitmapBtn, 3> m_buttons;
    CBitmapBtn m_choice;
};
