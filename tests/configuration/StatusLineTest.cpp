#include "StatusLine.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusLine, AClicksOutcomeOutlastsTheHintTheClickedButtonReportsAgain)
{
    StatusLine line;
    EXPECT_EQ(line.Hint("Tip : ", "Import a profile", true), "Tip : Import a profile");
    line.Message("No profile is selected.", "Import a profile");
    // The button reports its hint again as the click ends: the outcome stays.
    EXPECT_EQ(line.Hint("Tip : ", "Import a profile", true), std::nullopt);
    EXPECT_EQ(line.Shown(), "No profile is selected.");
    // Leaving the button keeps it too; the next control's hint replaces it.
    EXPECT_EQ(line.Hint("Tip : ", "Import a profile", false), std::nullopt);
    EXPECT_EQ(line.Hint("Tip : ", "Export", true), "Tip : Export");
}

TEST(StatusLine, AfterLeavingTheSameButtonItsHintShowsAgainAndAnotherControlEndsTheMessageAtOnce)
{
    StatusLine line;
    line.Message("Applied.", "Apply");
    EXPECT_EQ(line.Hint("Tip : ", "Apply", false), std::nullopt);
    EXPECT_EQ(line.Hint("Tip : ", "Apply", true), "Tip : Apply") << "the user came back onto the button";

    line.Message("Applied.", "Apply");
    EXPECT_EQ(line.Hint("Tip : ", "OK", true), "Tip : OK");
    EXPECT_EQ(line.Hint("Tip : ", "OK", false), "Tip : OK") << "without a message a report shows its hint";
}

} // namespace
