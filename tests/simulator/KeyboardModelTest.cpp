#include "KeyboardModel.h"

#include "Fakes.h"
#include "KeyTable.h"
#include "ProfileStore.h"
#include "TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Sends buffer with the code's own lengths, reply into the same buffer, as the host does.
bool Send(KeyboardModel& model, uint32_t code, RequestBuffer& buffer)
{
    const ControlLength lengths = *ControlLengths(code);
    return model.Control(code, buffer.data(), lengths.in, buffer.data(), lengths.out);
}

bool Send(KeyboardModel& model, uint32_t code, RequestBuffer&& buffer)
{
    return Send(model, code, buffer);
}

// The reply byte at index of a get call with a zeroed request; -1 when the call fails.
int Get(KeyboardModel& model, uint32_t code, size_t index)
{
    RequestBuffer buffer{};
    return Send(model, code, buffer) ? buffer[index] : -1;
}

std::optional<uint32_t> ReadEvent(KeyboardModel& model)
{
    RequestBuffer buffer{};
    if (!Send(model, IOCTL_FLT_READ_EVENT, buffer))
        return std::nullopt;
    return DeviceEvent::FromBytes(buffer.data()).Word();
}

// What the host reads back for a key after pushing info to it: SET_KEY, then GET_KEY decoded into
// a record that held a macro.
std::unique_ptr<ButtonInfo> PushAndPull(KeyboardModel& model, const ButtonInfo& info)
{
    EXPECT_TRUE(Send(model, IOCTL_FLT_SET_KEY, DeviceRequest::SetKey(3, 4, info)));
    RequestBuffer reply = DeviceRequest::GetKey(3, 4);
    EXPECT_TRUE(Send(model, IOCTL_FLT_GET_KEY, reply));
    auto pulled = Shortcut(0, {kFlagPlain});
    pulled->FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
    DecodeKeyReply(reply.data(), *pulled);
    return pulled;
}

std::unique_ptr<KeyboardModel> OpenModel(Clock* clock = nullptr)
{
    auto model = std::make_unique<KeyboardModel>(clock);
    EXPECT_TRUE(model->Open());
    return model;
}

// Calls that would change every part of the keyboard's memory.
void ChangeEverything(KeyboardModel& model)
{
    EXPECT_TRUE(Send(model, IOCTL_FLT_SET_MODE, DeviceRequest::SetMode(KeyboardMode::NumLockOn)));
    EXPECT_TRUE(Send(model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(4)));
    EXPECT_TRUE(Send(model, IOCTL_FLT_SET_KEY_SWITCH, DeviceRequest::SetKeySwitch(0x1F)));
    for (uint8_t p = 1; p <= kProfileCount; ++p)
        for (uint8_t k = 1; k <= kKeyCount; ++k)
            EXPECT_TRUE(Send(model, IOCTL_FLT_SET_KEY, DeviceRequest::SetKey(p, k, *Shortcut(0x04, {kFlagAlt}))));
}

} // namespace

TEST(KeyboardModel, AnswersFromWhatWasStored)
{
    auto model = OpenModel();
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_MODE, 1), 1);
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_PROFILE, 1), 1);
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_KEY_SWITCH, 1), 0);

    EXPECT_TRUE(Send(*model, IOCTL_FLT_SET_MODE, DeviceRequest::SetMode(KeyboardMode::NumLockOn)));
    EXPECT_TRUE(Send(*model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(3)));
    EXPECT_TRUE(Send(*model, IOCTL_FLT_SET_KEY_SWITCH, DeviceRequest::SetKeySwitch(0x15)));
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_MODE, 1), 0);
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_PROFILE, 1), 3);
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_KEY_SWITCH, 1), 0x15);

    RequestBuffer firmware{};
    ASSERT_TRUE(Send(*model, IOCTL_FLT_GET_FIRMWARE, firmware));
    EXPECT_EQ(FirmwareVersionFromReply(firmware.data()), 128);
    model->SetFirmware(0x0203);
    ASSERT_TRUE(Send(*model, IOCTL_FLT_GET_FIRMWARE, firmware));
    EXPECT_EQ(firmware[4], 0x03);
    EXPECT_EQ(firmware[5], 0x02);

    // A key's reply carries the sequence as pushed, from byte 3; the other keys keep theirs.
    const KeySequence before = model->StoredSequence(5, 1);
    RequestBuffer set = DeviceRequest::SetKey(5, 2, *Shortcut(0x4C, {kFlagCtrl, kFlagAlt}));
    ASSERT_TRUE(Send(*model, IOCTL_FLT_SET_KEY, set));
    RequestBuffer get = DeviceRequest::GetKey(5, 2);
    ASSERT_TRUE(Send(*model, IOCTL_FLT_GET_KEY, get));
    EXPECT_TRUE(std::equal(get.begin() + 3, get.begin() + 24, set.begin() + 3));
    EXPECT_EQ(model->StoredSequence(5, 1), before);
}

