#include "SharedBlock.h"

#include "Text.h"

#include <algorithm>

void MakeProfileSetSafe(ProfileSet& set)
{
    if (!IsValidSlot(set.CurrentProfile))
        set.CurrentProfile = -1;
    for (Profile& p : set.Profiles) {
        TerminateField(p.Name);
        TerminateField(p.GameFile0);
        TerminateField(p.GameFile1);
        TerminateField(p.GameFile2);
        if (p.Mode != KeyboardMode::NumLockOn && p.Mode != KeyboardMode::NumLockOff)
            p.Mode = KeyboardMode::Unknown;
        for (ButtonInfo& b : p.Buttons) {
            b.MacroEventCount = std::min<uint16_t>(b.MacroEventCount, kMaxMacroEvents);
            TerminateField(b.MacroSetName);
            TerminateField(b.MacroName);
            TerminateField(b.TimerName);
        }
    }
}

bool SharedBlock::Read(ProfileSet& destination)
{
    if (!ReadRaw(destination))
        return false;
    MakeProfileSetSafe(destination);
    return true;
}
