#include "KeyTable.h"
#include "WinKeyboardLayout.h"

#include <gtest/gtest.h>

namespace {

// The test display has a US keymap, so the system's answers must match the fixed US layout.
TEST(WinKeyboardLayout, SystemLayoutAgreesWithTheUsLayoutOnLettersAndDigits)
{
    WinKeyboardLayout layout;
    EXPECT_EQ(VirtualKeyToUsage(0x41, layout), 0x04u);
    EXPECT_EQ(UsageToVirtualKey(0x1D, layout), 0x5Au);
    EXPECT_EQ(UsageName(0x04, layout), "A");
    EXPECT_EQ(UsageName(0x27, layout), "0");
    EXPECT_EQ(UsageName(0x4A, layout), "Home");
    for (uint32_t vk = 0x41; vk <= 0x5A; ++vk)
        EXPECT_EQ(VirtualKeyName(vk, layout), VirtualKeyName(vk, UsKeyboardLayout())) << vk;
}

} // namespace
