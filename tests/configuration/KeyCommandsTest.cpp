#include "KeyCommands.h"
#include "KeyTable.h"
#include "TempFolder.h"
#include "TestLibraries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {

bool SameBytes(const Profile& a, const Profile& b)
{
    return std::memcmp(&a, &b, sizeof(Profile)) == 0;
}

bool SameBytes(const ButtonInfo& a, const ButtonInfo& b)
{
    return std::memcmp(&a, &b, sizeof(ButtonInfo)) == 0;
}

bool MacroCopyCleared(const ButtonInfo& b)
{
    static const ButtonInfo zero{};
    return b.MacroEventCount == 0 && std::memcmp(b.MacroEvents, zero.MacroEvents, sizeof b.MacroEvents) == 0 &&
           std::memcmp(b.MacroSetName, zero.MacroSetName, sizeof b.MacroSetName) == 0 &&
           std::memcmp(b.MacroName, zero.MacroName, sizeof b.MacroName) == 0;
}

// A library with one set "Fight" holding "Combo" (looping, three events) and "Jump", and two timers.
struct SmallLibraries {
    MacroLibrary macros;
    TimerLibrary timers;
    SmallLibraries()
    {
        macros.push_back(TestSet("Fight"));
        macros.back()->Elements.push_back(TestMacro("Combo", 1, {{0x04, 0, 30}, {0x04, 1, 0}, {0xF0, 0, 65535}}));
        macros.back()->Elements.push_back(TestMacro("Jump", 0, {{0x2C, 0, 10}}));
        timers.push_back(TestTimer(30, "Tea"));
        timers.push_back(TestTimer(300, "Pizza"));
    }
};

// Key 2 (index 1) of a profile whose key plays "Combo" of "Fight".
Profile ProfileWithMacroKey(const SmallLibraries& libs)
{
    Profile p = TestProfile();
    HandleKeyCommand(*MacroCommandId(0, 0), 1, p, libs.macros, libs.timers);
    return p;
}

} // namespace

TEST(KeyCommandIds, TheNumbersOfTheMenuKeepTheirMeaning)
{
    for (int t = 0; t < 50; ++t)
        EXPECT_EQ(TimerCommandId(t), 1025 + t);
    for (int s = 0; s < 50; ++s) {
        EXPECT_EQ(MacroManagerCommandId(s, false), 1100 + 2 * s);
        EXPECT_EQ(MacroManagerCommandId(s, true), 1101 + 2 * s);
        for (int m = 0; m < 50; ++m)
            EXPECT_EQ(MacroCommandId(s, m), 1200 + 50 * s + m);
    }
    EXPECT_EQ(MacroManagerCommandId(-1, false), 1099);
    EXPECT_EQ(DecodeKeyCommand(1099).kind, KeyCommandKind::MacroManager);
    EXPECT_EQ(DecodeKeyCommand(1000).kind, KeyCommandKind::Shortcut);
    EXPECT_EQ(DecodeKeyCommand(1009).kind, KeyCommandKind::SelectPlayer);
    EXPECT_EQ(DecodeKeyCommand(1020).kind, KeyCommandKind::CreateTimer);
    EXPECT_EQ(DecodeKeyCommand(1022).kind, KeyCommandKind::EditTimer);

    const std::map<int, KeyFunction> stored = {
        {1001, KeyFunction::OpenPlayer},   {1002, KeyFunction::PrevTrack},  {1003, KeyFunction::NextTrack},
        {1004, KeyFunction::PlayPause},    {1005, KeyFunction::StopMedia},  {1006, KeyFunction::Mute},
        {1007, KeyFunction::VolumeUp},     {1008, KeyFunction::VolumeDown}, {1010, KeyFunction::MacroPlayPause},
        {1011, KeyFunction::WwwSearch},    {1012, KeyFunction::WwwHome},    {1013, KeyFunction::WwwBack},
        {1014, KeyFunction::WwwForward},   {1015, KeyFunction::WwwStop},    {1016, KeyFunction::WwwRefresh},
        {1017, KeyFunction::WwwFavorites}, {1018, KeyFunction::ButtonOff},  {1019, KeyFunction::MacroStop},
        {1021, KeyFunction::StopTimer},    {1023, KeyFunction::None},       {1024, KeyFunction::None},
        {1075, KeyFunction::None},         {1098, KeyFunction::None}};
    for (const auto& [id, function] : stored) {
        const KeyCommand c = DecodeKeyCommand(id);
        EXPECT_EQ(c.kind, KeyCommandKind::Function) << id;
        EXPECT_EQ(c.function, function) << id;
    }
    for (int id = 1075; id <= 1098; ++id)
        EXPECT_EQ(DecodeKeyCommand(id).function, KeyFunction::None) << id;
}

