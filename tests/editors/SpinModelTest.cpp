#include "SpinModel.h"

#include <gtest/gtest.h>

namespace {

// The length field of the timer dialogs: 10..999, showing 30.
SpinModel LengthField()
{
    SpinModel spin;
    spin.SetRange(10, 999);
    spin.SetValue(30);
    return spin;
}

SpinChange Shows(const std::string& text, int32_t reported)
{
    SpinChange c;
    c.fieldText = text;
    c.reported = reported;
    return c;
}

SpinChange ReportsOnly(int32_t reported)
{
    SpinChange c;
    c.reported = reported;
    return c;
}

} // namespace

TEST(SpinModel, StartsAtZeroInZeroToTenAndTheOwnersValueIsShownWithoutAReport)
{
    SpinModel spin;
    EXPECT_EQ(spin.Value(), 0);
    EXPECT_EQ(spin.Minimum(), 0);
    EXPECT_EQ(spin.Maximum(), 10);
    EXPECT_EQ(spin.Typed("50"), ReportsOnly(10));

    EXPECT_EQ(spin.SetValue(-5), "-5");
    EXPECT_EQ(spin.Text(), "-5");
    EXPECT_EQ(spin.Value(), -5);
    spin.SetRange(10, 999);
    EXPECT_EQ(spin.Value(), -5); // a new range leaves the value alone
}

TEST(SpinModel, TypingDropsSeparatorsAndLimitsToTheMaximumOnly)
{
    SpinModel spin = LengthField();
    // One thousand five hundred with a thousands separator: the value is held to 999, and the text
    // stays as typed until Enter.
    EXPECT_EQ(spin.Typed("1,500"), ReportsOnly(999));
    EXPECT_EQ(spin.Value(), 999);
    EXPECT_EQ(spin.Text(), "1,500");
    EXPECT_EQ(spin.Typed("1.5"), ReportsOnly(15));

    // Below the minimum is allowed while typing.
    EXPECT_EQ(spin.Typed("5"), ReportsOnly(5));
    EXPECT_EQ(spin.Value(), 5);

    // Everything before the first digit 1..9 is ignored, and the number ends at the first other
    // character.
    EXPECT_EQ(spin.Typed("abc12x3"), ReportsOnly(12));
    EXPECT_EQ(spin.Typed("007"), ReportsOnly(7));
    EXPECT_EQ(spin.Typed("-42"), ReportsOnly(42));
    EXPECT_EQ(spin.Typed("0"), ReportsOnly(0));
    EXPECT_EQ(spin.Typed(""), ReportsOnly(0));
    EXPECT_EQ(spin.Typed("99999999999999999999"), ReportsOnly(999));
}

TEST(SpinModel, EnterBringsATypedNumberIntoTheRangeAndShowsIt)
{
    SpinModel spin = LengthField();
    spin.Typed("5");
    EXPECT_EQ(spin.Enter(), Shows("10", 10));
    EXPECT_EQ(spin.Value(), 10);
    EXPECT_EQ(spin.Text(), "10");

    spin.Typed("1,500");
    EXPECT_EQ(spin.Enter(), Shows("999", 999));
    EXPECT_EQ(spin.Text(), "999");

    // A text that already reads as the value is not set again, but the value is still reported.
    spin.Typed("250");
    EXPECT_EQ(spin.Enter(), ReportsOnly(250));
    // A text with more than the number in it is replaced by the number.
    spin.Typed("  250s");
    EXPECT_EQ(spin.Enter(), Shows("250", 250));
}

TEST(SpinModel, EnterOnZeroOrNoDigitsChangesNothing)
{
    SpinModel spin = LengthField();
    for (const char* text : {"0", "", "abc", "000"}) {
        spin.Typed(text);
        const int32_t typedValue = spin.Value();
        EXPECT_EQ(spin.Enter(), SpinChange()) << text;
        EXPECT_EQ(spin.Text(), text);
        EXPECT_EQ(spin.Value(), typedValue) << text;
    }
}

TEST(SpinModel, UpAndDownStepWithinTheRangeFromWhatTheFieldShows)
{
    SpinModel spin = LengthField();
    EXPECT_EQ(spin.Up(), Shows("31", 31));
    EXPECT_EQ(spin.Down(), Shows("30", 30));

    // The buttons read the field, not the last value.
    spin.Typed("1,0,0");
    EXPECT_EQ(spin.Up(), Shows("101", 101));

    spin.SetValue(999);
    EXPECT_EQ(spin.Up(), Shows("999", 999));
    EXPECT_EQ(spin.Value(), 999);
    spin.SetValue(10);
    EXPECT_EQ(spin.Down(), Shows("10", 10));
    EXPECT_EQ(spin.Value(), 10);
}

TEST(SpinModel, ButtonsOutsideTheRangeDoNothingTowardsItsFarSideAndComeBackIntoIt)
{
    SpinModel spin = LengthField();
    // Above the maximum Up does nothing; Down brings the number back into the range.
    spin.Typed("1,500");
    EXPECT_EQ(spin.Up(), SpinChange());
    EXPECT_EQ(spin.Text(), "1,500");
    EXPECT_EQ(spin.Down(), Shows("999", 999));

    // Below the minimum Down does nothing; Up brings the number to the minimum.
    spin.Typed("5");
    EXPECT_EQ(spin.Down(), SpinChange());
    EXPECT_EQ(spin.Value(), 5);
    EXPECT_EQ(spin.Up(), Shows("10", 10));

    // A field without a number reads 0.
    spin.Typed("");
    EXPECT_EQ(spin.Up(), Shows("10", 10));
}

TEST(SpinModel, ButtonsReadASignedNumberAsTheFieldShowsIt)
{
    SpinModel spin;
    spin.SetRange(-10, 10);
    spin.SetValue(-3);
    EXPECT_EQ(spin.Up(), Shows("-2", -2));
    EXPECT_EQ(spin.Down(), Shows("-3", -3));
    spin.Typed(" -1.0"); // the text -10, as the buttons read it
    EXPECT_EQ(spin.Down(), Shows("-10", -10));
    EXPECT_EQ(SpinButtonNumber("-99999999999"), -2147483648LL);
    EXPECT_EQ(SpinButtonNumber("x5"), 0);
}
