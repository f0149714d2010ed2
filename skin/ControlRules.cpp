#include "ControlRules.h"

#include "Text.h"

ButtonPicture ChooseButtonPicture(const ButtonLookState& state)
{
    if (state.toggleMode)
        return state.checked ? ButtonPicture::Down : ButtonPicture::Normal;
    if (state.checked || state.pressed)
        return ButtonPicture::Down;
    if (state.highlighted)
        return ButtonPicture::Over;
    if (state.disabled)
        return ButtonPicture::Disabled;
    return ButtonPicture::Normal;
}

ButtonMouseActions OnButtonMouseMove(const ButtonMouseInput& input)
{
    ButtonMouseActions actions;
    // A drag that began elsewhere does not light the button.
    if (input.leftButtonHeld && !input.highlighted)
        return actions;
    if (!input.hasCapture) {
        // The capture lets the button see the move that leaves it. A button still lit (its click
        // ended the capture, the pointer never left) takes it back without telling its hover
        // again: the status line keeps what the click said.
        if (input.activeWindowExists && input.hasOwner) {
            actions.setHighlighted = !input.highlighted;
            actions.captureMouse = true;
            actions.repaint = !input.highlighted;
        }
        return actions;
    }
    if (input.pointerOverSelf)
        return actions;
    if (input.highlighted) {
        actions.clearHighlighted = true;
        actions.repaint = true;
    }
    // While the left button is held the system's pressed tracking needs the capture until release.
    actions.releaseCapture = !input.leftButtonHeld;
    return actions;
}

ButtonMouseActions OnButtonCaptureChanged(bool highlighted, bool hasCapture, bool pressing)
{
    ButtonMouseActions actions;
    if (highlighted) {
        actions.releaseCapture = hasCapture && !pressing;
        actions.repaint = true;
    }
    return actions;
}

ButtonMouseActions OnButtonFocusLost()
{
    ButtonMouseActions actions;
    actions.clearHighlighted = true;
    actions.repaint = true;
    return actions;
}

bool ButtonPressActivatesWindow(bool hasOwner, bool topLevelIsActive)
{
    return hasOwner && !topLevelIsActive;
}

ButtonReleaseActions OnButtonLeftRelease(bool toggleMode, bool checked, bool hasCapture)
{
    ButtonReleaseActions actions;
    actions.checked = checked;
    if (!toggleMode)
        return actions;
    // The system button took the capture and its pushed look on the press; both end here, since
    // its own release (which would also report a click) does not run.
    actions.systemHandles = false;
    actions.unpush = true;
    actions.releaseCapture = hasCapture;
    actions.checked = !checked;
    actions.repaint = true;
    actions.notifyParent = true;
    return actions;
}

bool NumericEditAllowsKey(uint32_t virtualKey)
{
    constexpr uint32_t kBack = 0x08, kReturn = 0x0D, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kRight = 0x27,
                       kDelete = 0x2E, kComma = 0xBC, kPeriod = 0xBE;
    if (virtualKey >= '0' && virtualKey <= '9')
        return true;
    if (virtualKey >= 0x60 && virtualKey <= 0x69) // numeric pad 0-9
        return true;
    switch (virtualKey) {
    case kBack:
    case kReturn:
    case kEnd:
    case kHome:
    case kLeft:
    case kRight:
    case kDelete:
    case kComma:
    case kPeriod: return true;
    default: return false;
    }
}

std::string_view NumericLeadingRun(std::string_view text)
{
    size_t end = text.find_first_not_of("0123456789,.");
    return end == std::string_view::npos ? text : text.substr(0, end);
}

bool EditSwallowsKey(bool numericOnly, uint32_t virtualKey)
{
    constexpr uint32_t kTab = 0x09, kEscape = 0x1B, kUp = 0x26, kDown = 0x28;
    // Tab and Escape are the window's: the next control, Cancel.
    if (virtualKey == kTab || virtualKey == kEscape)
        return false;
    if (virtualKey == kUp || virtualKey == kDown)
        return true;
    return numericOnly && !NumericEditAllowsKey(virtualKey);
}

bool EditReportsKeyUp(uint32_t virtualKey)
{
    constexpr uint32_t kReturn = 0x0D;
    return virtualKey == kReturn;
}

std::optional<std::string> EditTextCorrection(bool numericOnly, std::string_view text)
{
    if (!numericOnly)
        return std::nullopt;
    const std::string_view kept = NumericLeadingRun(text);
    if (kept.size() == text.size())
        return std::nullopt;
    return std::string(kept);
}

bool HintChannel::LabelHover(bool hintsEnabled, std::string_view hint)
{
    if (!hintsEnabled || EqualNoCase(hint, m_current))
        return false;
    m_current.assign(hint);
    return true;
}
