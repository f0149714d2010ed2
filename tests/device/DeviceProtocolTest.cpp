#include "DeviceProtocol.h"

#include "TestRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<ButtonInfo> WithFunction(KeyFunction function)
{
    auto info = Shortcut(0x04, {kFlagCtrl}); // leftovers of an earlier shortcut assignment
    info->FunctionCode = static_cast<uint8_t>(function);
    return info;
}

// A macro key as the configuration program stores it.
std::unique_ptr<ButtonInfo> MacroKey()
{
    auto info = WithFunction(KeyFunction::Macro);
    std::strcpy(info->MacroName, "Combo");
    info->MacroLoop = 3;
    info->MacroEventCount = 2;
    info->MacroEvents[0] = {0x04, 0, 20};
    info->MacroEvents[1] = {0x04, 1, 0};
    info->ShortcutFlags[kFlagPlain] = 1;
    return info;
}

std::vector<uint8_t> Encoded(const ButtonInfo& info)
{
    uint8_t out[kKeySequenceLength];
    std::memset(out, 0xCC, sizeof out);
    EncodeKeySequence(info, out);
    return std::vector<uint8_t>(out, out + sizeof out);
}

// A key sequence of the given bytes, zero-filled to its full length.
std::vector<uint8_t> Sequence(std::initializer_list<uint8_t> bytes)
{
    std::vector<uint8_t> sequence(bytes);
    sequence.resize(kKeySequenceLength, 0);
    return sequence;
}

// A get-key reply in a buffer of exactly its length, so that any read past it is caught.
std::unique_ptr<uint8_t[]> Reply(std::initializer_list<uint8_t> sequence)
{
    auto reply = std::make_unique<uint8_t[]>(kKeyReplyLength);
    std::memset(reply.get(), 0, kKeyReplyLength);
    size_t i = kKeySequenceOffset;
    for (uint8_t b : sequence)
        reply[i++] = b;
    return reply;
}

constexpr uint8_t kDelete = 0x4C;     // device code 0x78
constexpr uint8_t kA = 0x04;          // device code 0x12
constexpr uint8_t kF7 = 64;           // device codes 0x24 and 0x43
constexpr uint8_t kNoDeviceCode = 63; // F6

} // namespace

TEST(KeySequence, ShortcutsSendModifierDownsKeyAndModifierUpsInReverse)
{
    EXPECT_EQ(Encoded(*Shortcut(kDelete, {kFlagCtrl, kFlagAlt})),
              Sequence({0x7D, 1, 0x4C, 1, 0x78, 1, 0x78, 0, 0x4C, 0, 0x7D, 0}));
    // All four modifiers fill ten pairs; the byte after them stays 0 and ends the sequence.
    EXPECT_EQ(Encoded(*Shortcut(kA, {kFlagAlt, kFlagWin, kFlagCtrl, kFlagShift})),
              Sequence({0x29, 1, 0x7D, 1, 0xA1, 1, 0x4C, 1, 0x12, 1, 0x12, 0, 0x4C, 0, 0xA1, 0, 0x7D, 0, 0x29, 0}));
    EXPECT_EQ(Encoded(*Shortcut(kF7, {})), Sequence({0x24, 1, 0x24, 0}));
}

TEST(KeySequence, PlainFlagDropsModifiersAndAKeyWithoutCodeDropsTheKey)
{
    EXPECT_EQ(Encoded(*Shortcut(kA, {kFlagPlain, kFlagCtrl})), Sequence({0x12, 1, 0x12, 0}));
    EXPECT_EQ(Encoded(*Shortcut(kNoDeviceCode, {kFlagShift, kFlagCtrl})),
              Sequence({0x29, 1, 0x7D, 1, 0x7D, 0, 0x29, 0}));
    EXPECT_EQ(Encoded(*Shortcut(kMouseLeft, {})), Sequence({}));

    auto unread = Shortcut(kA, {kFlagCtrl});
    unread->ShortcutFlags[kFlagShift] = 0xFF; // only a flag of 1 is a set modifier
    EXPECT_EQ(Encoded(*unread), Sequence({0x7D, 1, 0x12, 1, 0x12, 0, 0x7D, 0}));
}

