#include "Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, NumbersAreWholeDecimalOrHexWords)
{
    EXPECT_EQ(ParseNumber("0"), 0u);
    EXPECT_EQ(ParseNumber("0042"), 42u);
    EXPECT_EQ(ParseNumber("4294967295"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseNumber("0xffffFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseNumber("0X000000001"), 1u);
    for (const char* bad : {"", "0x", "x1", "4294967296", "0x100000000", "99999999999999999999", "-1", "+1", " 1", "1 ",
                            "1e3", "0b1", "12a", "0xg"})
        EXPECT_EQ(ParseNumber(bad), std::nullopt) << "'" << bad << "'";
}

} // namespace
