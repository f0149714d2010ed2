// The rules of the timer creation dialog (CCountdownTimerDlg): a name and a length, accepted only
// when the name is new. The dialog only collects them; the caller appends the timer and saves the
// library when the dialog ends with OK.
#pragma once

#include "Libraries.h"
#include "TimerRules.h"

#include <cstdint>
#include <string>
#include <string_view>

class CountdownTimerModel {
public:
    // The name field starts empty and the length field at 30 within 10..999.
    explicit CountdownTimerModel(const TimerLibrary& timers);

    // The name field's text changed; the field keeps the first 25 characters.
    void NameChanged(std::string_view text);
    // A spin field reported a value; only the length field's reports set the length.
    void SpinReported(int32_t value, int controlId);

    // OK: true when the dialog closes with OK, with Name and Seconds set. An empty or existing name
    // (blanks and letter case aside) is refused without a message and the dialog stays open; so is
    // a timer beyond the library's limit.
    bool Ok();

    const std::string& NameText() const { return m_nameText; }
    // The length as the field last reported it.
    int32_t Length() const { return m_length; }
    // The accepted timer: its trimmed name and its length within 10..999.
    const std::string& Name() const { return m_name; }
    int32_t Seconds() const { return m_seconds; }

private:
    const TimerLibrary& m_timers;
    std::string m_nameText;
    int32_t m_length = kNewTimerSeconds;
    std::string m_name;
    int32_t m_seconds = kNewTimerSeconds;
};
