#include "CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, AFirstCharacterOneOpensTheConfigurationWhateverFollows)
{
    EXPECT_TRUE(OpensConfigurationAtStart("1"));
    EXPECT_TRUE(OpensConfigurationAtStart("1xyz"));
    EXPECT_TRUE(OpensConfigurationAtStart("1 --anything"));
    EXPECT_FALSE(OpensConfigurationAtStart(""));
    EXPECT_FALSE(OpensConfigurationAtStart(nullptr));
    EXPECT_FALSE(OpensConfigurationAtStart(" 1")) << "only the first character counts";
    EXPECT_FALSE(OpensConfigurationAtStart("01"));
    EXPECT_FALSE(OpensConfigurationAtStart("2"));
}
