#include "ButtonPosition.h"

#include "Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

ButtonPosition Parse(const char* value)
{
    ButtonPosition pos;
    std::memset(&pos, 0x5A, sizeof pos); // whatever the caller's record held before
    ParseButtonPos(value, pos);
    return pos;
}

bool IsAllZero(const ButtonPosition& pos)
{
    ButtonPosition zero;
    std::memset(&zero, 0, sizeof zero);
    return std::memcmp(&pos, &zero, sizeof pos) == 0;
}

using Rect = std::vector<int32_t>;

Rect RectOf(const ButtonPosition& pos)
{
    return {pos.left, pos.top, pos.right, pos.bottom};
}

TEST(ParseButtonPos, ReadsNameRectangleHintAndFlag)
{
    ButtonPosition ok = Parse("OK,10,20,30,40,Press here,NO");
    EXPECT_EQ(FieldText(ok.name), "OK");
    EXPECT_EQ(RectOf(ok), Rect({10, 20, 40, 60}));
    EXPECT_EQ(FieldText(ok.hint), "Press here");
    EXPECT_EQ(ok.flag, 0);

    EXPECT_EQ(FieldText(Parse("Apply,22,580,90,24,  Save the profile,NO").hint), "Save the profile");
    EXPECT_EQ(Parse("Tab,1,2,3,4,Profiles,TRUE").flag, 1);
    EXPECT_EQ(Parse("Tab,1,2,3,4,Turn TRUE colours on,NO").flag, 1) << "TRUE anywhere after the first comma";
    EXPECT_EQ(Parse("TRUE,1,2,3,4,h,NO").flag, 0) << "the name is not searched";
    EXPECT_EQ(Parse("Tab,1,2,3,4,h,true").flag, 0) << "only the upper-case word counts";
}

TEST(ParseButtonPos, MissingOrCommaFreeValuesGiveAnAllZeroRecord)
{
    EXPECT_TRUE(IsAllZero(Parse(nullptr)));
    EXPECT_TRUE(IsAllZero(Parse("")));
    EXPECT_TRUE(IsAllZero(Parse("Close 1 2 3 4 TRUE")));
}

TEST(ParseButtonPos, StopsAtTheFirstFieldThatIsNoNumber)
{
    ButtonPosition commas = Parse(",,,,,,");
    EXPECT_TRUE(IsAllZero(commas));

    EXPECT_EQ(RectOf(Parse("X,abc,20,30,40,h,NO")), Rect({0, 0, 0, 0}));
    EXPECT_EQ(RectOf(Parse("X,10,y,30,40,h,NO")), Rect({10, 0, 10, 0}));
    EXPECT_EQ(RectOf(Parse("X,10, 20,\t30,+40,h,NO")), Rect({10, 20, 40, 60})) << "blanks and a sign before a number";
    EXPECT_EQ(RectOf(Parse("X,10 ,20,30,40,h,NO")), Rect({10, 0, 10, 0})) << "the comma must follow the number";
    EXPECT_EQ(RectOf(Parse("X,1-,2,3,4")), Rect({1, 0, 1, 0}));
    EXPECT_EQ(RectOf(Parse("X,7")), Rect({7, 0, 7, 0}));
    EXPECT_EQ(FieldText(Parse("X,7,tip").hint), "7") << "with one comma left, the hint is what precedes it";
}

TEST(ParseButtonPos, NegativeAndHugeNumbersWrapWithoutFault)
{
    EXPECT_EQ(RectOf(Parse("X,100,100,-30,-40,h,NO")), Rect({100, 100, 70, 60}));
    // Beyond 32 bits the digits wrap; 99999999999 mod 2^32 = 1215752191.
    EXPECT_EQ(RectOf(Parse("X,99999999999,-2147483648,0,-1,h,NO")),
              Rect({1215752191, INT32_MIN, 1215752191, INT32_MAX}));
    EXPECT_EQ(RectOf(Parse("X,2147483647,0,1,0,h,NO")), Rect({INT32_MAX, 0, INT32_MIN, 0}));
    ButtonPosition digits = Parse(("X," + std::string(5000, '9') + ",1,1,1,h,NO").c_str());
    EXPECT_EQ(digits.top, 1);
    EXPECT_EQ(digits.right - digits.left, 1);
}

TEST(ParseButtonPos, CutsOverlongNameAndHintToTheirFields)
{
    std::string name(100, 'n');
    std::string hint(5000, 'h');
    ButtonPosition pos = Parse((name + ",1,2,3,4,   " + hint + ",TRUE").c_str());
    EXPECT_EQ(FieldText(pos.name), name.substr(0, 39));
    EXPECT_EQ(FieldText(pos.hint), hint.substr(0, 399));
    EXPECT_EQ(RectOf(pos), Rect({1, 2, 4, 6}));
    EXPECT_EQ(pos.flag, 1);
}

} // namespace
