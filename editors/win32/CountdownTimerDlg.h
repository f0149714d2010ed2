// The timer creation dialog: a name and a length for a new countdown timer. It only collects them;
// when it ends with IDOK the caller appends the timer (Name, Seconds) to the library and saves it.
// A name that is empty or already a timer's leaves the dialog open without a word.
#pragma once

#include "BitmapBtn.h"
#include "BmpEdit.h"
#include "CountdownTimerModel.h"
#include "SkinDialog.h"
#include "SpinWnd.h"

#include <array>
#include <string>

class CCountdownTimerDlg : public BaseWindow<CCountdownTimerDlg, CSkinDialog> {
public:
    static MessageSpan MessageEntries();

    // timers: the library the new name must not be in; it is not changed here.
    explicit CCountdownTimerDlg(const TimerLibrary& timers);

    // The accepted timer after IDOK: its name, trimmed, and its length within 10..999.
    const std::string& Name() const { return m_model.Name(); }
    int32_t Seconds() const { return m_model.Seconds(); }

    CBmpEdit& NameField() { return m_name; }
    CSpinWnd& LengthField() { return m_length; }
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
    LRESULT OnSpinValue(WPARAM value, LPARAM controlId);
    void OnButton(std::size_t index);
    void ReadNameField();

    CountdownTimerModel m_model;
    CBmpEdit m_name;
    CSpinWnd m_length;
    std::array<CBitmapBtn, 3> m_buttons; // OK "10", Cancel "11" and "12"
};
