// The rules of the spin field (CSpinWnd): a numeric edit field with up and down buttons that keeps a
// value within a range and reports every new value to its parent (WM_SPIN_VALUE, wParam = value,
// lParam = the field's control id). The window passes the field's text in and applies what comes
// back; the field's text itself is the edit control's, so every rule starts from the text the user
// sees, not from the last value. A text this class hands back is already its own; passing it to
// Typed again, as the field's change notification does, only reports the same value once more.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What an action asks of the field and its parent.
struct SpinChange {
    std::optional<std::string> fieldText; // the field must now show this; nothing: the text stays
    std::optional<int32_t> reported;      // reported to the parent; nothing: no report

    bool operator==(const SpinChange& other) const
    {
        return fieldText == other.fieldText && reported == other.reported;
    }
};

class SpinModel {
public:
    // The range is 0..10 and the value 0 until the owner sets them.
    static constexpr int32_t kDefaultMinimum = 0;
    static constexpr int32_t kDefaultMaximum = 10;
    static constexpr int32_t kStep = 1;

    // Only the bounds change; the value and the text stay as they are.
    void SetRange(int32_t minimum, int32_t maximum);
    // Set by the owner, who knows it already: the field shows it as "%d" and nothing is reported.
    // Returns the field's new text.
    std::string SetValue(int32_t value);

    // The up button. A field above the maximum changes nothing; otherwise the field's number plus
    // the step, within the range, becomes the value, is shown and reported.
    SpinChange Up();
    // The down button. A field below the minimum changes nothing; otherwise the field's number less
    // the step, within the range, becomes the value, is shown and reported.
    SpinChange Down();
    // The field's text changed to text (typed, pasted or set). Everything before the first digit 1
    // to 9 is ignored and separators are dropped, so "1,500" reads 1500; the number, cut to the
    // maximum only, becomes the value and is reported. The text is left as typed.
    SpinChange Typed(std::string_view text);
    // Enter in the field. A number below 1 changes nothing; otherwise it is brought into the
    // range, shown as "%d" when the text differs from it, becomes the value and is reported.
    SpinChange Enter();

    int32_t Value() const { return m_value; }
    int32_t Minimum() const { return m_minimum; }
    int32_t Maximum() const { return m_maximum; }
    const std::string& Text() const { return m_text; }

private:
    SpinChange Show(int32_t value);
    int32_t WithinRange(long long number) const;

    int32_t m_minimum = kDefaultMinimum;
    int32_t m_maximum = kDefaultMaximum;
    int32_t m_value = 0;
    std::string m_text;
};

// The number the up and down buttons read from a field: every "," and "." removed, then the leading
// decimal number after blanks and an optional sign, as atoi reads it (0 when there is none), held
// to the 32-bit range.
long long SpinButtonNumber(std::string_view text);
// The number typing and Enter read from a field: the digits from the first digit 1 to 9 on, with
// "," and "." removed (0 when there is none), held to the 32-bit range.
long long SpinTypedNumber(std::string_view text);
