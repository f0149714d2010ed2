// What the keyboard and assistive technology make of the skinned windows' controls, decided apart
// from the windows so that it can be tested without a screen: the reading order Tab follows, the
// moves of the arrow keys in a radio group, and the accessible name, role and state of a control.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A control's rectangle in one coordinate system shared by all controls of a window (the screen).
struct ControlBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The controls' indexes in reading order: top to bottom, left to right. Controls whose vertical
// middles each fall within the other's height are one row, read left to right; rows are read from the
// top. Equal boxes keep their given order.
std::vector<std::size_t> ReadingOrder(const std::vector<ControlBox>& boxes);

// The control Tab (forward) or Shift+Tab moves to from current in order (indexes into the boxes,
// in reading order), wrapping round; the first (or the last, backwards) when current is not in
// order. Nothing when order is empty.
std::optional<std::size_t> NextTabStop(const std::vector<std::size_t>& order, std::optional<std::size_t> current,
                                       bool forward);

// The arrow keys in a radio group of count members (in reading order): Left and Up go to the
// previous member, Right and Down to the next, wrapping round.
enum class ArrowKey { Left, Up, Right, Down };
std::size_t ArrowTarget(std::size_t current, std::size_t count, ArrowKey key);

// What a skinned control is to assistive technology.
enum class ControlRole {
    PushButton,  // a command
    CheckBox,    // a button that stays down until pressed again (toggle mode)
    RadioButton, // one of a group of which one is chosen (profile slots, page tabs)
    StaticText,  // a label or the status line
    EditableText, // an edit field (named by the window, its text is its value)
    List,         // a list whose rows are its children, each named with its text
};

struct ControlAccessInput {
    ControlRole role = ControlRole::PushButton;
    std::string caption;  // the text drawn on the control
    std::string hint;     // the status line's hint for it
    std::string prefix;   // said before the caption ("G2" for a key button), or empty
    std::string name;     // the name given by the window (a slot's profile name), or empty
    // The short caption of a button whose picture is its caption (the language module's, not
    // drawn), with its access key marked by '&' ("&Apply"), or empty.
    std::string shortCaption;
    bool checked = false; // toggle and radio buttons
    bool disabled = false;
    bool focusable = true;
};

struct ControlAccess {
    std::string name;
    std::string description;      // the hint, when the name is not the hint already
    std::string keyboardShortcut; // "Alt+A" for the access key of the short caption, or empty
    ControlRole role = ControlRole::PushButton;
    bool checked = false;
    bool unavailable = false;
    bool focusable = true;
};

// The name: the window's name when given; else the caption, else the short caption, or the hint
// when the picture is the caption and there is no short caption; with a prefix, "prefix: text"
// ("G2: Ctrl+F5"), or the prefix alone when there is no text. Access-key marks ('&') are dropped
// ("&&" stays one '&') and blanks at the ends trimmed. The description is the hint unless the name
// is the hint; the keyboard shortcut is "Alt+" and the short caption's access key. Only check boxes
// and radio buttons are ever checked.
ControlAccess DescribeControl(const ControlAccessInput& input);

// The access key a caption marks with '&' before it: an ASCII letter (given in upper case), a
// digit, or a character of the ANSI code page beyond ASCII (a byte from 0x80, as it stands: the
// window upper-cases those in its code page). Nothing for no mark, a trailing '&', or a mark
// before a blank or punctuation; "&&" is a plain '&'. Only the first mark counts.
std::optional<char> AccessKeyOf(const std::string& caption);

// Where the character a caption marks with '&' starts: just after its first single '&', when a
// character follows; nothing for no mark or a trailing '&'. For texts in other encodings (UTF-8),
// which read the character there themselves.
std::optional<std::size_t> AccessMarkEnd(const std::string& caption);

// "Alt+" and the caption's access key ("Alt+A"), or empty when it marks none.
std::string AccessKeyShortcut(const std::string& caption);

// The control an access key pressed with Alt chooses among captions given in reading order: the
// first whose access key it is (ASCII letters in either case), so that of two controls marking
// one letter the first in reading order wins. Nothing when no caption marks it, or when key is
// nothing an access key can be (a blank, '&', punctuation).
std::optional<std::size_t> ControlForAccessKey(const std::vector<std::string>& captions, char key);

// Whether a key pressed in a window that captures keys (the shortcut dialog) is the window's own
// navigation rather than a key to capture: Tab, Return, Space and Escape are, once the user moves
// by keyboard (the focus mark shows); before that, and other keys always, they are captured.
bool IsNavigationKey(unsigned virtualKey, bool keyboardFocusShown);
