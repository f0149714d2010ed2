// The main window's status line: what the program says after an action (an outcome) and the hints of
// the controls under the pointer share it. A skinned button reports its hint again right after it
// was clicked (the system moves the pointer onto it anew when the click's capture ends), which would
// wipe the outcome of that very click; so a message stays until the pointer leaves the control it
// was set over or comes onto another one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class StatusLine {
public:
    // A message of the program, set while hintUnderPointer was the current hint; the text to show.
    const std::string& Message(std::string text, std::string_view hintUnderPointer);
    // A control reported its hint: entered (the pointer came onto it) or left. The text to show, or
    // nothing when the message stays.
    std::optional<std::string> Hint(std::string_view prefix, std::string_view hint, bool entered);

    const std::string& Shown() const { return m_shown; }

private:
    std::string m_shown;
    std::string m_messageHint; // the hint current when the message was set
    bool m_messageHeld = false;
};
