#include "DpiScale.h"

#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEST(LayoutPercentForDpi, RoundsToTheNearestHalfStepTiesUpward)
{
    EXPECT_EQ(100, LayoutPercentForDpi(0));
    EXPECT_EQ(100, LayoutPercentForDpi(-5));
    EXPECT_EQ(100, LayoutPercentForDpi(72));
    EXPECT_EQ(100, LayoutPercentForDpi(96));
    EXPECT_EQ(100, LayoutPercentForDpi(119)); // 123.9 %
    EXPECT_EQ(150, LayoutPercentForDpi(120)); // 125 %: a tie, upward
    EXPECT_EQ(150, LayoutPercentForDpi(144));
    EXPECT_EQ(150, LayoutPercentForDpi(167));
    EXPECT_EQ(200, LayoutPercentForDpi(168)); // 175 %: a tie, upward
    EXPECT_EQ(200, LayoutPercentForDpi(192));
    EXPECT_EQ(250, LayoutPercentForDpi(240));
    EXPECT_EQ(300, LayoutPercentForDpi(288));
}

TEST(ScaleValue, RoundsHalfUpAndKeepsHundredPercent)
{
    for (int v : {0, 1, 7, 131, 799, -3})
        EXPECT_EQ(v, ScaleValue(v, 100));
    EXPECT_EQ(0, ScaleValue(0, 150));
    EXPECT_EQ(2, ScaleValue(1, 150));   // 1.5 -> 2
    EXPECT_EQ(3, ScaleValue(2, 150));
    EXPECT_EQ(32, ScaleValue(21, 150)); // 31.5 -> 32
    EXPECT_EQ(-2, ScaleValue(-1, 150));
    EXPECT_EQ(-32, ScaleValue(-21, 150));
    EXPECT_EQ(262, ScaleValue(131, 200));
    EXPECT_EQ(1600, ScaleValue(800, 200));
    EXPECT_EQ(1, ScaleValue(1, 125)); // 1.25 -> 1
    EXPECT_EQ(3, ScaleValue(2, 125)); // 2.5 -> 3
}

TEST(ScaleRect, ScalesEdgesSoThatNeighboursStayAdjacent)
{
    // A row of rectangles of odd and even widths that touch: at every percent they still touch.
    for (int percent : {100, 150, 200, 250, 300}) {
        int32_t x = 17;
        ScaledRect previous = ScaleRect(x, 5, x + 33, 40, percent);
        x += 33;
        for (int w : {31, 1, 7, 104, 9}) {
            const ScaledRect next = ScaleRect(x, 5, x + w, 40, percent);
            EXPECT_EQ(previous.right, next.left) << percent;
            EXPECT_GE(next.right - next.left, w) << percent;
            previous = next;
            x += w;
        }
    }
}

TEST(ScaleRect, TwoHundredPercentIsExactlyTwice)
{
    const ScaledRect r = ScaleRect(131, 135, 504, 309, 200);
    EXPECT_EQ((ScaledRect{262, 270, 1008, 618}), r);
    const ScaledRect same = ScaleRect(131, 135, 504, 309, 100);
    EXPECT_EQ((ScaledRect{131, 135, 504, 309}), same);
}

TEST(ScaleRect, WindowSizeIsTheScaledFarEdge)
{
    // A picture of 800 x 600 at 150 % is the rectangle (0, 0)-(800, 600) scaled.
    const ScaledRect r = ScaleRect(0, 0, 799, 601, 150);
    EXPECT_EQ(ScaleSize(799, 150), r.right);
    EXPECT_EQ(ScaleSize(601, 150), r.bottom);
    EXPECT_EQ(1199, r.right);   // 1198.5 -> 1199
    EXPECT_EQ(902, r.bottom);   // 901.5 -> 902
}

TEST(ScaleButtonPos, ScalesTheRectangleAndKeepsTheRest)
{
    ButtonPosition pos;
    ParseButtonPos("OK,21,52,104,28,Press here,TRUE", pos);
    const ButtonPosition scaled = ScaleButtonPos(pos, 150);
    EXPECT_EQ(FieldText(scaled.name), "OK");
    EXPECT_EQ(FieldText(scaled.hint), "Press here");
    EXPECT_EQ(1, scaled.flag);
    EXPECT_EQ(32, scaled.left);    // 31.5
    EXPECT_EQ(78, scaled.top);
    EXPECT_EQ(188, scaled.right);  // 125 * 1.5 = 187.5
    EXPECT_EQ(120, scaled.bottom);
    const ButtonPosition twice = ScaleButtonPos(pos, 200);
    EXPECT_EQ(42, twice.left);
    EXPECT_EQ(250, twice.right);
    EXPECT_EQ(0, std::memcmp(&pos, &static_cast<const ButtonPosition&>(ScaleButtonPos(pos, 100)), sizeof pos));
}

TEST(PictureNameAt, KeepsHundredPercentWhereItIs)
{
    EXPECT_EQ("main_normal.jpg", PictureNameAt("main_normal.jpg", 100));
    EXPECT_EQ("150\\main_normal.jpg", PictureNameAt("main_normal.jpg", 150));
    EXPECT_EQ("200\\timinglist_mask.BMP", PictureNameAt("timinglist_mask.BMP", 200));
    EXPECT_EQ("", PictureFolderOf(100));
    EXPECT_EQ("200\\", PictureFolderOf(200));
}

TEST(ChoosePicturePercent, TakesTheLayoutsOwnSetWhenTheFolderHasIt)
{
    std::vector<int> asked;
    auto all = [&asked](int percent) {
        asked.push_back(percent);
        return true;
    };
    EXPECT_EQ(200, ChoosePicturePercent(200, all));
    EXPECT_EQ(std::vector<int>({200}), asked);
    asked.clear();
    EXPECT_EQ(150, ChoosePicturePercent(150, all));
    EXPECT_EQ(std::vector<int>({150}), asked);
    asked.clear();
    EXPECT_EQ(100, ChoosePicturePercent(100, all));
    EXPECT_TRUE(asked.empty()); // 100 % is always there
}

TEST(ChoosePicturePercent, FallsBackToTheLargestDrawnSetBelow)
{
    auto only100 = [](int) { return false; };
    EXPECT_EQ(100, ChoosePicturePercent(200, only100)); // a skin of an earlier release
    EXPECT_EQ(100, ChoosePicturePercent(150, only100));
    auto no200 = [](int percent) { return percent == 150; };
    EXPECT_EQ(150, ChoosePicturePercent(200, no200));
    auto all = [](int) { return true; };
    EXPECT_EQ(200, ChoosePicturePercent(250, all)); // stretched from 200
    EXPECT_EQ(200, ChoosePicturePercent(300, all));
    EXPECT_EQ(100, ChoosePicturePercent(100, nullptr));
    EXPECT_EQ(100, ChoosePicturePercent(200, nullptr));
}

} // namespace
