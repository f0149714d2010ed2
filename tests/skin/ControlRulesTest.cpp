#include "ControlRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

TEST(ChooseButtonPicture, FirstMatchingStateWins)
{
    auto pick = [](bool toggle, bool checked, bool pressed, bool highlighted, bool disabled) {
        return ChooseButtonPicture(ButtonLookState{toggle, checked, pressed, highlighted, disabled});
    };
    EXPECT_EQ(pick(true, true, false, true, false), ButtonPicture::Down);
    EXPECT_EQ(pick(true, false, false, true, false), ButtonPicture::Normal) << "toggle ignores the pointer";
    EXPECT_EQ(pick(true, false, true, false, true), ButtonPicture::Normal);
    EXPECT_EQ(pick(false, true, false, true, true), ButtonPicture::Down);
    EXPECT_EQ(pick(false, false, true, true, false), ButtonPicture::Down);
    EXPECT_EQ(pick(false, false, false, true, true), ButtonPicture::Over) << "highlight comes before disabled";
    EXPECT_EQ(pick(false, false, false, false, true), ButtonPicture::Disabled);
    EXPECT_EQ(pick(false, false, false, false, false), ButtonPicture::Normal);
}

// Buttons and the system's single mouse capture: a move goes to the capture holder, else to the
// button under the pointer; releasing the capture makes the system send a move to the window under
// the pointer, as Windows does.
struct Desk {
    struct Button {
        std::string hint;
        bool highlighted = false;
    };
    std::vector<Button> buttons;
    int capture = -1;
    bool leftHeld = false;
    std::vector<std::string> reports; // "<hint> on" / "<hint> off", in order
    HintChannel hints;

    void MoveTo(int under)
    {
        int target = capture >= 0 ? capture : under;
        if (target < 0)
            return;
        Button& b = buttons[static_cast<size_t>(target)];
        ButtonMouseActions a =
            OnButtonMouseMove({leftHeld, capture == target, true, true, under == target, b.highlighted});
        if (a.setHighlighted || a.clearHighlighted) {
            b.highlighted = a.setHighlighted;
            reports.push_back(b.hint + (a.setHighlighted ? " on" : " off"));
            hints.ButtonHover(b.hint);
        }
        if (a.captureMouse)
            capture = target;
        if (a.releaseCapture && capture == target) {
            capture = -1;
            MoveTo(under);
        }
    }

    // The left button goes down on button under: the system's button takes the capture for the
    // press, and the window that held it is told (the button itself when it held it for its hover,
    // as Wine tells it). A release that follows at once has no move before it.
    void Press(int under)
    {
        const int previous = capture;
        capture = under;
        if (previous < 0)
            return;
        Button& b = buttons[static_cast<size_t>(previous)];
        const bool pressing = previous == under;
        ButtonMouseActions a = OnButtonCaptureChanged(b.highlighted, capture == previous, pressing);
        if (a.releaseCapture && capture == previous)
            capture = -1;
    }
    // The button the release goes to: the capture holder, else the button under the pointer.
    int Release(int under)
    {
        const int target = capture >= 0 ? capture : under;
        capture = -1;
        return target;
    }
};

TEST(OnButtonMouseMove, MovingFromOneButtonToTheNextHandsOverTheHighlight)
{
    Desk desk;
    desk.buttons = {{"Apply the profile"}, {"Reset the keys"}};
    desk.MoveTo(0);
    desk.MoveTo(0);
    desk.MoveTo(1);
    EXPECT_EQ(desk.reports,
              (std::vector<std::string>{"Apply the profile on", "Apply the profile off", "Reset the keys on"}));
    EXPECT_EQ(desk.hints.Current(), "Reset the keys");
    EXPECT_FALSE(desk.buttons[0].highlighted);
    EXPECT_TRUE(desk.buttons[1].highlighted);
    EXPECT_EQ(desk.capture, 1);

    desk.MoveTo(-1);
    EXPECT_EQ(desk.reports.back(), "Reset the keys off");
    EXPECT_EQ(desk.capture, -1);
    EXPECT_EQ(desk.hints.Current(), "Reset the keys") << "the last hint stays";
}