TEST(KeyboardModel, RefusedCallsChangeNothingAndWriteNoReply)
{
    auto model = OpenModel();
    const std::vector<std::string> state = model->StateLines();

    struct Case {
        const char* what;
        uint32_t code;
        RequestBuffer request;
        int inDelta;
        int outDelta;
    };
    auto withByte = [](RequestBuffer buffer, size_t index, uint8_t value) {
        buffer[index] = value;
        return buffer;
    };
    const RequestBuffer key = DeviceRequest::SetKey(1, 1, *Shortcut(0x04, {kFlagShift}));
    const Case cases[] = {
        {"short set-key", IOCTL_FLT_SET_KEY, key, -1, 0},
        {"long set-key", IOCTL_FLT_SET_KEY, key, +1, 0},
        {"set-key with a reply", IOCTL_FLT_SET_KEY, key, 0, 24},
        {"profile 0", IOCTL_FLT_SET_KEY, withByte(key, 1, 0), 0, 0},
        {"profile 6", IOCTL_FLT_SET_KEY, withByte(key, 1, 6), 0, 0},
        {"key 0", IOCTL_FLT_SET_KEY, withByte(key, 2, 0), 0, 0},
        {"key 6", IOCTL_FLT_SET_KEY, withByte(key, 2, 6), 0, 0},
        {"set-key command byte", IOCTL_FLT_SET_KEY, withByte(key, 0, 3), 0, 0},
        {"set-mode command byte", IOCTL_FLT_SET_MODE, withByte(DeviceRequest::SetMode(KeyboardMode::NumLockOn), 0, 4),
         0, 0},
        {"set-profile 0", IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(0), 0, 0},
        {"set-profile 6", IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(6), 0, 0},
        {"switch of a sixth key", IOCTL_FLT_SET_KEY_SWITCH, DeviceRequest::SetKeySwitch(0x20), 0, 0},
        {"get-key profile 6", IOCTL_FLT_GET_KEY, DeviceRequest::GetKey(6, 1), 0, 0},
        {"get-key key 0", IOCTL_FLT_GET_KEY, DeviceRequest::GetKey(1, 0), 0, 0},
        {"short get-mode reply", IOCTL_FLT_GET_MODE, RequestBuffer{}, 0, -1},
        {"long firmware reply", IOCTL_FLT_GET_FIRMWARE, RequestBuffer{}, 0, +1},
        {"unknown code", 0x22240C, RequestBuffer{}, 0, 0},
    };
    for (const Case& c : cases) {
        const ControlLength lengths = ControlLengths(c.code).value_or(ControlLength{2, 2});
        RequestBuffer request = c.request;
        RequestBuffer reply;
        reply.fill(0xAA);
        EXPECT_FALSE(
            model->Control(c.code, request.data(), lengths.in + c.inDelta, reply.data(), lengths.out + c.outDelta))
            << c.what;
        EXPECT_TRUE(std::all_of(reply.begin(), reply.end(), [](uint8_t b) { return b == 0xAA; })) << c.what;
    }
    EXPECT_FALSE(model->Control(IOCTL_FLT_SET_MODE, nullptr, 2, nullptr, 0));
    EXPECT_EQ(model->StateLines(), state);
}

TEST(KeyboardModel, ClosedLinkAnswersNothing)
{
    KeyboardModel model;
    model.QueueRaw(0xF0000000);
    EXPECT_EQ(Get(model, IOCTL_FLT_GET_MODE, 1), -1);
    EXPECT_FALSE(ReadEvent(model));
    EXPECT_FALSE(Send(model, IOCTL_FLT_REGISTER_EVENT, DeviceRequest::RegisterEvent(7)));

    ASSERT_TRUE(model.Open());
    EXPECT_EQ(ReadEvent(model), 0xF0000000u);
    model.Close();
    EXPECT_FALSE(model.IsOpen());
    EXPECT_FALSE(Send(model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(2)));
    EXPECT_EQ(model.CurrentProfile(), 1);
}

