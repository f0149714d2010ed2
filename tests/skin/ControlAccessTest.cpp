#include "ControlAccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ReadingOrder, RowsFromTheTopEachLeftToRight)
{
    // The main window's layout in small: three tabs in a row, slots a little staggered, OK/Apply/Cancel.
    const std::vector<ControlBox> boxes = {
        {400, 560, 480, 588}, // 0 Cancel
        {20, 40, 80, 70},     // 1 tab 1
        {200, 42, 260, 68},   // 2 tab 3 (a pixel lower: same row)
        {100, 40, 160, 70},   // 3 tab 2
        {300, 560, 380, 588}, // 4 Apply
        {20, 100, 60, 120},   // 5 slot 1
        {200, 560, 280, 588}, // 6 OK
    };
    EXPECT_EQ(ReadingOrder(boxes), (std::vector<std::size_t>{1, 3, 2, 5, 6, 4, 0}));
}

TEST(ReadingOrder, TallControlBesideAColumnReadsByItsMiddle)
{
    // A list on the left as tall as three buttons on its right: the list's middle is in the second
    // button's row.
    const std::vector<ControlBox> boxes = {
        {200, 0, 280, 20},  // 0
        {200, 40, 280, 60}, // 1
        {200, 80, 280, 100}, // 2
        {0, 0, 180, 100},   // 3 list
    };
    EXPECT_EQ(ReadingOrder(boxes), (std::vector<std::size_t>{0, 3, 1, 2}));
}

TEST(ReadingOrder, EmptyAndEqualBoxes)
{
    EXPECT_TRUE(ReadingOrder({}).empty());
    EXPECT_EQ(ReadingOrder({{0, 0, 10, 10}, {0, 0, 10, 10}}), (std::vector<std::size_t>{0, 1}));
}

TEST(NextTabStop, WrapsBothWays)
{
    const std::vector<std::size_t> order = {2, 0, 1};
    EXPECT_EQ(NextTabStop(order, 2, true), 0u);
    EXPECT_EQ(NextTabStop(order, 1, true), 2u);
    EXPECT_EQ(NextTabStop(order, 2, false), 1u);
    EXPECT_EQ(NextTabStop(order, std::nullopt, true), 2u);
    EXPECT_EQ(NextTabStop(order, std::nullopt, false), 1u);
    EXPECT_EQ(NextTabStop(order, 7, true), 2u) << "a focus outside the order starts at the first";
    EXPECT_FALSE(NextTabStop({}, 0, true).has_value());
}

TEST(ArrowTarget, MovesInTheGroupAndWraps)
{
    EXPECT_EQ(ArrowTarget(0, 5, ArrowKey::Right), 1u);
    EXPECT_EQ(ArrowTarget(0, 5, ArrowKey::Down), 1u);
    EXPECT_EQ(ArrowTarget(0, 5, ArrowKey::Left), 4u);
    EXPECT_EQ(ArrowTarget(4, 5, ArrowKey::Right), 0u);
    EXPECT_EQ(ArrowTarget(2, 5, ArrowKey::Up), 1u);
    EXPECT_EQ(ArrowTarget(0, 0, ArrowKey::Up), 0u);
}

TEST(DescribeControl, NameFromCaptionElseHint)
{
    ControlAccessInput input;
    input.caption = "Reset";
    input.hint = "Reset the keys to their defaults";
    EXPECT_EQ(DescribeControl(input).name, "Reset");
    input.caption.clear();
    EXPECT_EQ(DescribeControl(input).name, "Reset the keys to their defaults") << "the picture is the caption";
    input.name = "Race";
    EXPECT_EQ(DescribeControl(input).name, "Race") << "the window's name comes first";
}

TEST(DescribeControl, KeyButtonSaysItsKeyThenItsAssignment)
{
    ControlAccessInput input;
    input.prefix = "G2";
    input.caption = "Ctrl+F5";
    input.hint = "Click to assign a function";
    EXPECT_EQ(DescribeControl(input).name, "G2: Ctrl+F5");
    input.caption.clear();
    input.hint.clear();
    EXPECT_EQ(DescribeControl(input).name, "G2");
}

TEST(DescribeControl, AccessMarksDroppedAndBlanksTrimmed)
{
    ControlAccessInput input;
    input.caption = " &Apply && close ";
    EXPECT_EQ(DescribeControl(input).name, "Apply & close");
}

TEST(DescribeControl, OnlyToggleAndRadioAreChecked)
{
    ControlAccessInput input;
    input.caption = "x";
    input.checked = true;
    EXPECT_FALSE(DescribeControl(input).checked) << "a push button that shows itself down is not checked";
    input.role = ControlRole::CheckBox;
    EXPECT_TRUE(DescribeControl(input).checked);
    input.role = ControlRole::RadioButton;
    EXPECT_TRUE(DescribeControl(input).checked);
    EXPECT_EQ(DescribeControl(input).role, ControlRole::RadioButton);
    input.role = ControlRole::StaticText;
    EXPECT_FALSE(DescribeControl(input).checked);
    EXPECT_FALSE(DescribeControl(input).focusable);
    input.disabled = true;
    EXPECT_TRUE(DescribeControl(input).unavailable);
}