TEST(KeyCommandIds, EveryEntryOfAFullLibraryHasAnIdOfItsOwn)
{
    std::map<int, KeyCommand> owner;
    auto claim = [&](std::optional<int> id, const KeyCommand& entry) {
        ASSERT_TRUE(id.has_value());
        EXPECT_GE(*id, kFirstKeyCommand);
        EXPECT_LE(*id, kLastKeyCommand);
        EXPECT_TRUE(owner.emplace(*id, entry).second) << "id " << *id << " used twice";
        EXPECT_EQ(DecodeKeyCommand(*id), entry) << *id;
    };
    for (int s = 0; s < kMenuMacroSets; ++s) {
        for (int m = 0; m < kMenuMacrosPerSet; ++m) {
            KeyCommand macro;
            macro.kind = KeyCommandKind::Macro;
            macro.set = s;
            macro.macro = m;
            claim(MacroCommandId(s, m), macro);
        }
        for (bool edit : {false, true}) {
            KeyCommand manager;
            manager.kind = KeyCommandKind::MacroManager;
            manager.set = s;
            manager.editMacro = edit;
            claim(MacroManagerCommandId(s, edit), manager);
        }
    }
    for (int t = 0; t < kMenuTimers; ++t) {
        KeyCommand timer;
        timer.kind = KeyCommandKind::Timer;
        timer.timer = t;
        claim(TimerCommandId(t), timer);
    }
    EXPECT_EQ(owner.size(), 51u * 100u + 51u * 2u + 51u);

    // No id of a library entry is one of the fixed commands, and every id that means something
    // leads back to itself.
    for (int id = kFirstKeyCommand; id <= kLastKeyCommand; ++id) {
        const KeyCommand c = DecodeKeyCommand(id);
        if (c.kind == KeyCommandKind::Unused)
            continue;
        if (c.kind == KeyCommandKind::Function && c.function == KeyFunction::None)
            continue; // several ids store None
        EXPECT_EQ(KeyCommandId(c), id);
    }
}

TEST(KeyCommandIds, EntriesBeyondWhatTheEditorsAllowHaveNoId)
{
    EXPECT_FALSE(MacroCommandId(51, 0));
    EXPECT_FALSE(MacroCommandId(0, 100));
    EXPECT_FALSE(MacroCommandId(-1, 0));
    EXPECT_FALSE(MacroCommandId(0, -1));
    EXPECT_FALSE(TimerCommandId(51));
    EXPECT_FALSE(TimerCommandId(-1));
    EXPECT_FALSE(MacroManagerCommandId(51, false));
    EXPECT_FALSE(MacroManagerCommandId(-1, true));
    for (int id : {-1, 0, 999, 6303, 6500, 6501, 1 << 20})
        EXPECT_EQ(DecodeKeyCommand(id).kind, KeyCommandKind::Unused) << id;
}