TEST(KeyboardModel, RemovedKeyboardStillReportsEventsButNotItsMemory)
{
    KeyboardModel absent(nullptr, false);
    EXPECT_FALSE(absent.Open());
    absent.Arrive();
    EXPECT_TRUE(absent.Open());

    auto model = OpenModel();
    ASSERT_TRUE(Send(*model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(2)));
    model->Remove();
    EXPECT_TRUE(model->IsOpen());
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_PROFILE, 1), -1);
    EXPECT_FALSE(Send(*model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(5)));
    EXPECT_EQ(ReadEvent(*model), 0x70000002u);
    ASSERT_TRUE(Send(*model, IOCTL_FLT_REGISTER_EVENT, DeviceRequest::RegisterEvent(0x8A0C)));
    EXPECT_EQ(model->RegisteredHandle(), 0x8A0Cu);
    ASSERT_TRUE(Send(*model, IOCTL_FLT_UNREGISTER, RequestBuffer{}));
    EXPECT_FALSE(model->RegisteredHandle());

    model->Arrive();
    EXPECT_EQ(ReadEvent(*model), 0x70000001u);
    EXPECT_EQ(Get(*model, IOCTL_FLT_GET_PROFILE, 1), 2);
}

TEST(KeyboardModel, ResetRestoresTheDefaultMemory)
{
    auto model = OpenModel();
    model->SetFirmware(150);
    const std::vector<std::string> fresh = KeyboardModel().StateLines();
    ChangeEverything(*model);
    ASSERT_NE(model->StateLines(), fresh);

    model->Reset();
    std::vector<std::string> expected = fresh;
    expected[3] = "firmware 150";
    EXPECT_EQ(model->StateLines(), expected);
    EXPECT_EQ(ReadEvent(*model), 0xB0000000u);

    // Pulled into the host, the keyboard's keys are the keys of the host's default profiles.
    auto defaults = std::make_unique<Profile>();
    for (uint8_t p = 1; p <= kProfileCount; ++p) {
        SetDefaultProfile(*defaults, p - 1);
        for (uint8_t k = 1; k <= kKeyCount; ++k) {
            RequestBuffer reply = DeviceRequest::GetKey(p, k);
            ASSERT_TRUE(Send(*model, IOCTL_FLT_GET_KEY, reply));
            auto pulled = Shortcut(0, {});
            DecodeKeyReply(reply.data(), *pulled);
            EXPECT_EQ(pulled->ShortcutKey, defaults->Buttons[k - 1].ShortcutKey) << int(p) << " " << int(k);
        }
    }
}

