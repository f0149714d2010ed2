#include "KeyCommands.h"

#include "Text.h"
#include "TimerRules.h"

#include <cstring>

namespace {

constexpr int kCmdFirstTimer = 1025;      // timers 0..49
constexpr int kCmdFirstSetCommand = 1100; // create/edit of sets 0..49
constexpr int kCmdFirstMacro = 1200;      // macros 0..49 of sets 0..49
constexpr int kCmdLastSetMacros = 3700;   // macros 0..99 of set 50
constexpr int kCmdLateMacros = 3800;      // macros 50..99 of sets 0..49
constexpr int kCmdLastTimer = 6300;       // timer 50
constexpr int kCmdLastSetCreate = 6301;   // create/edit of set 50
constexpr int kCmdLastSetEdit = 6302;

// What the first numbering covers; the rest of the menu's entries live in the later blocks.
constexpr int kNumberedTimers = 50;
constexpr int kNumberedSets = 50;
constexpr int kNumberedMacros = 50;

static_assert(kMenuTimers == static_cast<int>(kMaxTimers), "the menu offers every timer the timer dialogs allow");

KeyCommand FunctionCommand(KeyFunction function)
{
    KeyCommand c;
    c.kind = KeyCommandKind::Function;
    c.function = function;
    return c;
}

// The media and web codes follow each other in menu order.
KeyFunction FunctionAfter(KeyFunction first, int offset)
{
    return static_cast<KeyFunction>(static_cast<int>(first) + offset);
}

KeyCommand KindCommand(KeyCommandKind kind)
{
    KeyCommand c;
    c.kind = kind;
    return c;
}

KeyCommand TimerCommand(int timer)
{
    KeyCommand c;
    c.kind = KeyCommandKind::Timer;
    c.timer = timer;
    return c;
}

KeyCommand MacroCommand(int set, int macro)
{
    KeyCommand c;
    c.kind = KeyCommandKind::Macro;
    c.set = set;
    c.macro = macro;
    return c;
}

KeyCommand ManagerCommand(int set, bool editMacro)
{
    KeyCommand c;
    c.kind = KeyCommandKind::MacroManager;
    c.set = set;
    c.editMacro = editMacro;
    return c;
}

// Clears the copy of a macro that a key carries; the shortcut and the timer stay.
void ClearMacroCopy(ButtonInfo& info, bool clearLoop)
{
    if (clearLoop)
        info.MacroLoop = 0;
    info.MacroEventCount = 0;
    std::memset(info.MacroEvents, 0, sizeof info.MacroEvents);
    std::memset(info.MacroSetName, 0, sizeof info.MacroSetName);
    std::memset(info.MacroName, 0, sizeof info.MacroName);
}

const MacroSet* SetAt(const MacroLibrary& macros, int set)
{
    if (set < 0 || static_cast<size_t>(set) >= macros.size())
        return nullptr;
    return macros[static_cast<size_t>(set)].get();
}

} // namespace

bool KeyCommand::operator==(const KeyCommand& other) const
{
    return kind == other.kind && function == other.function && set == other.set && macro == other.macro &&
           timer == other.timer && editMacro == other.editMacro;
}