TEST(AccessKeyOf, MarkedLetterUpperCase)
{
    EXPECT_EQ(AccessKeyOf("&Apply"), 'A');
    EXPECT_EQ(AccessKeyOf("Ex&port"), 'P');
    EXPECT_FALSE(AccessKeyOf("Save && close").has_value());
    EXPECT_FALSE(AccessKeyOf("Plain").has_value());
    EXPECT_FALSE(AccessKeyOf("End&").has_value());
    EXPECT_EQ(AccessKeyOf("A && &b"), 'B');
}

TEST(DescribeControl, ShortCaptionNamesAPictureButtonAndTheHintDescribesIt)
{
    ControlAccessInput input;
    input.hint = "Apply the changes";
    EXPECT_EQ(DescribeControl(input).name, "Apply the changes") << "without a short caption the hint names it";
    EXPECT_EQ(DescribeControl(input).description, "");
    EXPECT_EQ(DescribeControl(input).keyboardShortcut, "");
    input.shortCaption = "&Apply";
    const ControlAccess access = DescribeControl(input);
    EXPECT_EQ(access.name, "Apply");
    EXPECT_EQ(access.description, "Apply the changes");
    EXPECT_EQ(access.keyboardShortcut, "Alt+A");
    input.name = "Race";
    EXPECT_EQ(DescribeControl(input).name, "Race") << "a slot keeps its profile's name";
    EXPECT_EQ(DescribeControl(input).description, "Apply the changes");
}

TEST(DescribeControl, ShortCaptionWithoutALetterGivesNoShortcut)
{
    ControlAccessInput input;
    input.hint = "Apply the changes";
    for (const char* caption : {"&", "&&", "Apply&", "& Apply", "Apply"}) {
        input.shortCaption = caption;
        EXPECT_EQ(DescribeControl(input).keyboardShortcut, "") << caption;
    }
    input.shortCaption = "&";
    EXPECT_EQ(DescribeControl(input).name, "Apply the changes") << "a caption of marks only names nothing";
    input.shortCaption = "&&";
    EXPECT_EQ(DescribeControl(input).name, "&");
    input.hint = "Apply";
    input.shortCaption = "&Apply";
    EXPECT_EQ(DescribeControl(input).description, "") << "a hint that is the name again says nothing more";
}

TEST(AccessKeyOf, AnsiLetterBeyondAsciiAndDigits)
{
    EXPECT_EQ(AccessKeyOf("&\xCF\xF0\xE8"), '\xCF') << "a Cyrillic letter of code page 1251 as it stands";
    EXPECT_EQ(AccessKeyOf("Profile &2"), '2');
    EXPECT_FALSE(AccessKeyOf("&").has_value());
    EXPECT_FALSE(AccessKeyOf("&&").has_value());
    EXPECT_FALSE(AccessKeyOf("&-x").has_value());
    EXPECT_FALSE(AccessKeyOf("").has_value());
    EXPECT_EQ(AccessMarkEnd("Ex&port"), 3u);
    EXPECT_EQ(AccessMarkEnd("A && &b"), 6u);
    EXPECT_FALSE(AccessMarkEnd("End&").has_value());
    EXPECT_FALSE(AccessMarkEnd("&&").has_value());
    EXPECT_EQ(AccessKeyShortcut("E&xport"), "Alt+X");
    EXPECT_EQ(AccessKeyShortcut("&"), "");
}

TEST(ControlForAccessKey, ChoosesTheCaptionThatMarksTheKey)
{
    const std::vector<std::string> captions = {"&Keys", "&Update", "", "&Help", "&Apply"};
    EXPECT_EQ(ControlForAccessKey(captions, 'u'), 1u);
    EXPECT_EQ(ControlForAccessKey(captions, 'U'), 1u);
    EXPECT_EQ(ControlForAccessKey(captions, 'a'), 4u);
    EXPECT_FALSE(ControlForAccessKey(captions, 'z').has_value()) << "a letter no caption marks chooses nothing";
    EXPECT_FALSE(ControlForAccessKey({}, 'a').has_value());
}

TEST(ControlForAccessKey, FirstInReadingOrderWinsAndOddKeysChooseNothing)
{
    EXPECT_EQ(ControlForAccessKey({"&Open", "&Other"}, 'o'), 0u) << "of two with one letter the first wins";
    const std::vector<std::string> odd = {"&", "&&", "End&", "& x", "A && b", "&-"};
    for (char key : {'&', ' ', '-', 'x', 'e', '\0'})
        EXPECT_FALSE(ControlForAccessKey(odd, key).has_value()) << static_cast<int>(key);
    EXPECT_EQ(ControlForAccessKey({"x", "&\xCF\xF0"}, '\xCF'), 1u);
}

TEST(IsNavigationKey, OnlyOnceTheUserMovesByKeyboard)
{
    EXPECT_FALSE(IsNavigationKey(0x20, false)) << "a mouse user's Space is captured, as before";
    EXPECT_TRUE(IsNavigationKey(0x20, true));
    EXPECT_TRUE(IsNavigationKey(0x09, true));
    EXPECT_TRUE(IsNavigationKey(0x0D, true));
    EXPECT_TRUE(IsNavigationKey(0x1B, true));
    EXPECT_FALSE(IsNavigationKey(0x74, true)) << "F5 is always captured";
}

} // namespace
