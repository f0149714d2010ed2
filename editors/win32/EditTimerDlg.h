// The timer edit dialog: shows one timer of the library at a time, chosen from the timer menu of
// button "3", and renames it, changes its length or deletes it. Apply and delete change the
// library at once, so they stay even when the dialog is cancelled; the caller saves the library
// when the dialog ends with IDOK.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "EditTimerModel.h"
#include "SkinDialog.h"
#include "SpinWnd.h"

#include <array>
#include <string>

class CEditTimerDlg : public BaseWindow<CEditTimerDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    explicit CEditTimerDlg(TimerLibrary& timers);

    // The index of the timer shown, -1 when the last one was deleted.
    int ShownIndex() const { return m_model.ShownIndex(); }

    CBmpEdit& NameField() { return m_name; }
    CSpinWnd& LengthField() { return m_length; }
    CBitmapBtn& TimerButton() { return m_timerButton; }
    CBitmapBtn& ApplyButton() { return m_applyButton; }
    CBitmapBtn& DeleteButton() { return m_deleteButton; }
    CBitmapBtn& OkButton() { return m_closeButtons[0]; }
    // The two buttons that close with IDCANCEL.
    CBitmapBtn& CancelButton(std::size_t index) { return m_closeButtons.at(1 + index); }

protected:
    BOOL LoadSkin() override;
    // Escape is Cancel.
    CBitmapBtn* EscapeButton() override { return &m_closeButtons[1]; }
    BOOL OnInitDialog() override;

private:
    LRESULT OnEditNotify(WPARAM code, LPARAM);
    LRESULT OnSpinValue(WPARAM value, LPARAM controlId);
    void OnTimerButton();
    void OnTimerChosen(UINT id);
    void OnApply();
    void OnDelete();
    void OnClose(std::size_t index);
    void ReadNameField();
    // Puts the model's name, caption and length into the controls.
    void ShowTimer();
    // Opens the timer menu below button "3" and waits: the chosen item's id, 0 when none was chosen.
    // The only place that knows which menu class draws it.
    UINT TrackTimerMenu();

    EditTimerModel m_model;
    CBmpEdit m_name;
    CSpinWnd m_length;
    CBitmapBtn m_timerButton;
    CBitmapBtn m_applyButton;
    CBitmapBtn m_deleteButton;
    std::array<CBitmapBtn, 3> m_closeButtons; // OK "10", Cancel "11" and "12"
};
