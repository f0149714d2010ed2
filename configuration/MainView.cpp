#include "MainView.h"

#include "KeyTable.h"
#include "Text.h"

MainView ComputeMainView(const ProfileSet& set, const KeyboardLayout& layout)
{
    MainView view;
    for (int i = 0; i < kProfileCount; ++i) {
        const bool current = set.CurrentProfile == i + 1;
        view.slots[i].checked = current;
        view.slots[i].bright = current;
        view.slots[i].label = std::string(FieldText(set.Profiles[i].Name));
    }
    if (set.CurrentProfile < 1 || set.CurrentProfile > kProfileCount)
        return view;
    const Profile& profile = set.Profiles[set.CurrentProfile - 1];
    for (int key = 0; key < kKeyCount; ++key) {
        view.keys.switchChecked[key] = profile.KeyFlags[key] == KeySwitch::On;
        view.keys.captions[key] = AssignmentLabel(profile.Buttons[key], layout);
    }
    view.keys.modeChecked = profile.Mode == KeyboardMode::NumLockOn;
    return view;
}
