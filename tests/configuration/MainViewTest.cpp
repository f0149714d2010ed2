#include "MainView.h"
#include "ProfileStore.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<ProfileSet> DefaultsWithSlot3Edited()
{
    auto set = std::make_unique<ProfileSet>();
    SetDefaultProfiles(*set);
    set->Profiles[0].Buttons[0].FunctionCode = static_cast<uint8_t>(KeyFunction::Mute);
    set->Profiles[0].Mode = KeyboardMode::Unknown; // as read from a file that lacks it
    Profile& third = set->Profiles[2];
    CopyToField(third.Name, "Racing");
    third.Mode = KeyboardMode::NumLockOn;
    third.KeyFlags[1] = KeySwitch::Off;
    third.KeyFlags[3] = KeySwitch::Off;
    third.KeyFlags[4] = static_cast<KeySwitch>(255); // as read from a file that lacks it
    third.Buttons[1].FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    CopyToField(third.Buttons[1].MacroName, "Jump");
    third.Buttons[2].FunctionCode = static_cast<uint8_t>(KeyFunction::ButtonOff);
    return set;
}

TEST(MainView, Slot3Current_ItsButtonAndLabelStandOutAndTheKeyPageShowsProfile3)
{
    auto set = DefaultsWithSlot3Edited();
    set->CurrentProfile = 3;
    const MainView view = ComputeMainView(*set, UsKeyboardLayout());

    for (int i = 0; i < kProfileCount; ++i) {
        EXPECT_EQ(view.slots[i].checked, i == 2) << i;
        EXPECT_EQ(view.slots[i].bright, i == 2) << i;
    }
    EXPECT_EQ(view.slots[0].label, "Default0");
    EXPECT_EQ(view.slots[2].label, "Racing");
    EXPECT_EQ(view.slots[4].label, "Default4");
    const std::array<std::string, kKeyCount> captions{"Insert", "Jump", "Button off", "Delete", "Page Down"};
    EXPECT_EQ(view.keys.captions, captions);
    EXPECT_EQ(view.keys.switchChecked, (std::array<bool, kKeyCount>{true, false, true, false, false}));
    EXPECT_TRUE(view.keys.modeChecked);

    set->CurrentProfile = 1;
    const MainView first = ComputeMainView(*set, UsKeyboardLayout());
    EXPECT_EQ(first.keys.captions[0], "Mute");
    EXPECT_FALSE(first.keys.modeChecked);
}

TEST(MainView, NoSlotCurrent_NothingCheckedAndTheKeyPageEmpty)
{
    auto set = DefaultsWithSlot3Edited();
    for (int current : {-1, 0, 6}) {
        set->CurrentProfile = current;
        const MainView view = ComputeMainView(*set, UsKeyboardLayout());
        for (const SlotView& slot : view.slots) {
            EXPECT_FALSE(slot.checked) << current;
            EXPECT_FALSE(slot.bright) << current;
        }
        EXPECT_EQ(view.slots[2].label, "Racing");
        EXPECT_EQ(view.keys.captions, (std::array<std::string, kKeyCount>{})) << current;
        EXPECT_EQ(view.keys.switchChecked, (std::array<bool, kKeyCount>{})) << current;
        EXPECT_FALSE(view.keys.modeChecked) << current;
    }
}

} // namespace
