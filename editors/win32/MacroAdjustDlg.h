// The macro manager's advanced page: the shown macro as timing bars in a CTimingList, with buttons
// to add a bar for the next key pressed ("10"), delete the selected bar ("11") and zoom out ("12")
// or in ("13"). The page only translates between its controls and MacroAdjustModel; bar edits
// stay in the timing list until the manager calls CommitBars.
//
// A child page of any parent window: the manager creates it with Create(parent), places it in its
// frame, shows it while the advanced page is chosen and calls LoadMacro and CommitBars.
#pragma once

#include "BitmapBtn.h"
#include "MacroAdjustModel.h"
#include "MacroEditorPage.h"
#include "SkinDialog.h"
#include "TimingList.h"
#include "WinKeyboardLayout.h"
#include "WindowKeyCapture.h"

#include <array>
#include <functional>

// Sent to the page's parent when CommitBars shortened a gap longer than 65535 ms to 65535 ms, so
// that everything after it plays earlier than its bar showed (wParam 0, lParam 0). Sent, not
// posted: the commit of OK runs just before the manager closes. The manager tells the user.
constexpr UINT WM_MACRO_PAUSE_CAPPED = WM_APP + 41;
// Sent to the page's parent when the add button could not start the key capture for a new bar
// (wParam 0, lParam 0): no bar was added and nothing was disabled. The manager tells the user.
constexpr UINT WM_MACRO_CAPTURE_FAILED = WM_APP + 42;

class CMacroAdjustDlg : public BaseWindow<CMacroAdjustDlg, CSkinDialog>, public MacroEditorPage {
public:
    static MessageSpan MessageEntries();

    // enableManagerControls is called with false while a new bar waits for its key, true after.
    // The keys come through the program's keyboard capture for this page, or through capture when
    // given (a test's).
    explicit CMacroAdjustDlg(MacroLibrary& library, std::function<void(bool)> enableManagerControls = {},
                             RecorderCapture* capture = nullptr);
    // Stops a capture still waiting for a key.
    ~CMacroAdjustDlg() override;

    void LoadMacro(int set, int macro) override;
    // Writes the bars into the shown macro; a capped pause is reported to the parent.
    void CommitBars() override;

    const MacroAdjustModel& Model() const { return m_model; }
    CTimingList& TimingList() { return m_timing; }
    // The buttons "10" add, "11" delete, "12" zoom out, "13" zoom in.
    CBitmapBtn& Button(std::size_t index) { return m_buttons.at(index); }

protected:
    BOOL LoadSkin() override;

private:
    void OnDestroy();
    void OnButton(std::size_t index);
    LRESULT OnCapturedKey(WPARAM wParam, LPARAM lParam);
    void AddBar();
    void EndKeyWait();

    WinKeyboardLayout m_layout;
    WindowKeyCapture m_windowCapture{*this};
    RecorderCapture& m_capture;
    MacroAdjustModel m_model;
    std::function<void(bool)> m_enableManagerControls;
    CTimingList m_timing;
    std::array<CBitmapBtn, 4> m_buttons;
};
