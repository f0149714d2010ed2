// The rules of the timer edit dialog (CEditTimerDlg) and of its delete confirmation
// (CDeleteTimerDlg). The dialog shows one timer at a time, chosen from a menu of all timers, and
// changes the library in memory at once: a change made with apply or delete stays even when the
// dialog is cancelled, and is written by the next save. The caller saves the library when the
// dialog ends with OK.
#pragma once

#include "Libraries.h"
#include "Menu.h"
#include "TimerRules.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The timer menu's command ids: 1000 + the timer's index, for the first 51 timers.
constexpr int kCmdFirstTimerChoice = 1000;

class EditTimerModel {
public:
    // Shows the first timer.
    explicit EditTimerModel(TimerLibrary& timers);

    // The index of the shown timer; -1 after the last timer was deleted. It may name no timer, and
    // then the fields show an empty name and length 10.
    int ShownIndex() const { return m_shown; }
    // What the name field, the timer menu's button and the length field show. After an action that
    // returns true the window puts all three into its controls again.
    const std::string& NameText() const { return m_nameText; }
    const std::string& Caption() const { return m_caption; }
    int32_t Length() const { return m_length; }

    // The name field's text changed; the field keeps the first 25 characters.
    void NameChanged(std::string_view text);
    // A spin field reported a value; only the length field's reports set the length.
    void SpinReported(int32_t value, int controlId);

    // One item per timer, named after it; a timer beyond the 51st cannot be chosen and has none.
    Menu TimerMenu() const;
    // An item of the timer menu was chosen: the timer it names is shown.
    bool MenuChosen(int commandId);

    // Apply ("4"): the shown timer takes the name and length of the fields. A name that no timer has
    // (blanks and letter case aside) renames it and shows it again; its own name in other letter
    // case or with blanks changes only the length and keeps the stored name; an empty name or the
    // name of another timer changes nothing, without a message. The length is brought into
    // 10..999 here, since typing without Enter holds it only to the maximum.
    bool Apply();
    // OK ("10") applies as "4" does; the dialog then closes with OK.
    void Ok() { Apply(); }

    // Delete ("5") asks for confirmation (CDeleteTimerDlg) only when there is a timer at all.
    bool CanDelete() const { return !m_timers.empty(); }
    // The confirmation ended with OK: the shown timer goes, and the one now at its place is shown,
    // or the new last one when it was the last.
    void DeleteConfirmed();

private:
    void Show();

    TimerLibrary& m_timers;
    int m_shown = 0;
    std::string m_nameText;
    std::string m_caption;
    int32_t m_length = kTimerMinSeconds;
};
