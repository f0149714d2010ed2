// The shared block against the real system calls, as both programs use it: the host's side and the
// configuration program's side in one process, with names no running program uses. The copies are
// checked as raw bytes (what the programs then make safe is tested with the link library).
#include "Records.h"
#include "WinSharedBlock.h"

#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Unique(const std::string& stem)
{
    static std::atomic<int> counter{0};
    return stem + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

struct TestNames {
    std::string lock = Unique("TolkTestLock");
    std::string mapping = Unique("TolkTestShare");
    SharedBlockNames Get() const { return SharedBlockNames{lock.c_str(), mapping.c_str()}; }
};

std::unique_ptr<ProfileSet> Pattern(uint8_t seed)
{
    auto set = std::make_unique<ProfileSet>();
    auto* bytes = reinterpret_cast<uint8_t*>(set.get());
    for (size_t i = 0; i < sizeof(ProfileSet); ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7 + i / 251);
    return set;
}

bool Same(const ProfileSet& a, const ProfileSet& b)
{
    return std::memcmp(&a, &b, sizeof(ProfileSet)) == 0;
}

TEST(WinSharedBlock, BothProgramsSeeTheWholeBlockTheOtherWrote)
{
    TestNames names;
    SharedBlockOpenError error = SharedBlockOpenError::None;
    EXPECT_FALSE(WinSharedBlock::OpenExisting(names.Get(), &error));
    EXPECT_EQ(error, SharedBlockOpenError::NotRunning) << "no host yet";

    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(host);
    EXPECT_FALSE(host->OpenedExisting());
    std::unique_ptr<WinSharedBlock> config = WinSharedBlock::OpenExisting(names.Get(), &error);
    ASSERT_TRUE(config);
    EXPECT_EQ(error, SharedBlockOpenError::None);

    auto seen = Pattern(0);
    ASSERT_TRUE(host->Write(*Pattern(1)));
    ASSERT_TRUE(config->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(1)));
    ASSERT_TRUE(config->Write(*Pattern(99)));
    ASSERT_TRUE(host->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(99)));
}

// The block, the profile files and the keyboard see the records byte for byte, so a 64-bit build
// must lay them out exactly as the shipped 32-bit one: the fields land at the same offsets of the
// mapping the other program opens, and the mapping is one profile set long.
TEST(WinSharedBlock, RecordsKeepTheirSizesAndOffsetsInEveryBuild)
{
    RecordProperty("PointerBits", static_cast<int>(sizeof(void*) * 8));
    EXPECT_EQ(sizeof(MacroEvent), 4u);
    EXPECT_EQ(sizeof(ButtonInfo), 2268u);
    EXPECT_EQ(sizeof(Profile), 13108u);
    EXPECT_EQ(sizeof(ProfileSet), 65544u);
    EXPECT_EQ(sizeof(MacroRecord), 2108u);
    EXPECT_EQ(sizeof(TimerRecord), 104u);
    EXPECT_EQ(WinSharedBlock::kSize, sizeof(ProfileSet));

    TestNames names;
    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(host);
    auto set = std::make_unique<ProfileSet>();
    set->CurrentProfile = 0x01020304;
    set->Profiles[1].Mode = static_cast<KeyboardMode>(0x0A0B0C0D);
    set->Profiles[2].KeyFlags[3] = static_cast<KeySwitch>(0x5A);
    ButtonInfo& button = set->Profiles[3].Buttons[2];
    button.MacroLoop = 0x11223344;
    button.MacroEvents[1] = MacroEvent{0x04, 1, 0x3344};
    button.ShortcutFlags[kFlagAlt] = 1;
    set->Profiles[4].Buttons[4].TimerSeconds = 0x55667788;
    set->Profiles[4].Buttons[4].TimerName[99] = 'z';
    ASSERT_TRUE(host->Write(*set));

    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, names.mapping.c_str());
    ASSERT_NE(mapping, nullptr);
    const auto* view = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_NE(VirtualQuery(view, &region, sizeof region), 0u);
    EXPECT_GE(region.RegionSize, 65544u);
    EXPECT_LT(region.RegionSize, 65544u + 4096u) << "the mapping is one profile set, rounded to a page";
    auto at32 = [&](size_t offset) {
        uint32_t value;
        std::memcpy(&value, view + offset, sizeof value);
        return value;
    };
    // Offsets counted by hand from the record layout: profile i starts at 4 + 13108 i, its buttons
    // at 1768 within it, button j at 2268 j within them.
    EXPECT_EQ(at32(0), 0x01020304u);
    EXPECT_EQ(at32(4 + 13108 + 1752), 0x0A0B0C0Du);
    EXPECT_EQ(view[4 + 2 * 13108 + 1760 + 3], 0x5A);
    const size_t buttonAt = 4 + 3 * 13108 + 1768 + 2 * 2268;
    EXPECT_EQ(at32(buttonAt + 104), 0x11223344u);
    EXPECT_EQ(view[buttonAt + 110 + 4], 0x04);
    EXPECT_EQ(view[buttonAt + 110 + 5], 1);
    EXPECT_EQ(view[buttonAt + 110 + 6] | view[buttonAt + 110 + 7] << 8, 0x3344);
    EXPECT_EQ(view[buttonAt + 2159 + kFlagAlt], 1);
    EXPECT_EQ(at32(4 + 4 * 13108 + 1768 + 4 * 2268 + 2164), 0x55667788u);
    EXPECT_EQ(view[65543], 'z') << "the last timer name ends at the block's last byte";
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

