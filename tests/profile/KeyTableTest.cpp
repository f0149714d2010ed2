#include "KeyTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

namespace {

// The US layout with keys moved or removed: each override replaces the US answer for one code.
class FakeLayout : public KeyboardLayout {
public:
    std::map<uint32_t, uint32_t> m_scanOfKey, m_keyOfScan;
    std::map<uint32_t, uint8_t> m_charOfKey;

    uint32_t VirtualKeyToScanCode(uint32_t vk) const override
    {
        auto it = m_scanOfKey.find(vk);
        return it != m_scanOfKey.end() ? it->second : UsKeyboardLayout().VirtualKeyToScanCode(vk);
    }
    uint32_t ScanCodeToVirtualKey(uint32_t scan) const override
    {
        auto it = m_keyOfScan.find(scan);
        return it != m_keyOfScan.end() ? it->second : UsKeyboardLayout().ScanCodeToVirtualKey(scan);
    }
    uint8_t VirtualKeyToAscii(uint32_t vk) const override
    {
        auto it = m_charOfKey.find(vk);
        return it != m_charOfKey.end() ? it->second : UsKeyboardLayout().VirtualKeyToAscii(vk);
    }
};

// A and Q swap places, as on a French keyboard, and the second key types e acute.
FakeLayout Azerty()
{
    FakeLayout layout;
    layout.m_scanOfKey = {{'A', 0x10}, {'Q', 0x1E}};
    layout.m_keyOfScan = {{0x10, 'A'}, {0x1E, 'Q'}};
    layout.m_charOfKey = {{'2', 0xE9}};
    return layout;
}

const KeyboardLayout& Us()
{
    return UsKeyboardLayout();
}

ButtonInfo Shortcut(uint8_t key, uint8_t plain, uint8_t shift, uint8_t ctrl, uint8_t win, uint8_t alt)
{
    ButtonInfo info{};
    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
    info.ShortcutKey = key;
    const uint8_t flags[5] = {plain, shift, ctrl, win, alt};
    std::memcpy(info.ShortcutFlags, flags, sizeof flags);
    return info;
}

ButtonInfo WithFunction(uint8_t code)
{
    ButtonInfo info{};
    info.FunctionCode = code;
    return info;
}

} // namespace

TEST(KeyTable, EveryKeyRoundTripsOnTheUsLayout)
{
    for (const KeyTableRow& row : KeyTable) {
        SCOPED_TRACE(row.Usage);
        EXPECT_EQ(VirtualKeyToUsage(row.VirtualKey, Us()), row.Usage);
        EXPECT_EQ(UsageToVirtualKey(row.Usage, Us()), row.VirtualKey);
    }
    EXPECT_EQ(VirtualKeyToUsage(0x41, Us()), 0x04u);
    EXPECT_EQ(UsageToVirtualKey(0x58, Us()), 0x6Cu) << "keypad Enter";
    EXPECT_EQ(VirtualKeyToUsage(0x6C, Us()), 0x58u);
    EXPECT_EQ(VirtualKeyToUsage(0x0D, Us()), 0x28u) << "main Enter";
}

TEST(KeyTable, CodesWithoutARowAreNotFound)
{
    for (uint32_t usage : {0x00u, 0x03u, 0x32u, 0x66u, 0x81u, 0xE8u, 0xF5u, 0x104u})
        EXPECT_FALSE(UsageToVirtualKey(usage, Us())) << usage;
    for (uint32_t vk : {0x00u, 0x0Cu, 0x10u, 0xE1u, 0xF5u, 0x141u})
        EXPECT_FALSE(VirtualKeyToUsage(vk, Us())) << vk;
}

TEST(KeyTable, MovedKeysAreRecordedAndPlayedByPosition)
{
    const FakeLayout azerty = Azerty();
    EXPECT_EQ(VirtualKeyToUsage('A', azerty), 0x14u);
    EXPECT_EQ(VirtualKeyToUsage('Q', azerty), 0x04u);
    EXPECT_EQ(UsageToVirtualKey(0x14, azerty), uint32_t{'A'});
    EXPECT_EQ(UsageName(0x14, azerty), "A");
    EXPECT_EQ(UsageName(0x04, azerty), "Q");
    // Keys that never depend on the layout keep their row even if the layout reports a position.
    FakeLayout odd;
    odd.m_scanOfKey = {{0x2D, 0x1E}};
    EXPECT_EQ(VirtualKeyToUsage(0x2D, odd), 0x49u);
}

TEST(KeyTable, KeysTheLayoutCannotPlaceKeepTheirUsage)
{
    FakeLayout layout;
    layout.m_scanOfKey = {{'A', 0}, {0xBA, 0x56}}; // no position; a position outside the table
    layout.m_keyOfScan = {{0x1E, 0}};
    EXPECT_EQ(VirtualKeyToUsage('A', layout), 0x04u) << "must not become Print Screen";
    EXPECT_EQ(VirtualKeyToUsage(0xBA, layout), 0x33u);
    EXPECT_FALSE(UsageToVirtualKey(0x04, layout));
    EXPECT_EQ(UsageName(0x04, layout), "");
}

