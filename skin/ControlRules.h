// The decisions of the skinned controls, kept apart from the windows so that they can be tested
// without a screen.
#pragma once

#include <cstdint>
#include <optional>
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
    bool hasCapture;         // the button holds the mouse capture
    bool activeWindowExists; // the process has an active window
    bool hasOwner;
    bool pointerOverSelf; // the window under the pointer is the button itself
    bool highlighted;
};

struct ButtonMouseActions {
    bool setHighlighted = false;   // highlighted becomes 1 and hover-on is reported
    bool clearHighlighted = false; // highlighted becomes 0 and hover-off is reported
    bool captureMouse = false;
    bool releaseCapture = false;
    bool repaint = false;
};

// A button without the capture takes it; it lights up and reports its hover only when it was not
// lit already.
ButtonMouseActions OnButtonMouseMove(const ButtonMouseInput& input);
// The mouse capture changed (WM_CAPTURECHANGED): a highlighted button repaints, and its highlight
// stays until the pointer moves off. A capture the button still holds afterwards is its hover
// capture, given up; but when the change comes from the button's own press (pressing: the system's
// button takes the capture as the left button goes down on it), the capture is kept until the
// release. Then a release that comes at once after the press (a touchpad's tap, an automation
// tool), with no move between them that would take the capture again, still belongs to the press.
ButtonMouseActions OnButtonCaptureChanged(bool highlighted, bool hasCapture, bool pressing = false);
// The button lost the keyboard focus: the highlight goes (reported off even when it was not on,
// so that the status line forgets the button) and it repaints.
ButtonMouseActions OnButtonFocusLost();
// The left button went down on a button: true when its top-level window must be activated first
// (the button has an owner and that window is not the active one), so that a click on an inactive
// skinned window acts at once.
bool ButtonPressActivatesWindow(bool hasOwner, bool topLevelIsActive);

// What a bitmap button does when the left button is released over it (WM_LBUTTONUP).
struct ButtonReleaseActions {
    bool systemHandles = true; // a push button: the system's own release reports the click
    bool unpush = false;       // the system's pushed look ends (its release does not run)
    bool releaseCapture = false;
    bool checked = false; // the new checked state
    bool repaint = false;
    bool notifyParent = false; // WM_COMMAND to the parent, as a click
};
// A toggle button flips its checked state and reports the click itself.
ButtonReleaseActions OnButtonLeftRelease(bool toggleMode, bool checked, bool hasCapture);

// Virtual keys a numeric-only edit field lets through on WM_KEYDOWN: digits of both rows,
// Backspace, Return, End, Home, Left, Right, Delete, comma (188) and full stop (190). Up, Down and
// Tab and everything else are swallowed.
bool NumericEditAllowsKey(uint32_t virtualKey);
// The leading run of characters from "0123456789,." of text.
std::string_view NumericLeadingRun(std::string_view text);
// WM_KEYDOWN for an edit field, before the field sees it: true when the key is swallowed. Up and
// Down always are (a field has no lines to move between); Tab and Escape never are (the window
// moves the focus and cancels); a numeric-only field also swallows what NumericEditAllowsKey
// refuses.
bool EditSwallowsKey(bool numericOnly, uint32_t virtualKey);
// WM_KEYUP of an edit field: true when the parent is told (Return was released).
bool EditReportsKeyUp(uint32_t virtualKey);
// The text a field must be given after its text changed to text: its numeric leading run for a
// numeric-only field holding anything else; nothing when the text stays.
std::optional<std::string> EditTextCorrection(bool numericOnly, std::string_view text);

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