TEST(KeyCommandHandling, EveryIdOfAFullLibraryAssignsItsOwnEntryOrNothing)
{
    const MacroLibrary macros = FullMacroLibrary();
    const TimerLibrary timers = FullTimerLibrary();
    const Profile before = TestProfile();
    int assignedMacros = 0;
    int assignedTimers = 0;
    for (int id = -5; id <= 7000; ++id) {
        Profile p = before;
        const KeyCommand c = DecodeKeyCommand(id);
        const KeyCommandOutcome out = HandleKeyCommand(id, 3, p, macros, timers);
        const ButtonInfo& key = p.Buttons[3];
        if (c.kind == KeyCommandKind::Macro) {
            ++assignedMacros;
            EXPECT_EQ(FieldText(key.MacroSetName), "Set" + std::to_string(c.set)) << id;
            EXPECT_EQ(FieldText(key.MacroName), "S" + std::to_string(c.set) + "M" + std::to_string(c.macro)) << id;
        } else if (c.kind == KeyCommandKind::Timer) {
            ++assignedTimers;
            EXPECT_EQ(FieldText(key.TimerName), "T" + std::to_string(c.timer)) << id;
            EXPECT_EQ(key.TimerSeconds, 10 + c.timer) << id;
        } else if (c.kind == KeyCommandKind::Unused) {
            EXPECT_TRUE(SameBytes(p, before)) << id;
            EXPECT_EQ(out.dialog, KeyDialog::None) << id;
            EXPECT_FALSE(out.rebuildCaptions) << id;
        }
        for (int other = 0; other < kKeyCount; ++other) {
            if (other != 3) {
                EXPECT_TRUE(SameBytes(p.Buttons[other], before.Buttons[other])) << id;
            }
        }
    }
    EXPECT_EQ(assignedMacros, 51 * 100);
    EXPECT_EQ(assignedTimers, 51);
}

TEST(KeyCommandHandling, AChosenMacroIsACopyOfTheLibrarysMacro)
{
    SmallLibraries libs;
    Profile p = TestProfile();
    ButtonInfo& key = p.Buttons[1];
    key.TimerSeconds = 45;
    CopyToField(key.TimerName, "Old timer");

    const KeyCommandOutcome out = HandleKeyCommand(1201, 1, p, libs.macros, libs.timers);
    EXPECT_EQ(out.dialog, KeyDialog::None);
    EXPECT_TRUE(out.rebuildCaptions);
    EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(KeyFunction::Macro));
    EXPECT_EQ(FieldText(key.MacroSetName), "Fight");
    EXPECT_EQ(FieldText(key.MacroName), "Jump");
    EXPECT_EQ(key.MacroLoop, 0);
    EXPECT_EQ(key.MacroEventCount, 1);
    EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), "Jump");

    HandleKeyCommand(1200, 1, p, libs.macros, libs.timers);
    EXPECT_EQ(FieldText(key.MacroName), "Combo");
    EXPECT_EQ(key.MacroLoop, 1);
    EXPECT_EQ(key.MacroEventCount, 3);
    EXPECT_EQ(std::memcmp(key.MacroEvents, libs.macros[0]->Elements[0]->Events, sizeof key.MacroEvents), 0);
    // The shortcut and the timer of earlier assignments stay behind.
    EXPECT_EQ(key.ShortcutKey, 0x4A);
    EXPECT_EQ(key.ShortcutFlags[kFlagPlain], 1);
    EXPECT_EQ(key.TimerSeconds, 45);
    EXPECT_EQ(FieldText(key.TimerName), "Old timer");
    EXPECT_EQ(key.KeyNumber, 2);

    // Editing the macro later does not change the key until it is chosen again.
    MacroRecord& combo = *libs.macros[0]->Elements[0];
    combo.Events[0].Delay = 999;
    combo.Loop = 0;
    EXPECT_EQ(key.MacroEvents[0].Delay, 30);
    EXPECT_EQ(key.MacroLoop, 1);
    HandleKeyCommand(1200, 1, p, libs.macros, libs.timers);
    EXPECT_EQ(key.MacroEvents[0].Delay, 999);
    EXPECT_EQ(key.MacroLoop, 0);
}