TEST(KeyboardModel, EveryShortcutKeySurvivesAPushAndAPull)
{
    auto model = OpenModel();
    int tried = 0;
    for (const KeyTableRow& row : KeyTable) {
        const uint8_t usage = static_cast<uint8_t>(row.Usage);
        const uint8_t code = UsageToDeviceCode(usage);
        if (code == 0 || std::count(std::begin(ModifierDeviceCodes), std::end(ModifierDeviceCodes), code))
            continue;
        ++tried;
        for (auto flags : {std::initializer_list<int>{}, {kFlagShift, kFlagCtrl, kFlagWin, kFlagAlt}, {kFlagWin}}) {
            auto sent = Shortcut(usage, flags);
            auto pulled = PushAndPull(*model, *sent);
            EXPECT_EQ(pulled->FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
            EXPECT_EQ(pulled->ShortcutKey, usage);
            EXPECT_EQ(std::memcmp(pulled->ShortcutFlags, sent->ShortcutFlags, 5), 0) << int(usage);
        }
    }
    EXPECT_GT(tried, 90);
}

TEST(KeyboardModel, ModifierKeysComeBackAsModifierFlags)
{
    // Left Control, Left Alt, Left GUI and Right Shift share their key numbers with the modifiers.
    const std::pair<uint8_t, int> cases[] = {{0xE0, kFlagCtrl}, {0xE2, kFlagAlt}, {0xE3, kFlagWin}, {0xE5, kFlagShift}};
    auto model = OpenModel();
    for (const auto& [usage, flag] : cases) {
        auto pulled = PushAndPull(*model, *Shortcut(usage, {}));
        EXPECT_EQ(pulled->ShortcutKey, 0) << int(usage);
        EXPECT_EQ(pulled->ShortcutFlags[flag], 1) << int(usage);
    }
    // Left Shift has a key number of its own.
    EXPECT_EQ(PushAndPull(*model, *Shortcut(0xE1, {}))->ShortcutKey, 0xE1);
}

TEST(KeyboardModel, EventsAreDeliveredInOrderWithOneHookCallEach)
{
    auto model = OpenModel();
    std::vector<size_t> pendingAtHook;
    model->onEventQueued = [&] { pendingAtHook.push_back(model->PendingEvents()); };

    EXPECT_TRUE(model->PressKey(2));
    EXPECT_TRUE(model->ReleaseKey(2));
    EXPECT_TRUE(model->SetModeSwitch(0));
    EXPECT_EQ(model->Mode(), 0);
    EXPECT_TRUE(model->SetModeSwitch(1));
    model->OsdHide();
    model->QueueRaw(0xA0000005);
    model->Remove();
    model->Arrive();
    model->Reset();
    EXPECT_FALSE(model->PressKey(0));
    EXPECT_FALSE(model->ReleaseKey(6));
    EXPECT_FALSE(model->SetModeSwitch(2));

    const std::vector<size_t> counts = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(pendingAtHook, counts);
    const uint32_t expected[] = {0xF0000001, 0xF0000101, 0xF0000008, 0xF0000009, 0x00000000,
                                 0xA0000005, 0x70000002, 0x70000001, 0xB0000000};
    for (uint32_t word : expected)
        EXPECT_EQ(ReadEvent(*model), word);
    EXPECT_FALSE(ReadEvent(*model));
    EXPECT_EQ(model->Mode(), 1); // the reset after the switch
}

TEST(KeyboardModel, EventsQueuedFromSeveralThreadsAreReadExactlyOnce)
{
    auto model = OpenModel();
    std::atomic<int> hooks{0};
    model->onEventQueued = [&] { ++hooks; };
    constexpr int kPerThread = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                model->PressKey(t + 1);
        });
    int read = 0;
    std::thread reader([&] {
        while (read < 3 * kPerThread)
            if (ReadEvent(*model))
                ++read;
    });
    for (std::thread& thread : threads)
        thread.join();
    reader.join();
    EXPECT_EQ(hooks, 3 * kPerThread);
    EXPECT_FALSE(ReadEvent(*model));
}

TEST(KeyboardModel, CallLogStampsEveryCallWithItsInput)
{
    FakeClock clock;
    clock.Set(5'000'000);
    KeyboardModel model(&clock);
    ASSERT_TRUE(model.Open());
    clock.Advance(250'000);
    Send(model, IOCTL_FLT_SET_KEY, DeviceRequest::SetKey(1, 2, *Shortcut(0x04, {kFlagCtrl})));
    clock.Advance(100'000);
    Send(model, IOCTL_FLT_GET_MODE, RequestBuffer{});
    Send(model, IOCTL_FLT_UNREGISTER, RequestBuffer{});
    Send(model, IOCTL_FLT_SET_PROFILE, DeviceRequest::SetProfile(9)); // refused, still logged

    const std::vector<std::string> expected = {
        "250 222420 0401027D01120112007D00" + std::string(26, '0'),
        "350 22241C 0000",
        "350 222404",
        "350 222434 0709",
    };
    EXPECT_EQ(model.CallLogLines(), expected);
    const auto log = model.CallLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_TRUE(log[0].succeeded);
    EXPECT_FALSE(log[3].succeeded);
    model.ClearCallLog();
    EXPECT_TRUE(model.CallLogLines().empty());
}

TEST(KeyboardModel, StateLinesShowTheWholeMemory)
{
    const std::vector<std::string> lines = KeyboardModel().StateLines();
    ASSERT_EQ(lines.size(), 4u + kProfileCount * kKeyCount);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 5);
    // Key 1 of every default profile is Insert, key number 0x0F.
    const std::vector<std::string> expected = {"profile 1", "mode 1", "switch 0", "firmware 128",
                                               "key 1 1 0F010F00" + std::string(34, '0')};
    EXPECT_EQ(head, expected);
    EXPECT_EQ(lines.back().substr(0, 8), "key 5 5 ");
}