TEST(OnButtonMouseMove, DragsAndMissingWindowsLeaveTheButtonAlone)
{
    Desk desk;
    desk.buttons = {{"a"}, {"b"}};
    desk.leftHeld = true;
    desk.MoveTo(0);
    EXPECT_TRUE(desk.reports.empty()) << "a drag from elsewhere does not light a button";

    // Pressed on a lit button, then dragged off: the light goes, the capture stays until release.
    desk.leftHeld = false;
    desk.MoveTo(0);
    desk.leftHeld = true;
    desk.MoveTo(1);
    EXPECT_EQ(desk.reports, (std::vector<std::string>{"a on", "a off"}));
    EXPECT_EQ(desk.capture, 0);

    for (ButtonMouseInput in : {ButtonMouseInput{false, false, false, true, true, false},
                                ButtonMouseInput{false, false, true, false, true, false}}) {
        ButtonMouseActions a = OnButtonMouseMove(in);
        EXPECT_FALSE(a.setHighlighted || a.captureMouse || a.repaint || a.clearHighlighted || a.releaseCapture);
    }
}

TEST(ButtonRelease, ToggleButtonsFlipAndReportTheClickThemselvesPushButtonsLeaveItToTheSystem)
{
    const ButtonReleaseActions push = OnButtonLeftRelease(false, false, true);
    EXPECT_TRUE(push.systemHandles);
    EXPECT_FALSE(push.notifyParent || push.unpush || push.releaseCapture || push.checked);

    // Two clicks of a toggle: on, then off again, each reported once and each ending the press.
    bool checked = false;
    for (bool expected : {true, false}) {
        const ButtonReleaseActions toggle = OnButtonLeftRelease(true, checked, true);
        EXPECT_FALSE(toggle.systemHandles) << "the system's release would report a second click";
        EXPECT_TRUE(toggle.notifyParent && toggle.unpush && toggle.releaseCapture && toggle.repaint);
        EXPECT_EQ(toggle.checked, expected);
        checked = toggle.checked;
    }
    EXPECT_FALSE(OnButtonLeftRelease(true, false, false).releaseCapture) << "no capture to give up";
}

TEST(ButtonFocusAndCapture, ALitButtonThatLosesItsCaptureStaysLitUntilTheFocusGoes)
{
    Desk desk;
    desk.buttons = {{"Load a profile"}};
    desk.MoveTo(0);
    ASSERT_TRUE(desk.buttons[0].highlighted);

    // A menu takes the capture: the button repaints and keeps its light.
    const ButtonMouseActions lost = OnButtonCaptureChanged(desk.buttons[0].highlighted, false);
    EXPECT_TRUE(lost.repaint);
    EXPECT_FALSE(lost.clearHighlighted || lost.releaseCapture || lost.captureMouse);
    EXPECT_TRUE(OnButtonCaptureChanged(true, true).releaseCapture) << "a capture still held is given up";
    const ButtonMouseActions unlit = OnButtonCaptureChanged(false, true);
    EXPECT_FALSE(unlit.repaint || unlit.releaseCapture);

    const ButtonMouseActions focus = OnButtonFocusLost();
    EXPECT_TRUE(focus.clearHighlighted && focus.repaint);
    EXPECT_FALSE(focus.setHighlighted || focus.captureMouse);

    EXPECT_TRUE(ButtonPressActivatesWindow(true, false));
    EXPECT_FALSE(ButtonPressActivatesWindow(true, true));
    EXPECT_FALSE(ButtonPressActivatesWindow(false, false)) << "nothing to activate";
}