TEST(KeyCommandHandling, AMacroCopyCutsNamesToTheKeysFieldsAndKeepsAllEventSlots)
{
    MacroLibrary macros;
    const std::string longSet(120, 's');
    macros.push_back(TestSet(longSet));
    auto macro = TestMacro("m", 0);
    std::memset(macro->Name, 'n', sizeof macro->Name); // a name read without its terminator
    macro->EventCount = 0x10003;                       // only the low 16 bits fit the key's count
    macro->Events[511] = {0x29, 1, 7};                 // a slot beyond the count travels as well
    macros.back()->Elements.push_back(std::move(macro));

    Profile p = TestProfile();
    HandleKeyCommand(1200, 0, p, macros, TimerLibrary());
    const ButtonInfo& key = p.Buttons[0];
    EXPECT_EQ(FieldText(key.MacroSetName), longSet.substr(0, 49));
    EXPECT_EQ(key.MacroSetName[49], '\0');
    EXPECT_EQ(FieldText(key.MacroName), std::string(49, 'n'));
    EXPECT_EQ(key.MacroName[49], '\0');
    EXPECT_EQ(key.MacroEventCount, 3);
    EXPECT_EQ(key.MacroEvents[511].Key, 0x29);
    EXPECT_EQ(key.MacroEvents[511].Delay, 7);
}

TEST(KeyCommandHandling, FixedFunctionsStoreTheirCodeAndClearTheMacroCopy)
{
    SmallLibraries libs;
    const Profile withMacro = ProfileWithMacroKey(libs);
    ASSERT_EQ(withMacro.Buttons[1].MacroEventCount, 3);

    struct Case {
        int id;
        KeyFunction function;
        const char* label;
    };
    const Case cases[] = {
        {1018, KeyFunction::ButtonOff, "Button off"},
        {1001, KeyFunction::OpenPlayer, "Open Player"},
        {1008, KeyFunction::VolumeDown, "Volume Down"},
        {1010, KeyFunction::MacroPlayPause, "Macro-Play/Pause"},
        {1011, KeyFunction::WwwSearch, "WWW Search"},
        {1017, KeyFunction::WwwFavorites, "WWW Favorites"},
        {1019, KeyFunction::MacroStop, "Macro-Stop"},
        {1021, KeyFunction::StopTimer, "Stop Timer"},
        {1023, KeyFunction::None, ""},
        {1075, KeyFunction::None, ""},
    };
    for (const Case& c : cases) {
        Profile p = withMacro;
        const KeyCommandOutcome out = HandleKeyCommand(c.id, 1, p, libs.macros, libs.timers);
        const ButtonInfo& key = p.Buttons[1];
        EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(c.function)) << c.id;
        EXPECT_TRUE(MacroCopyCleared(key)) << c.id;
        EXPECT_EQ(key.MacroLoop, 0) << c.id;
        EXPECT_EQ(key.ShortcutKey, 0x4A) << c.id;
        EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), c.label) << c.id;
        EXPECT_TRUE(out.rebuildCaptions) << c.id;
        EXPECT_EQ(out.dialog, KeyDialog::None) << c.id;
        EXPECT_EQ(p.MediaOption, withMacro.MediaOption) << c.id;
    }
    // The media and web commands follow the codes in order.
    for (int i = 0; i < 8; ++i) {
        Profile p = withMacro;
        HandleKeyCommand(1001 + i, 1, p, libs.macros, libs.timers);
        EXPECT_EQ(p.Buttons[1].FunctionCode, 32 + i);
    }
    for (int i = 0; i < 7; ++i) {
        Profile p = withMacro;
        HandleKeyCommand(1011 + i, 1, p, libs.macros, libs.timers);
        EXPECT_EQ(p.Buttons[1].FunctionCode, 48 + i);
    }
}