TEST(KeyNames, LayoutKeysAreNamedAsTheLayoutLabelsThem)
{
    EXPECT_EQ(UsageName(0x04, Us()), "A");
    EXPECT_EQ(UsageName(0x1D, Us()), "Z");
    EXPECT_EQ(VirtualKeyName('Q', Us()), "Q");
    EXPECT_EQ(UsageName(0x27, Us()), "0");
    EXPECT_EQ(UsageName(0x31, Us()), "\\");
    EXPECT_EQ(UsageName(0x35, Us()), "`");
    EXPECT_EQ(UsageName(0x34, Us()), "'");
    EXPECT_EQ(VirtualKeyName(0xE2, Us()), "\\");
    EXPECT_EQ(UsageName(0x28, Us()), "Enter");
    EXPECT_EQ(UsageName(0x2C, Us()), "Space");
    EXPECT_EQ(UsageName(0x39, Us()), "Caps Lock");
    EXPECT_EQ(UsageName(0x1F, Azerty()), "\xC9") << "accented letters are upper-cased too";
}

TEST(KeyNames, FixedNames)
{
    EXPECT_EQ(UsageName(0x65, Us()), "APP");
    EXPECT_EQ(VirtualKeyName(0x5D, Us()), "APP");
    EXPECT_EQ(UsageName(0x3A, Us()), "F1");
    EXPECT_EQ(UsageName(0x45, Us()), "F12");
    EXPECT_EQ(UsageName(0x58, Us()), "Num_Enter");
    EXPECT_EQ(UsageName(0x59, Us()), "Num_1");
    EXPECT_EQ(UsageName(0x5E, Us()), "Num_6");
    EXPECT_EQ(UsageName(0x5F, Us()), "Num_7");
    EXPECT_EQ(UsageName(0x61, Us()), "Num_9");
    EXPECT_EQ(UsageName(0x62, Us()), "Num_0");
    EXPECT_EQ(UsageName(0xE7, Us()), "Right GUI");
    EXPECT_EQ(UsageName(0xF4, Us()), "Side Button 2");
    EXPECT_EQ(VirtualKeyName(0x60, Us()), "Num0");
    EXPECT_EQ(VirtualKeyName(0x69, Us()), "Num9");
    EXPECT_EQ(VirtualKeyName(0x70, Us()), "F1");
    EXPECT_EQ(VirtualKeyName(0x7B, Us()), "F12");
    EXPECT_EQ(VirtualKeyName(0x6C, Us()), "NumRet");
    EXPECT_EQ(VirtualKeyName(0x5B, Us()), "Left Windows Button");
}

TEST(KeyNames, CodesWithoutANameShowNothing)
{
    for (uint32_t usage : {0x00u, 0x03u, 0x32u, 0x66u, 0x81u, 0x83u, 0xE8u, 0xF5u, 0xFFu, 0x104u})
        EXPECT_EQ(UsageName(usage, Us()), "") << usage;
    for (uint32_t vk : {0x00u, 0x5Fu, 0x7Cu, 0xF5u, 0x141u})
        EXPECT_EQ(VirtualKeyName(vk, Us()), "") << vk;
}

TEST(AssignmentLabel, ShortcutPrefixesFollowTheModifierFlags)
{
    EXPECT_EQ(AssignmentLabel(Shortcut(0x49, 0, 0, 0, 0, 0), Us()), "Insert");
    EXPECT_EQ(AssignmentLabel(Shortcut(0x49, 1, 1, 0, 0, 0), Us()), "Insert") << "plain key wins";
    EXPECT_EQ(AssignmentLabel(Shortcut(0x4C, 0, 0, 1, 0, 1), Us()), "Ctrl+Alt+Delete");
    EXPECT_EQ(AssignmentLabel(Shortcut(0x04, 0, 1, 1, 1, 1), Us()), "Shift+Ctrl+Win+Alt+A");
    EXPECT_EQ(AssignmentLabel(Shortcut(0x14, 0, 0, 0, 1, 0), Azerty()), "Win+A");
    // Unset flags read from a file (255) are not modifiers, and do not act as the plain key.
    EXPECT_EQ(AssignmentLabel(Shortcut(0x49, 0, 255, 255, 255, 255), Us()), "Insert");
    EXPECT_EQ(AssignmentLabel(Shortcut(0x49, 255, 0, 1, 0, 0), Us()), "Ctrl+Insert");
}

TEST(AssignmentLabel, FunctionsShowTheirLabel)
{
    EXPECT_EQ(AssignmentLabel(WithFunction(7), Us()), "Button off");
    EXPECT_EQ(AssignmentLabel(WithFunction(8), Us()), "Macro-Play/Pause");
    EXPECT_EQ(AssignmentLabel(WithFunction(33), Us()), "Pre Track");
    EXPECT_EQ(AssignmentLabel(WithFunction(36), Us()), "Stop");
    EXPECT_EQ(AssignmentLabel(WithFunction(54), Us()), "WWW Favorites");
    for (uint8_t code : {0, 1, 4, 12, 31, 40, 47, 55, 255})
        EXPECT_EQ(AssignmentLabel(WithFunction(code), Us()), "") << int{code};
}

TEST(AssignmentLabel, MacroAndTimerShowTheirNameWithinTheField)
{
    auto info = std::make_unique<ButtonInfo>();
    std::memset(info.get(), 'x', sizeof(ButtonInfo));
    std::memset(info->MacroSetName, 'S', sizeof info->MacroSetName);
    std::memset(info->MacroName, 'M', sizeof info->MacroName);
    std::memset(info->TimerName, 'T', sizeof info->TimerName); // the record's last field
    info->FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    EXPECT_EQ(AssignmentLabel(*info, Us()), std::string(50, 'M'));
    info->FunctionCode = static_cast<uint8_t>(KeyFunction::Timer);
    EXPECT_EQ(AssignmentLabel(*info, Us()), std::string(100, 'T'));

    std::strcpy(info->TimerName, "Tea");
    EXPECT_EQ(AssignmentLabel(*info, Us()), "Tea");
}