TEST(WinSharedBlock, AHostStartedWhileAnotherProgramHoldsTheBlockRunsWithIt)
{
    TestNames names;
    std::unique_ptr<WinSharedBlock> firstHost = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(firstHost);
    std::unique_ptr<WinSharedBlock> config = WinSharedBlock::OpenExisting(names.Get());
    ASSERT_TRUE(config);
    ASSERT_TRUE(firstHost->Write(*Pattern(5)));
    firstHost.reset(); // the host ended; the configuration program keeps the objects alive

    std::unique_ptr<WinSharedBlock> nextHost = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(nextHost);
    EXPECT_TRUE(nextHost->OpenedExisting());
    auto seen = Pattern(0);
    ASSERT_TRUE(nextHost->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(5)));
    ASSERT_TRUE(nextHost->Write(*Pattern(77)));
    ASSERT_TRUE(config->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(77))) << "both still share one block";
}

TEST(WinSharedBlock, AForeignMappingTooSmallForTheBlockIsNotUsed)
{
    TestNames names;
    UniqueHandle squatter(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, names.mapping.c_str()));
    ASSERT_TRUE(squatter);
    EXPECT_FALSE(WinSharedBlock::CreateForHost(names.Get()));
}

std::string SidText(PSID sid)
{
    LPSTR text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return "<bad SID>";
    UniqueLocalMemory owner(text);
    return text;
}

// The SIDs the object's DACL allows any access, sorted.
std::vector<std::string> AllowedSids(HANDLE object)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return {"<no security information>"};
    UniqueLocalMemory owner(descriptor);
    if (!dacl)
        return {"<NULL DACL: everyone>"};
    std::vector<std::string> sids;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        if (GetAce(dacl, i, &ace) && static_cast<ACE_HEADER*>(ace)->AceType == ACCESS_ALLOWED_ACE_TYPE &&
            static_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask != 0)
            sids.push_back(SidText(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart));
    }
    std::sort(sids.begin(), sids.end());
    return sids;
}