TEST(KeyCommandHandling, ATimerCopiesLengthAndNameAndAMissingOneChangesNothing)
{
    SmallLibraries libs;
    Profile p = ProfileWithMacroKey(libs);
    const KeyCommandOutcome out = HandleKeyCommand(1026, 1, p, libs.macros, libs.timers);
    const ButtonInfo& key = p.Buttons[1];
    EXPECT_TRUE(out.rebuildCaptions);
    EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(KeyFunction::Timer));
    EXPECT_EQ(key.TimerSeconds, 300);
    EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), "Pizza");
    EXPECT_TRUE(MacroCopyCleared(key));
    EXPECT_EQ(key.MacroLoop, 0);

    // Timer 2, set 1 and macro 2 of set 0 are not in the library.
    for (int id : {1027, 1074, 6300, 1250, 1202, 3800}) {
        const Profile before = p;
        const KeyCommandOutcome none = HandleKeyCommand(id, 1, p, libs.macros, libs.timers);
        EXPECT_TRUE(SameBytes(p, before)) << id;
        EXPECT_FALSE(none.rebuildCaptions) << id;
    }
}

TEST(KeyCommandHandling, TheShortcutDialogStartsFromTheKeyAndOnlyItsOkChangesIt)
{
    SmallLibraries libs;
    Profile p = ProfileWithMacroKey(libs);
    p.Buttons[1].ShortcutKey = 0x3A;
    p.Buttons[1].ShortcutFlags[kFlagShift] = 1;
    const Profile before = p;

    // Opening the dialog (and cancelling it) leaves the key playing its macro.
    const KeyCommandOutcome out = HandleKeyCommand(1000, 1, p, libs.macros, libs.timers);
    EXPECT_EQ(out.dialog, KeyDialog::Shortcut);
    EXPECT_FALSE(out.rebuildCaptions);
    EXPECT_EQ(out.shortcutKey, 0x3A);
    EXPECT_EQ(out.shortcutFlags, (std::array<uint8_t, 5>{1, 1, 0, 0, 0}));
    EXPECT_TRUE(SameBytes(p, before));

    // OK after F5 with only Ctrl on.
    StoreShortcut(p.Buttons[1], 0x3E, {0, 0, 1, 0, 0});
    const ButtonInfo& key = p.Buttons[1];
    EXPECT_EQ(key.FunctionCode, static_cast<uint8_t>(KeyFunction::Shortcut));
    EXPECT_EQ(key.ShortcutKey, 0x3E);
    EXPECT_EQ(AssignmentLabel(key, UsKeyboardLayout()), "Ctrl+F5");
    EXPECT_TRUE(MacroCopyCleared(key));
    EXPECT_EQ(key.MacroLoop, 1); // a shortcut keeps the loop flag
    EXPECT_EQ(p.MediaOption, before.MediaOption);
}

TEST(KeyCommandHandling, SelectPlayerTouchesOnlyMediaOption)
{
    SmallLibraries libs;
    Profile p = ProfileWithMacroKey(libs);
    p.MediaOption = -1;
    const Profile before = p;
    const KeyCommandOutcome out = HandleKeyCommand(1009, 1, p, libs.macros, libs.timers);
    EXPECT_EQ(out.dialog, KeyDialog::SelectPlayer);
    EXPECT_EQ(out.mediaOption, -1);
    EXPECT_FALSE(out.rebuildCaptions);
    EXPECT_TRUE(SameBytes(p, before));

    StoreSelectedPlayer(p, 3);
    EXPECT_EQ(p.MediaOption, 3);
    p.MediaOption = before.MediaOption;
    EXPECT_TRUE(SameBytes(p, before));
}

TEST(KeyCommandHandling, MacroManagerCommandsOpenTheManagerForTheirSet)
{
    SmallLibraries libs;
    const Profile before = ProfileWithMacroKey(libs);
    struct Case {
        int id;
        int set;
        bool edit;
    };
    for (const Case& c : {Case{1099, -1, false}, Case{1100, 0, false}, Case{1107, 3, true}, Case{1198, 49, false},
                          Case{1199, 49, true}, Case{6301, 50, false}, Case{6302, 50, true}}) {
        Profile p = before;
        const KeyCommandOutcome out = HandleKeyCommand(c.id, 1, p, libs.macros, libs.timers);
        EXPECT_EQ(out.dialog, KeyDialog::MacroManager) << c.id;
        EXPECT_EQ(out.macroManagerCommand, c.id);
        EXPECT_EQ(out.macroManagerSet, c.set) << c.id;
        EXPECT_EQ(out.editMacro, c.edit) << c.id;
        EXPECT_FALSE(out.rebuildCaptions) << c.id;
        EXPECT_TRUE(SameBytes(p, before)) << c.id;
    }
}

