// The game profile dialog: a profile's name and up to three game programs whose start switches the
// host to that profile. It edits four texts and knows nothing of files: the owner fills it with
// SetValues before DoModal and takes the texts back with GetValues after IDOK; any other result
// leaves them as they were set. The owner's name check decides whether confirm may close it: a
// refused name keeps the dialog open, says why under the game fields and selects the name.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "DialogIds.h"
#include "GameFileBrowse.h"
#include "SkinDialog.h"
#include "TextLabel.h"

#include <commdlg.h>

#include <array>
#include <functional>
#include <string>

class CGameProfileDlg : public BaseWindow<CGameProfileDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    // Shows a file-open dialog for the question in dialog; TRUE when the user chose a file, whose
    // full path is then in dialog.lpstrFile. GetOpenFileNameA unless a test stands in for the user.
    using OpenFileDialog = std::function<BOOL(OPENFILENAMEA*)>;

    explicit CGameProfileDlg(OpenFileDialog openFile = &::GetOpenFileNameA);

    // What the dialog shows for a name typed as it is, or an empty text when the name may be taken.
    using NameCheck = std::function<std::string(const std::string& name)>;
    void SetNameCheck(NameCheck check) { m_nameCheck = std::move(check); }

    void SetValues(const std::string& name, const std::string& game0, const std::string& game1,
                   const std::string& game2);
    void GetValues(std::string& name, std::string& game0, std::string& game1, std::string& game2) const;

    // The name field and the three game file fields, in that order.
    CBmpEdit& Edit(std::size_t index) { return m_edits.at(index); }
    CBitmapBtn& BrowseButton(std::size_t gameIndex) { return m_browseButtons.at(gameIndex); }
    // Confirm, then the two cancel buttons.
    CBitmapBtn& CloseButton(std::size_t index) { return m_closeButtons.at(index); }
    // Why the last confirm was refused ("13"); empty until then.
    CTextLabel& Message() { return m_message; }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_closeButtons[1]; }
    BOOL OnInitDialog() override;

private:
    void OnBrowse(std::size_t gameIndex);
    void OnClose(std::size_t index);
    std::string EditText(std::size_t index) const;

    OpenFileDialog m_openFile;
    NameCheck m_nameCheck;
    std::array<std::string, 1 + kGameFileCount> m_values;
    std::array<CBmpEdit, 1 + kGameFileCount> m_edits;
    std::array<CBitmapBtn, kGameFileCount> m_browseButtons;
    std::array<CBitmapBtn, 3> m_closeButtons;
    CTextLabel m_message;
};