KeyCommand DecodeKeyCommand(int id)
{
    if (id == kCmdAssignShortcut)
        return KindCommand(KeyCommandKind::Shortcut);
    if (id >= kCmdOpenPlayer && id <= kCmdVolumeDown)
        return FunctionCommand(FunctionAfter(KeyFunction::OpenPlayer, id - kCmdOpenPlayer));
    if (id == kCmdSelectPlayer)
        return KindCommand(KeyCommandKind::SelectPlayer);
    if (id == kCmdMacroPlayPause)
        return FunctionCommand(KeyFunction::MacroPlayPause);
    if (id >= kCmdWwwSearch && id <= kCmdWwwFavorites)
        return FunctionCommand(FunctionAfter(KeyFunction::WwwSearch, id - kCmdWwwSearch));
    if (id == kCmdButtonOff)
        return FunctionCommand(KeyFunction::ButtonOff);
    if (id == kCmdMacroStop)
        return FunctionCommand(KeyFunction::MacroStop);
    if (id == kCmdCreateTimer)
        return KindCommand(KeyCommandKind::CreateTimer);
    if (id == kCmdStopTimer)
        return FunctionCommand(KeyFunction::StopTimer);
    if (id == kCmdEditTimer)
        return KindCommand(KeyCommandKind::EditTimer);
    if (id >= kCmdFirstTimer && id < kCmdFirstTimer + kNumberedTimers)
        return TimerCommand(id - kCmdFirstTimer);
    if ((id > kCmdEditTimer && id < kCmdFirstTimer) || (id >= kCmdFirstTimer + kNumberedTimers && id < kCmdCreateMacro))
        return FunctionCommand(KeyFunction::None);
    if (id == kCmdCreateMacro)
        return ManagerCommand(-1, false);
    if (id >= kCmdFirstSetCommand && id < kCmdFirstMacro)
        return ManagerCommand((id - kCmdFirstSetCommand) / 2, (id - kCmdFirstSetCommand) % 2 == 1);
    if (id >= kCmdFirstMacro && id < kCmdLastSetMacros)
        return MacroCommand((id - kCmdFirstMacro) / kNumberedMacros, (id - kCmdFirstMacro) % kNumberedMacros);
    if (id >= kCmdLastSetMacros && id < kCmdLastSetMacros + kMenuMacrosPerSet)
        return MacroCommand(kNumberedSets, id - kCmdLastSetMacros);
    constexpr int kLateMacrosPerSet = kMenuMacrosPerSet - kNumberedMacros;
    if (id >= kCmdLateMacros && id < kCmdLateMacros + kNumberedSets * kLateMacrosPerSet)
        return MacroCommand((id - kCmdLateMacros) / kLateMacrosPerSet,
                            kNumberedMacros + (id - kCmdLateMacros) % kLateMacrosPerSet);
    if (id == kCmdLastTimer)
        return TimerCommand(kNumberedTimers);
    if (id == kCmdLastSetCreate || id == kCmdLastSetEdit)
        return ManagerCommand(kNumberedSets, id == kCmdLastSetEdit);
    return KeyCommand();
}

std::optional<int> MacroCommandId(int set, int macro)
{
    if (set < 0 || set >= kMenuMacroSets || macro < 0 || macro >= kMenuMacrosPerSet)
        return std::nullopt;
    if (set == kNumberedSets)
        return kCmdLastSetMacros + macro;
    if (macro < kNumberedMacros)
        return kCmdFirstMacro + kNumberedMacros * set + macro;
    return kCmdLateMacros + (kMenuMacrosPerSet - kNumberedMacros) * set + (macro - kNumberedMacros);
}

std::optional<int> TimerCommandId(int timer)
{
    if (timer < 0 || timer >= kMenuTimers)
        return std::nullopt;
    if (timer == kNumberedTimers)
        return kCmdLastTimer;
    return kCmdFirstTimer + timer;
}

std::optional<int> MacroManagerCommandId(int set, bool editMacro)
{
    if (set == -1)
        return editMacro ? std::nullopt : std::optional<int>(kCmdCreateMacro);
    if (set < 0 || set >= kMenuMacroSets)
        return std::nullopt;
    if (set == kNumberedSets)
        return editMacro ? kCmdLastSetEdit : kCmdLastSetCreate;
    return kCmdFirstSetCommand + 2 * set + (editMacro ? 1 : 0);
}

std::optional<int> KeyCommandId(const KeyCommand& command)
{
    switch (command.kind) {
    case KeyCommandKind::Unused: return std::nullopt;
    case KeyCommandKind::Shortcut: return kCmdAssignShortcut;
    case KeyCommandKind::SelectPlayer: return kCmdSelectPlayer;
    case KeyCommandKind::CreateTimer: return kCmdCreateTimer;
    case KeyCommandKind::EditTimer: return kCmdEditTimer;
    case KeyCommandKind::Timer: return TimerCommandId(command.timer);
    case KeyCommandKind::Macro: return MacroCommandId(command.set, command.macro);
    case KeyCommandKind::MacroManager: return MacroManagerCommandId(command.set, command.editMacro);
    case KeyCommandKind::Function: break;
    }
    const int code = static_cast<int>(command.function);
    switch (command.function) {
    case KeyFunction::None: return kCmdEditTimer + 1;
    case KeyFunction::MacroPlayPause: return kCmdMacroPlayPause;
    case KeyFunction::MacroStop: return kCmdMacroStop;
    case KeyFunction::ButtonOff: return kCmdButtonOff;
    case KeyFunction::StopTimer: return kCmdStopTimer;
    case KeyFunction::Shortcut:
    case KeyFunction::Macro:
    case KeyFunction::Timer: return std::nullopt; // stored by their own kinds of command
    default: break;
    }
    if (code >= static_cast<int>(KeyFunction::OpenPlayer) && code <= static_cast<int>(KeyFunction::VolumeDown))
        return kCmdOpenPlayer + code - static_cast<int>(KeyFunction::OpenPlayer);
    if (code >= static_cast<int>(KeyFunction::WwwSearch) && code <= static_cast<int>(KeyFunction::WwwFavorites))
        return kCmdWwwSearch + code - static_cast<int>(KeyFunction::WwwSearch);
    return std::nullopt;
}