TEST(KeyCommandHandling, TimerDialogsOpenOnlyWithinTheLibrarysLimits)
{
    MacroLibrary macros;
    TimerLibrary timers;
    Profile p = TestProfile();
    const Profile before = p;
    EXPECT_EQ(HandleKeyCommand(1020, 0, p, macros, timers).dialog, KeyDialog::CreateTimer);
    EXPECT_EQ(HandleKeyCommand(1022, 0, p, macros, timers).dialog, KeyDialog::None);

    for (int t = 0; t < 50; ++t)
        timers.push_back(TestTimer(10, "T" + std::to_string(t)));
    EXPECT_EQ(HandleKeyCommand(1020, 0, p, macros, timers).dialog, KeyDialog::CreateTimer);
    EXPECT_EQ(HandleKeyCommand(1022, 0, p, macros, timers).dialog, KeyDialog::EditTimer);
    timers.push_back(TestTimer(10, "T50"));
    const KeyCommandOutcome full = HandleKeyCommand(1020, 0, p, macros, timers);
    EXPECT_EQ(full.dialog, KeyDialog::None);
    EXPECT_FALSE(full.rebuildCaptions);
    EXPECT_TRUE(SameBytes(p, before));
}

TEST(KeyCommandHandling, AKeyIndexOutOfRangeChangesNothing)
{
    SmallLibraries libs;
    Profile p = TestProfile();
    const Profile before = p;
    for (int key : {-1, kKeyCount}) {
        EXPECT_EQ(HandleKeyCommand(1000, key, p, libs.macros, libs.timers).dialog, KeyDialog::None);
        EXPECT_FALSE(HandleKeyCommand(1018, key, p, libs.macros, libs.timers).rebuildCaptions);
        HandleKeyCommand(1200, key, p, libs.macros, libs.timers);
    }
    EXPECT_TRUE(SameBytes(p, before));
}

TEST(KeyCommandDialogs, TheMacroManagersOkSavesAndItsCancelRereadsTheFile)
{
    TempFolder dir;
    SmallLibraries libs;
    ASSERT_TRUE(SaveMacroLibrary(libs.macros, dir.Path()));

    libs.macros.push_back(TestSet("Added in the manager"));
    libs.macros[0]->Elements.pop_back();
    EXPECT_TRUE(EndMacroManager(false, libs.macros, dir.Path()));
    ASSERT_EQ(libs.macros.size(), 1u);
    EXPECT_EQ(libs.macros[0]->Elements.size(), 2u);

    libs.macros.push_back(TestSet("Kept"));
    EXPECT_TRUE(EndMacroManager(true, libs.macros, dir.Path()));
    MacroLibrary reread;
    LoadMacroLibrary(reread, dir.Path());
    ASSERT_EQ(reread.size(), 2u);
    EXPECT_EQ(FieldText(reread[1]->Name), "Kept");
}

TEST(KeyCommandDialogs, ACreatedTimerIsAppendedAndSavedAtOnce)
{
    TempFolder dir;
    TimerLibrary timers;
    timers.push_back(TestTimer(30, "Tea"));
    EXPECT_TRUE(AddCreatedTimer(timers, std::string(150, 'x'), 600, dir.Path()));
    ASSERT_EQ(timers.size(), 2u);

    TimerLibrary reread;
    LoadTimerLibrary(reread, dir.Path());
    ASSERT_EQ(reread.size(), 2u);
    EXPECT_EQ(FieldText(reread[0]->Name), "Tea");
    EXPECT_EQ(reread[1]->Seconds, 600);
    EXPECT_EQ(FieldText(reread[1]->Name), std::string(99, 'x'));
}