TEST(KeySequence, MediaKeysUseTheKeyboardsCodesAndHostKeysAreStoredEmpty)
{
    EXPECT_EQ(Encoded(*WithFunction(KeyFunction::Mute)), Sequence({0x7E, 1, 0x7E, 0}));
    EXPECT_EQ(Encoded(*WithFunction(KeyFunction::VolumeUp)), Sequence({0x59, 1, 0x59, 0}));
    EXPECT_EQ(Encoded(*WithFunction(KeyFunction::VolumeDown)), Sequence({0x49, 1, 0x49, 0}));
    for (KeyFunction function : {KeyFunction::None, KeyFunction::Macro, KeyFunction::ButtonOff, KeyFunction::Timer,
                                 KeyFunction::PlayPause, KeyFunction::WwwSearch, static_cast<KeyFunction>(200)})
        EXPECT_EQ(Encoded(*WithFunction(function)), Sequence({})) << static_cast<int>(function);
}

TEST(KeyReply, EmptyOrUnsetSequenceKeepsTheAssignment)
{
    for (uint8_t first : {0x00, 0xFF}) {
        auto info = MacroKey();
        const auto before = MacroKey();
        auto reply = Reply({first, 1, 0x7D, 1, 0x12, 1});
        DecodeKeyReply(reply.get(), *info);
        EXPECT_EQ(std::memcmp(info.get(), before.get(), sizeof(ButtonInfo)), 0) << int(first);
    }
}

TEST(KeyReply, MediaCodeChangesOnlyTheFunction)
{
    const std::pair<uint8_t, KeyFunction> cases[] = {
        {0x7E, KeyFunction::Mute}, {0x59, KeyFunction::VolumeUp}, {0x49, KeyFunction::VolumeDown}};
    for (const auto& [code, function] : cases) {
        auto info = MacroKey();
        auto expected = MacroKey();
        expected->FunctionCode = static_cast<uint8_t>(function);
        auto reply = Reply({code, 1, code, 0});
        DecodeKeyReply(reply.get(), *info);
        EXPECT_EQ(std::memcmp(info.get(), expected.get(), sizeof(ButtonInfo)), 0) << int(code);
    }
}

