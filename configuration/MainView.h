// What the main window and its key page show for a profile set, computed as data so that the
// windows only apply it.
#pragma once

#include "KeyboardLayout.h"
#include "Records.h"

#include <array>
#include <string>

struct SlotView {
    bool checked = false; // the slot button of the current profile
    bool bright = false;  // the label of the current profile is drawn bright, the others grey
    std::string label;    // the profile's name
};

struct KeyPageView {
    std::array<std::string, kKeyCount> captions; // the label of each key's assignment
    std::array<bool, kKeyCount> switchChecked{}; // key switch button: KeySwitch::On
    bool modeChecked = false;                    // the mode button: KeyboardMode::NumLockOn
};

struct MainView {
    std::array<SlotView, kProfileCount> slots;
    KeyPageView keys; // of the current profile; all off and empty when no slot is current
};

MainView ComputeMainView(const ProfileSet& set, const KeyboardLayout& layout);

// The pages the main window shows in its frame, and which tab button belongs to each.
enum class MainPage { Keys, Update, Help };
constexpr int TabKeyOf(MainPage page)
{
    return page == MainPage::Keys ? 1 : page == MainPage::Update ? 4 : 5;
}
