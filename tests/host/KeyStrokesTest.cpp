#include "KeyStrokes.h"
#include "KeyTable.h"

#include <gtest/gtest.h>

namespace {

// The stroke of a stored usage on the US layout.
KeyStroke UsageStroke(uint32_t usage)
{
    return KeyStrokeFor(UsageToVirtualKey(usage, UsKeyboardLayout()).value_or(0), UsKeyboardLayout());
}

} // namespace

// What a program that reads scan codes sees: the navigation keys and the right-hand modifiers must
// differ from the keypad keys and the left-hand modifiers that share their scan code.
TEST(KeyStrokes, KeysWithAnE0PrefixGoOutExtendedWithTheirOwnScanCode)
{
    struct Case {
        uint32_t usage;
        uint8_t vk;
        uint8_t scan;
    };
    const Case extended[] = {
        {0x50, 0x25, 0x4B}, // Left Arrow
        {0x4F, 0x27, 0x4D}, // Right Arrow
        {0x52, 0x26, 0x48}, // Up Arrow
        {0x51, 0x28, 0x50}, // Down Arrow
        {0x49, 0x2D, 0x52}, // Insert
        {0x4C, 0x2E, 0x53}, // Delete
        {0x4A, 0x24, 0x47}, // Home
        {0x4D, 0x23, 0x4F}, // End
        {0x4B, 0x21, 0x49}, // Page Up
        {0x4E, 0x22, 0x51}, // Page Down
        {0xE4, 0x11, 0x1D}, // right Ctrl, as Ctrl
        {0xE6, 0x12, 0x38}, // right Alt (AltGr), as Alt
        {0xE3, 0x5B, 0x5B}, // left Windows key
        {0xE7, 0x5C, 0x5C}, // right Windows key
        {0x65, 0x5D, 0x5D}, // menu key
        {0x58, 0x0D, 0x1C}, // keypad Enter, as Enter
        {0x54, 0x6F, 0x35}, // keypad divide
    };
    for (const Case& c : extended) {
        SCOPED_TRACE("usage " + std::to_string(c.usage));
        const KeyStroke k = UsageStroke(c.usage);
        EXPECT_EQ(k.vk, c.vk);
        EXPECT_EQ(k.scan, c.scan);
        EXPECT_TRUE(k.extended);
    }

    const Case plain[] = {
        {0x5C, 0x64, 0x4B}, // keypad 4 shares Left Arrow's scan code
        {0x62, 0x60, 0x52}, // keypad 0 shares Insert's
        {0xE0, 0x11, 0x1D}, // left Ctrl
        {0xE2, 0x12, 0x38}, // left Alt
        {0xE1, 0x10, 0x2A}, // left Shift
        {0xE5, 0x10, 0x2A}, // right Shift is no extended key: it plays as the generic Shift
        {0x28, 0x0D, 0x1C}, // the main Enter
        {0x38, 0xBF, 0x35}, // the main slash shares keypad divide's
        {0x04, 0x41, 0x1E}, // A
    };
    for (const Case& c : plain) {
        SCOPED_TRACE("usage " + std::to_string(c.usage));
        const KeyStroke k = UsageStroke(c.usage);
        EXPECT_EQ(k.vk, c.vk);
        EXPECT_EQ(k.scan, c.scan);
        EXPECT_FALSE(k.extended);
    }
}

TEST(KeyStrokes, CodesOutsideTheVirtualKeyRangeSendNothingUsable)
{
    const KeyStroke none = KeyStrokeFor(0x125, UsKeyboardLayout()); // would alias Left Arrow in a byte
    EXPECT_EQ(none.vk, 0);
    EXPECT_FALSE(none.extended);
    EXPECT_EQ(ExtendedScanCode(0x125), 0);
    EXPECT_EQ(KeyStrokeFor(0, UsKeyboardLayout()).scan, 0);
}