TEST(KeyReply, ModifiersAndKeyBecomeAShortcut)
{
    auto info = MacroKey();
    auto reply = Reply({0x7D, 1, 0x4C, 1, 0x78, 1, 0x78, 0, 0x4C, 0, 0x7D, 0});
    DecodeKeyReply(reply.get(), *info);
    EXPECT_EQ(info->FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(info->ShortcutKey, kDelete);
    const uint8_t flags[5] = {0, 0, 1, 0, 1};
    EXPECT_EQ(std::memcmp(info->ShortcutFlags, flags, sizeof flags), 0);
    EXPECT_EQ(info->MacroLoop, 3); // the rest of the record is not the keyboard's
}

TEST(KeyReply, ScanEndsAtAReleaseAnUnknownKeyOrTheFifthPair)
{
    const uint8_t none[5] = {};
    const uint8_t shiftCtrl[5] = {0, 1, 1, 0, 0};
    struct Case {
        std::initializer_list<uint8_t> sequence;
        const uint8_t* flags;
    };
    const Case cases[] = {
        {{0x29, 1, 0x7D, 1, 0x7D, 0, 0x29, 0, 0x12, 1}, shiftCtrl}, // modifiers only
        {{0x01, 1, 0x7D, 1}, none},                                 // a code without a row is the key
        {{0x29, 1, 0x7D, 1, 0x29, 1, 0x7D, 1, 0x29, 1, 0x12, 1}, shiftCtrl},
    };
    for (const Case& c : cases) {
        auto info = MacroKey();
        auto reply = Reply(c.sequence);
        DecodeKeyReply(reply.get(), *info);
        EXPECT_EQ(info->FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
        EXPECT_EQ(info->ShortcutKey, 0);
        EXPECT_EQ(std::memcmp(info->ShortcutFlags, c.flags, 5), 0);
    }

    // Modifier downs up to the last byte of the reply are not read past it.
    auto info = MacroKey();
    auto full = std::make_unique<uint8_t[]>(kKeyReplyLength);
    for (size_t i = 0; i < kKeyReplyLength; ++i)
        full[i] = i % 2 ? 0x29 : 1;
    DecodeKeyReply(full.get(), *info);
    EXPECT_EQ(info->ShortcutFlags[kFlagShift], 1);
}

TEST(KeyReply, BothCodesOfF7DecodeToF7)
{
    for (uint8_t code : {0x24, 0x43}) {
        auto info = MacroKey();
        auto reply = Reply({code, 1, code, 0});
        DecodeKeyReply(reply.get(), *info);
        EXPECT_EQ(info->ShortcutKey, kF7) << int(code);
    }
}

TEST(DeviceKeyCodes, EveryCodeEncodesBackToItselfExceptTheSecondCodeOfF7)
{
    for (const DeviceKeyCodeRow& row : DeviceKeyCodeTable) {
        const uint8_t usage = DeviceCodeToUsage(row.Code);
        EXPECT_EQ(usage, row.Usage) << int(row.Code);
        if (row.Code != 0x43) {
            EXPECT_EQ(UsageToDeviceCode(usage), row.Code) << int(usage);
        }
    }
    EXPECT_EQ(UsageToDeviceCode(kNoDeviceCode), 0);
    EXPECT_EQ(DeviceCodeToUsage(0), 0);
    EXPECT_EQ(DeviceCodeToUsage(kDeviceCodeMute), 0);
}

TEST(DeviceEvents, KindAndValueSelectWhatTheHostDoes)
{
    const std::pair<uint32_t, DeviceEventKind> cases[] = {
        {0xF0000000, DeviceEventKind::Key},
        {0xF0000004, DeviceEventKind::Key},
        {0xF0000102, DeviceEventKind::Key},
        {0xF0000005, DeviceEventKind::Ignored},
        {0xF00001FF, DeviceEventKind::Ignored},
        {0xF0000108, DeviceEventKind::Ignored},
        {0xF0000202, DeviceEventKind::Ignored},
        {0xF0000008, DeviceEventKind::ModeNumLockOn},
        {0xF0000009, DeviceEventKind::ModeNumLockOff},
        {0xF0000109, DeviceEventKind::Ignored},
        {0x70000001, DeviceEventKind::Arrival},
        {0x70000002, DeviceEventKind::Removal},
        {0x70000003, DeviceEventKind::Ignored},
        {0xB0000000, DeviceEventKind::Reset},
        {0xB0001234, DeviceEventKind::Reset},
        {0x00000000, DeviceEventKind::OsdHide},
        {0x00000005, DeviceEventKind::OsdHide},
        {0xA0000001, DeviceEventKind::Ignored},
        {0xE0000001, DeviceEventKind::Ignored},
        {0xF0010000, DeviceEventKind::Ignored},
    };
    for (const auto& [word, kind] : cases)
        EXPECT_EQ(ClassifyDeviceEvent(DeviceEvent::FromWord(word)), kind) << std::hex << word;
}

TEST(DeviceEvents, KeyWordsCarryIndexAndDirection)
{
    const DeviceEvent release = DeviceEvent::FromWord(KeyReleaseWord(1));
    EXPECT_EQ(KeyPressWord(3), 0xF0000003u);
    EXPECT_EQ(release.Word(), 0xF0000101u);
    EXPECT_EQ(release.KeyIndex(), 1);
    EXPECT_TRUE(release.IsRelease());
    const uint8_t bytes[4] = {0x02, 0x01, 0x00, 0xF0};
    EXPECT_EQ(DeviceEvent::FromBytes(bytes).Word(), 0xF0000102u);
}

TEST(DeviceRequests, SetKeyAndRegisterLayouts)
{
    RequestBuffer key = DeviceRequest::SetKey(2, 5, *Shortcut(kA, {kFlagCtrl}));
    RequestBuffer expected{};
    const uint8_t head[] = {4, 2, 5, 0x7D, 1, 0x12, 1, 0x12, 0, 0x7D, 0};
    std::copy(std::begin(head), std::end(head), expected.begin());
    EXPECT_EQ(key, expected);

    RequestBuffer reg = DeviceRequest::RegisterEvent(0x12345678);
    expected = RequestBuffer{0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(reg, expected);

    auto profile = std::make_unique<Profile>();
    std::memset(profile.get(), 0, sizeof(Profile));
    const uint8_t flags[kKeyCount] = {1, 0, 1, 0xFF, 1};
    std::memcpy(profile->KeyFlags, flags, sizeof flags);
    EXPECT_EQ(KeySwitchMask(*profile), 0x15);
}