TEST(WinSharedBlock, OnlyTheUserAndTheSystemMayOpenTheObjects)
{
    TestNames names;
    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(host);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    UniqueHandle tokenOwner(token);
    BYTE user[256];
    DWORD size = 0;
    ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &size));
    std::vector<std::string> expected{SidText(reinterpret_cast<TOKEN_USER*>(user)->User.Sid), "S-1-5-18"};
    std::sort(expected.begin(), expected.end());

    UniqueHandle mapping(OpenFileMappingA(READ_CONTROL, FALSE, names.mapping.c_str()));
    ASSERT_TRUE(mapping);
    EXPECT_EQ(AllowedSids(mapping.Get()), expected);
    UniqueHandle lock(OpenMutexA(READ_CONTROL, FALSE, names.lock.c_str()));
    ASSERT_TRUE(lock);
    EXPECT_EQ(AllowedSids(lock.Get()), expected);
}

TEST(WinSharedBlock, ALockLeftByAProgramThatEndedFailsOneCopyThenWorksForBoth)
{
    TestNames names;
    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(host);
    // A thread of "the other program" takes the lock and ends without giving it back.
    std::thread([&names] {
        UniqueHandle lock(OpenMutexA(SYNCHRONIZE, FALSE, names.lock.c_str()));
        ASSERT_TRUE(lock);
        ASSERT_EQ(WaitForSingleObject(lock.Get(), INFINITE), WAIT_OBJECT_0);
    }).join();

    auto seen = Pattern(0);
    EXPECT_FALSE(host->ReadRaw(*seen)) << "the block may be half-written";
    EXPECT_TRUE(Same(*seen, *Pattern(0))) << "nothing was copied";

    // The other program must be able to take the lock again, not wait forever.
    auto config = std::shared_ptr<WinSharedBlock>(WinSharedBlock::OpenExisting(names.Get()));
    ASSERT_TRUE(config);
    auto written = std::make_shared<std::atomic<bool>>(false);
    std::thread([config, written] { written->store(config->Write(*Pattern(9))); }).detach();
    const ULONGLONG end = GetTickCount64() + 3000;
    while (!written->load() && GetTickCount64() < end)
        Sleep(5);
    ASSERT_TRUE(written->load()) << "the lock stayed taken";
    ASSERT_TRUE(host->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(9)));
}

TEST(WinSharedBlock, ACopyWithALimitedWaitGivesUpWhileTheLockIsHeldAndWorksOnceItIsFree)
{
    TestNames names;
    std::unique_ptr<WinSharedBlock> host = WinSharedBlock::CreateForHost(names.Get());
    ASSERT_TRUE(host);
    ASSERT_TRUE(host->Write(*Pattern(1)));
    std::unique_ptr<WinSharedBlock> tool = WinSharedBlock::OpenExisting(names.Get());
    ASSERT_TRUE(tool);
    tool->LimitLockWait(50);

    // Another program's thread holds the lock until told to let go.
    UniqueHandle taken(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle letGo(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        UniqueHandle lock(OpenMutexA(SYNCHRONIZE, FALSE, names.lock.c_str()));
        if (lock && WaitForSingleObject(lock.Get(), INFINITE) == WAIT_OBJECT_0) {
            SetEvent(taken.Get());
            WaitForSingleObject(letGo.Get(), 10000);
            ReleaseMutex(lock.Get());
        }
    });
    ASSERT_EQ(WaitForSingleObject(taken.Get(), 5000), WAIT_OBJECT_0);
    auto seen = Pattern(0);
    EXPECT_FALSE(tool->Write(*Pattern(2))) << "the lock is held";
    EXPECT_FALSE(tool->ReadRaw(*seen)) << "the lock is held";
    EXPECT_TRUE(Same(*seen, *Pattern(0))) << "nothing was copied";
    SetEvent(letGo.Get());
    holder.join();

    ASSERT_TRUE(host->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(1))) << "the refused write left the block as it was";
    ASSERT_TRUE(tool->Write(*Pattern(3)));
    ASSERT_TRUE(host->ReadRaw(*seen));
    EXPECT_TRUE(Same(*seen, *Pattern(3)));
}

} // namespace