KeyCommandOutcome HandleKeyCommand(int id, int keyIndex, Profile& profile, const MacroLibrary& macros,
                                   const TimerLibrary& timers)
{
    KeyCommandOutcome outcome;
    if (keyIndex < 0 || keyIndex >= kKeyCount)
        return outcome;
    ButtonInfo& info = profile.Buttons[keyIndex];
    const KeyCommand command = DecodeKeyCommand(id);

    switch (command.kind) {
    case KeyCommandKind::Unused: return outcome;
    case KeyCommandKind::MacroManager:
        outcome.dialog = KeyDialog::MacroManager;
        outcome.macroManagerCommand = id;
        outcome.macroManagerSet = command.set;
        outcome.editMacro = command.editMacro;
        return outcome;
    case KeyCommandKind::CreateTimer:
        if (CanCreateTimer(timers))
            outcome.dialog = KeyDialog::CreateTimer;
        return outcome;
    case KeyCommandKind::EditTimer:
        if (CanEditTimers(timers))
            outcome.dialog = KeyDialog::EditTimer;
        return outcome;
    case KeyCommandKind::SelectPlayer:
        outcome.dialog = KeyDialog::SelectPlayer;
        outcome.mediaOption = profile.MediaOption;
        return outcome;
    case KeyCommandKind::Shortcut:
        outcome.dialog = KeyDialog::Shortcut;
        outcome.shortcutKey = info.ShortcutKey;
        std::memcpy(outcome.shortcutFlags.data(), info.ShortcutFlags, outcome.shortcutFlags.size());
        return outcome;
    case KeyCommandKind::Function:
        info.FunctionCode = static_cast<uint8_t>(command.function);
        ClearMacroCopy(info, true);
        break;
    case KeyCommandKind::Timer: {
        const TimerRecord* timer = TimerAt(timers, command.timer);
        if (!timer)
            return outcome;
        info.FunctionCode = static_cast<uint8_t>(KeyFunction::Timer);
        info.TimerSeconds = timer->Seconds;
        CopyToField(info.TimerName, FieldText(timer->Name));
        ClearMacroCopy(info, true);
        break;
    }
    case KeyCommandKind::Macro: {
        const MacroSet* set = SetAt(macros, command.set);
        const MacroRecord* macro = MacroAt(macros, command.set, command.macro);
        if (!set || !macro)
            return outcome;
        info.FunctionCode = static_cast<uint8_t>(KeyFunction::Macro);
        info.MacroEventCount = static_cast<uint16_t>(static_cast<uint32_t>(macro->EventCount) & 0xFFFFu);
        info.MacroLoop = macro->Loop;
        CopyToField(info.MacroSetName, FieldText(set->Name));
        CopyToField(info.MacroName, FieldText(macro->Name));
        static_assert(sizeof info.MacroEvents == sizeof macro->Events, "a key carries the whole macro");
        std::memcpy(info.MacroEvents, macro->Events, sizeof info.MacroEvents);
        break;
    }
    }
    outcome.rebuildCaptions = true;
    return outcome;
}

void StoreShortcut(ButtonInfo& info, uint8_t key, const std::array<uint8_t, 5>& flags)
{
    info.ShortcutKey = key;
    std::memcpy(info.ShortcutFlags, flags.data(), sizeof info.ShortcutFlags);
    ClearMacroCopy(info, false);
    info.FunctionCode = static_cast<uint8_t>(KeyFunction::Shortcut);
}

void StoreSelectedPlayer(Profile& profile, int32_t mediaOption)
{
    profile.MediaOption = mediaOption;
}

bool EndMacroManager(bool ok, MacroLibrary& macros, const std::string& folder)
{
    if (ok)
        return SaveMacroLibrary(macros, folder);
    FreeMacroLibrary(macros);
    LoadMacroLibrary(macros, folder);
    return true;
}

bool CanCreateTimer(const TimerLibrary& timers)
{
    return TimerCreationAllowed(timers);
}

bool CanEditTimers(const TimerLibrary& timers)
{
    return TimerEditingAllowed(timers);
}

bool AddCreatedTimer(TimerLibrary& timers, std::string_view name, int32_t seconds, const std::string& folder)
{
    auto timer = std::make_unique<TimerRecord>();
    std::memset(timer.get(), 0, sizeof(TimerRecord));
    timer->Seconds = seconds;
    CopyToField(timer->Name, name);
    timers.push_back(std::move(timer));
    return SaveTimerLibrary(timers, folder);
}
