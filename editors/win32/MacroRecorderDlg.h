// The macro manager's basic page: the shown macro as its list of events and pauses, recording keys
// from the keyboard capture into it, and the list's context menu. The page only translates between
// its controls and MacroRecorderModel, which writes every change into the macro at once.
//
// A child page of any parent window: the manager creates it with Create(parent), places it in its
// frame and calls LoadMacro whenever its selection changes.
#pragma once

#include "BitmapBtn.h"
#include "CapturedKey.h"
#include "ListBoxEx.h"
#include "MacroRecorderModel.h"
#include "SkinDialog.h"
#include "WinKeyboardLayout.h"
#include "WindowKeyCapture.h"

#include <array>
#include <functional>
#include <string>

class CMacroRecorderDlg : public BaseWindow<CMacroRecorderDlg, CSkinDialog>, public MacroEditorPage {
public:
    static MessageSpan MessageEntries();

    // lastKey outlives the page (the program holds one); enableManagerControls is called with false
    // when a recording starts and true when it stops.
    CMacroRecorderDlg(MacroLibrary& library, LastKeyMessage& lastKey,
                      std::function<void(bool)> enableManagerControls = {});
    // Stops a running recording's capture.
    ~CMacroRecorderDlg() override;

    void LoadMacro(int set, int macro) override;

    const MacroRecorderModel& Model() const { return m_model; }
    CBitmapBtn& RecordButton() { return m_recordButton; }
    CBitmapBtn& DelaySwitch() { return m_delaySwitch; }
    CListBoxEx& EventList() { return m_list; }

protected:
    BOOL LoadSkin() override;

private:
    void OnDestroy();
    void OnRecord();
    void OnDelaySwitch();
    void OnListCommand();
    LRESULT OnCapturedKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnListRButton(WPARAM, LPARAM);
    // The list's in-place pause edit ended, however it ended.
    void OnPauseEditEnded(ListEditEnd how, const std::string& text);
    static constexpr UINT kWmOpenPauseEdit = WM_APP + 40;
    LRESULT OnOpenPauseEdit(WPARAM, LPARAM);
    // Opens the context menu at the pointer; the chosen command arrives as WM_COMMAND.
    // At the pointer, or under the selected row (atSelection: opened by keyboard).
    void TrackContextMenu(bool atSelection = false);
    void OnMenuCommand(UINT id);
    void Warn(RecorderWarning warning);
    // Puts the model's state into the controls: the list, and the recording's look when it changed.
    void ShowModel();

    WinKeyboardLayout m_layout;
    WindowKeyCapture m_capture{*this};
    MacroRecorderModel m_model;
    CListBoxEx m_list;
    CBitmapBtn m_recordButton;
    CBitmapBtn m_delaySwitch;
    bool m_showsRecording = false;
    // The recording was started from the keyboard: every key is recorded, Escape (not recorded)
    // stops it.
    bool m_keyboardRecording = false;
    // The release of the Space or Return that started it is not part of the macro.
    bool m_skipStartRelease = false;
    // The record button's own pictures and the stop pictures shown while recording, in the order
    // normal, over, down, disabled.
    std::array<UniqueBitmap, 4> m_recordPictures;
    std::array<UniqueBitmap, 4> m_stopPictures;
    SIZE m_recordSize{};
};
