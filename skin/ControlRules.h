// The decisions of the skinned controls, kept apart from the windows so that they can be tested
// without a screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Which of its four pictures a bitmap button shows.
enum class ButtonPicture { Normal, Over, Down, Disabled };

struct ButtonLookState {
    bool toggleMode;
    bool checked;
    bool pressed;     // the system's pressed state while the left button is down
    bool highlighted; // pointer over it, or forced by the owner
    bool disabled;
};

// First match wins: toggle mode (down when checked, else normal); checked or pressed: down;
// highlighted: over; disabled: disabled; else normal.
ButtonPicture ChooseButtonPicture(const ButtonLookState& state);

// What a bitmap button does when the pointer moves over it (WM_MOUSEMOVE).
struct ButtonMouseInput {
    bool leftButtonHeld;
    bool hasCapture;        // the button holds the mouse capture
    bool activeWindowExists; // the process has an active window
    bool hasOwner;
    bool pointerOverSelf;   // the window under the pointer is the button itself
    bool highlighted;
};

struct ButtonMouseActions {
    bool setHighlighted = false;   // highlighted becomes 1 and hover-on is reported
    bool clearHighlighted = false; // highlighted becomes 0 and hover-off is reported
    bool captureMouse = false;
    bool releaseCapture = false;
    bool repaint = false;
};

ButtonMouseActions OnButtonMouseMove(const ButtonMouseInput& input);

// Virtual keys a numeric-only edit field lets through on WM_KEYDOWN: digits of both rows,
// Backspace, Return, End, Home, Left, Right, Delete, comma (188) and full stop (190). Up, Down and
// Tab and everything else are swallowed.
bool NumericEditAllowsKey(uint32_t virtualKey);
// The leading run of characters from "0123456789,." of text.
std::string_view NumericLeadingRun(std::string_view text);

// The process-wide current hint: overwritten by whichever control last reported one.
class HintChannel {
public:
    const std::string& Current() const { return m_current; }
    // A bitmap button reports a hover state (on or off): its hint becomes current either way.
    void ButtonHover(std::string_view hint) { m_current.assign(hint); }
    // A text label under the pointer: true (and the label's hint becomes current) when hints are
    // enabled and the label's hint differs from the current one, letter case ignored; the caller
    // then tells the main window.
    bool LabelHover(bool hintsEnabled, std::string_view hint);

private:
    std::string m_current;
};
