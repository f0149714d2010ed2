// The shared block comes from another process: whatever bytes it holds, the configuration program's
// document opens it, shows it and takes it over without reading past a field, and what it then
// holds is a set every window can use as it is.
//
// The input patches a starting block (the first byte chooses zeros, 0xFF bytes or the default
// profiles), so that any field of the 64 KiB block can be reached with short inputs: each patch is
// a 3-byte little-endian offset (taken modulo the block's size), a length byte and that many bytes.
#include "ConfigDocument.h"
#include "FuzzSupport.h"
#include "KeyboardLayout.h"
#include "MainView.h"
#include "ProfileStore.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

class BytesBlock final : public SharedBlock {
public:
    bool ReadRaw(ProfileSet& destination) override
    {
        std::memcpy(&destination, bytes.get(), sizeof destination);
        return true;
    }
    bool Write(const ProfileSet&) override { return false; }

    std::unique_ptr<unsigned char[]> bytes = std::make_unique<unsigned char[]>(sizeof(ProfileSet));
};

class NoHostWindow final : public HostWindow {
public:
    bool SendApply(uint32_t) override { return false; }
};

void Patch(unsigned char* block, const uint8_t* data, size_t size)
{
    if (size == 0)
        return;
    if (data[0] % 3 == 1)
        std::memset(block, 0xFF, sizeof(ProfileSet));
    else if (data[0] % 3 == 2)
        SetDefaultProfiles(*reinterpret_cast<ProfileSet*>(block));
    for (size_t at = 1; at + 4 <= size;) {
        const size_t offset =
            (size_t{data[at]} | size_t{data[at + 1]} << 8 | size_t{data[at + 2]} << 16) % sizeof(ProfileSet);
        size_t length = data[at + 3];
        at += 4;
        length = std::min({length, size - at, sizeof(ProfileSet) - offset});
        std::memcpy(block + offset, data + at, length);
        at += length;
    }
}

bool Terminated(const char* field, size_t n)
{
    return std::memchr(field, '\0', n) != nullptr;
}

void RequireUsable(const ProfileSet& set)
{
    FuzzRequire(set.CurrentProfile == -1 || IsValidSlot(set.CurrentProfile), "CurrentProfile is a slot or none");
    for (const Profile& p : set.Profiles) {
        FuzzRequire(Terminated(p.Name, sizeof p.Name), "a profile name ends in its field");
        FuzzRequire(Terminated(p.GameFile0, sizeof p.GameFile0) && Terminated(p.GameFile1, sizeof p.GameFile1) &&
                        Terminated(p.GameFile2, sizeof p.GameFile2),
                    "the game files end in their fields");
        FuzzRequire(p.Mode == KeyboardMode::Unknown || p.Mode == KeyboardMode::NumLockOn ||
                        p.Mode == KeyboardMode::NumLockOff,
                    "the mode is known or unknown, never another number");
        for (const ButtonInfo& b : p.Buttons) {
            FuzzRequire(b.MacroEventCount <= kMaxMacroEvents, "at most 512 macro events");
            FuzzRequire(Terminated(b.MacroSetName, sizeof b.MacroSetName) &&
                            Terminated(b.MacroName, sizeof b.MacroName) && Terminated(b.TimerName, sizeof b.TimerName),
                        "the names of a key end in their fields");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static BytesBlock block;
    static NoHostWindow host;
    std::memset(block.bytes.get(), 0, sizeof(ProfileSet));
    Patch(block.bytes.get(), data, size);

    ConfigDocument document(FuzzProgramFolder(), block, host);
    document.Open(true);
    RequireUsable(document.Committed());
    RequireUsable(document.Working());
    // What the main window and the key page draw from it: names, key captions, switches.
    const MainView view = ComputeMainView(document.Working(), UsKeyboardLayout());
    for (const SlotView& slot : view.slots)
        FuzzRequire(slot.label.size() < sizeof(Profile::Name), "a slot label is at most a name");
    (void)document.GameProfile();

    // The host changes the block again while the user has edits: the take-over keeps the set usable.
    document.SelectSlot(2);
    document.SetMode(true);
    if (size > 0)
        block.bytes[data[0] % sizeof(ProfileSet)] ^= 0x5A;
    if (document.TakeOverBlock())
        RequireUsable(document.Working());
    return 0;
}