TEST(ButtonFocusAndCapture, APressKeepsItsCaptureSoThatAReleaseAtOnceBelongsToIt)
{
    Desk desk;
    desk.buttons = {{"Create the macro set"}, {"Close and create nothing"}};
    desk.MoveTo(0);
    ASSERT_EQ(desk.capture, 0) << "the hover's capture";

    // A tap: press and release with nothing between them. The capture the press gave the button
    // stays with it, so the release is the press's wherever the system would route it otherwise.
    desk.Press(0);
    EXPECT_EQ(desk.capture, 0);
    EXPECT_TRUE(desk.buttons[0].highlighted);
    EXPECT_EQ(desk.Release(1), 0) << "even when the pointer slid onto the next button meanwhile";

    const ButtonMouseActions press = OnButtonCaptureChanged(true, true, true);
    EXPECT_FALSE(press.releaseCapture || press.clearHighlighted || press.setHighlighted || press.captureMouse);
    EXPECT_TRUE(press.repaint);

    // The system's button lets the capture go at the release; the move that follows takes it back
    // for the hover without telling the hover again, which would put the button's hint over what
    // the click wrote on the status line.
    desk.MoveTo(0);
    EXPECT_EQ(desk.capture, 0);
    EXPECT_EQ(desk.reports, std::vector<std::string>{"Create the macro set on"});

    // A press on a button that was not lit (the pointer arrived with the press): nothing to give up.
    Desk arrived;
    arrived.buttons = {{"a"}};
    arrived.Press(0);
    EXPECT_EQ(arrived.capture, 0);
    EXPECT_EQ(arrived.Release(0), 0);
}

TEST(EditKeys, ArrowsAndTabNeverReachAFieldAndANumericFieldOnlyGetsItsKeys)
{
    for (bool numeric : {false, true}) {
        for (uint32_t key : {0x26u, 0x28u})
            EXPECT_TRUE(EditSwallowsKey(numeric, key)) << key;
        for (uint32_t key : {0x30u, 0x25u, 0x27u, 0x08u, 0xBEu, 0x09u, 0x1Bu})
            EXPECT_FALSE(EditSwallowsKey(numeric, key)) << key;
    }
    EXPECT_FALSE(EditSwallowsKey(false, 'A'));
    EXPECT_TRUE(EditSwallowsKey(true, 'A'));
    EXPECT_TRUE(EditSwallowsKey(true, 0x20u)) << "space";

    EXPECT_TRUE(EditReportsKeyUp(0x0D));
    EXPECT_FALSE(EditReportsKeyUp(0x1B));
    EXPECT_FALSE(EditReportsKeyUp('M'));

    EXPECT_EQ(EditTextCorrection(true, "12a3"), std::optional<std::string>("12"));
    EXPECT_EQ(EditTextCorrection(true, "x9"), std::optional<std::string>(""));
    EXPECT_EQ(EditTextCorrection(true, "1,5"), std::nullopt);
    EXPECT_EQ(EditTextCorrection(false, "12a3"), std::nullopt) << "any text in a plain field";
}

TEST(NumericEdit, LetsThroughDigitsEditingKeysAndSeparatorsOnly)
{
    for (uint32_t key : {0x30u, 0x39u, 0x60u, 0x69u, 8u, 13u, 35u, 36u, 37u, 39u, 46u, 188u, 190u})
        EXPECT_TRUE(NumericEditAllowsKey(key)) << key;
    for (uint32_t key : {0x41u, 0x5Au, 38u, 40u, 9u, 0x2Fu, 0x3Au, 0x5Fu, 0x6Au, 0x6Eu, 189u, 32u, 27u, 0x130u})
        EXPECT_FALSE(NumericEditAllowsKey(key)) << key;

    EXPECT_EQ(NumericLeadingRun("12a3"), "12");
    EXPECT_EQ(NumericLeadingRun(",.5"), ",.5");
    EXPECT_EQ(NumericLeadingRun("a12"), "");
    EXPECT_EQ(NumericLeadingRun("1 000"), "1");
}

TEST(HintChannel, LabelHoverTakesOnlyANewHint)
{
    HintChannel hints;
    hints.ButtonHover("Save the profile");
    EXPECT_FALSE(hints.LabelHover(false, "Macro keys"));
    EXPECT_FALSE(hints.LabelHover(true, "SAVE THE PROFILE")) << "letter case is ignored";
    EXPECT_EQ(hints.Current(), "Save the profile");
    EXPECT_TRUE(hints.LabelHover(true, "Macro keys"));
    EXPECT_EQ(hints.Current(), "Macro keys");
    EXPECT_FALSE(hints.LabelHover(true, "Macro keys"));
}

} // namespace
