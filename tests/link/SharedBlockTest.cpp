// Every read of the shared block, by either program, gives a set that is safe to use whatever the
// other process left in it.
#include "SharedBlock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class BytesBlock final : public SharedBlock {
public:
    bool ReadRaw(ProfileSet& destination) override
    {
        std::memcpy(&destination, raw.get(), sizeof destination);
        return readable;
    }
    bool Write(const ProfileSet&) override { return false; }

    std::unique_ptr<ProfileSet> raw = std::make_unique<ProfileSet>();
    bool readable = true;
};

bool EndsInField(const char* field, size_t n)
{
    return std::memchr(field, '\0', n) != nullptr;
}

TEST(SharedBlock, GarbageIsMadeSafe_CountsClampedTextsEndedSlotAndModeInRange)
{
    BytesBlock block;
    std::memset(block.raw.get(), 'x', sizeof(ProfileSet));
    block.raw->CurrentProfile = 6;
    block.raw->Profiles[0].Mode = KeyboardMode::NumLockOn;
    block.raw->Profiles[1].Mode = KeyboardMode::NumLockOff;
    block.raw->Profiles[2].Mode = KeyboardMode::Unknown;
    block.raw->Profiles[0].Buttons[0].MacroEventCount = 512;
    auto read = std::make_unique<ProfileSet>();
    ASSERT_TRUE(block.Read(*read));

    EXPECT_EQ(read->CurrentProfile, -1);
    EXPECT_EQ(read->Profiles[0].Mode, KeyboardMode::NumLockOn);
    EXPECT_EQ(read->Profiles[1].Mode, KeyboardMode::NumLockOff);
    EXPECT_EQ(read->Profiles[2].Mode, KeyboardMode::Unknown);
    EXPECT_EQ(read->Profiles[3].Mode, KeyboardMode::Unknown) << "'xxxx' is no mode";
    EXPECT_EQ(read->Profiles[0].Buttons[0].MacroEventCount, 512);
    for (const Profile& p : read->Profiles) {
        EXPECT_TRUE(EndsInField(p.Name, sizeof p.Name));
        EXPECT_EQ(std::strlen(p.GameFile2), sizeof p.GameFile2 - 1) << "the text is kept up to its last byte";
        for (const ButtonInfo& b : p.Buttons) {
            EXPECT_LE(b.MacroEventCount, kMaxMacroEvents);
            EXPECT_TRUE(EndsInField(b.MacroSetName, sizeof b.MacroSetName));
            EXPECT_TRUE(EndsInField(b.MacroName, sizeof b.MacroName));
            EXPECT_TRUE(EndsInField(b.TimerName, sizeof b.TimerName));
        }
    }
    // The raw bytes, for a tool that shows them, are what the other process wrote.
    ASSERT_TRUE(block.ReadRaw(*read));
    EXPECT_EQ(read->CurrentProfile, 6);

    block.readable = false;
    EXPECT_FALSE(block.Read(*read));
}

TEST(SharedBlock, AValidSetReadsBackByteForByte)
{
    BytesBlock block;
    block.raw->CurrentProfile = 3;
    for (Profile& p : block.raw->Profiles) {
        std::strcpy(p.Name, "Race");
        p.Mode = KeyboardMode::NumLockOff;
        p.Buttons[4].MacroEventCount = 3;
    }
    auto read = std::make_unique<ProfileSet>();
    ASSERT_TRUE(block.Read(*read));
    EXPECT_EQ(std::memcmp(read.get(), block.raw.get(), sizeof(ProfileSet)), 0);
}

} // namespace
