// The commands of a key's assignment menu: their numbers, what each number means, and what choosing
// one does to the working copy and the libraries. The key page only runs the dialogs named here and
// hands their results back; every decision about the records is made in this file.
//
// Command ids (WM_COMMAND at the key page, all within 1000..6500):
//
//   1000              "Assign a shortcut"                       runs the shortcut dialog
//   1001..1008        "Open Player" .. "Volume Down"            OpenPlayer .. VolumeDown (32..39)
//   1009              "Select Player"                           runs the player dialog on MediaOption
//   1010              (not in the menu)                         MacroPlayPause
//   1011..1017        "WWW Search" .. "WWW Favorites"           WwwSearch .. WwwFavorites (48..54)
//   1018              "Button off"                              ButtonOff
//   1019              (not in the menu)                         MacroStop
//   1020              "Create Timer"                            runs the timer creation dialog
//   1021              "Stop Timer"                              StopTimer
//   1022              "Edit/Delete Timer"                       runs the timer edit dialog
//   1023, 1024        (not in the menu)                         None
//   1025 + t          timer t, t = 0..49                        Timer, copies timer t
//   1075..1098        (not in the menu)                         None
//   1099              top "Create New Macro..."                 runs the macro manager
//   1100 + 2s         "Create New Macro..." of set s = 0..49    runs the macro manager
//   1101 + 2s         "Edit Macro..." of set s = 0..49          runs the macro manager
//   1200 + 50s + m    macro m = 0..49 of set s = 0..49          Macro, copies the macro
//
// The editors allow one set and one timer more than those numbers cover, and up to 100 macros in a
// set. Those entries get numbers of their own in the otherwise unused part of the range, so that
// every macro and timer that can exist is reachable and no number means two entries:
//
//   3700 + m          macro m = 0..99 of set 50 (for m < 50 this continues 1200 + 50s + m)
//   3800 + 50s + m-50 macro m = 50..99 of set s = 0..49         (3800..6299)
//   6300              timer 50                                  Timer, copies timer 50
//   6301              "Create New Macro..." of set 50           runs the macro manager
//   6302              "Edit Macro..." of set 50                 runs the macro manager
//   6303..6500        unused
//
// A set, macro or timer beyond 51 sets, 100 macros or 51 timers (only a hand-edited library file
// holds one) has no number and is left out of the menu. A number that means nothing, and a number
// whose macro or timer is not in the library, changes nothing.
#pragma once

#include "Libraries.h"
#include "Records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

constexpr int kFirstKeyCommand = 1000;
constexpr int kLastKeyCommand = 6500;

constexpr int kCmdAssignShortcut = 1000;
constexpr int kCmdOpenPlayer = 1001; // the media commands run up to kCmdVolumeDown in code order
constexpr int kCmdVolumeDown = 1008;
constexpr int kCmdSelectPlayer = 1009;
constexpr int kCmdMacroPlayPause = 1010;
constexpr int kCmdWwwSearch = 1011; // the web commands run up to kCmdWwwFavorites in code order
constexpr int kCmdWwwFavorites = 1017;
constexpr int kCmdButtonOff = 1018;
constexpr int kCmdMacroStop = 1019;
constexpr int kCmdCreateTimer = 1020;
constexpr int kCmdStopTimer = 1021;
constexpr int kCmdEditTimer = 1022;
constexpr int kCmdCreateMacro = 1099; // the top "Create New Macro..."

// How many sets, macros per set and timers the menu can offer.
constexpr int kMenuMacroSets = 51;
constexpr int kMenuMacrosPerSet = 100;
constexpr int kMenuTimers = 51;

enum class KeyCommandKind {
    Unused,       // means nothing: changes nothing
    Function,     // stores `function` and clears the macro copy
    Shortcut,     // the shortcut dialog
    SelectPlayer, // the player dialog
    CreateTimer,  // the timer creation dialog
    EditTimer,    // the timer edit dialog
    Timer,        // assigns timer `timer`
    MacroManager, // the macro manager, for set `set` (-1: the top entry)
    Macro,        // assigns macro `macro` of set `set`
};

// The meaning of a command id.
struct KeyCommand {
    KeyCommandKind kind = KeyCommandKind::Unused;
    KeyFunction function = KeyFunction::None; // Function
    int set = -1;                             // MacroManager, Macro
    int macro = -1;                           // Macro
    int timer = -1;                           // Timer
    bool editMacro = false;                   // MacroManager: "Edit Macro..." of the set

    bool operator==(const KeyCommand& other) const;
    bool operator!=(const KeyCommand& other) const { return !(*this == other); }
};

KeyCommand DecodeKeyCommand(int id);

// The id of an entry, nothing for an entry the menu cannot offer. For Function with None, which
// several ids store, the first of them (1023).
std::optional<int> KeyCommandId(const KeyCommand& command);
std::optional<int> MacroCommandId(int set, int macro);
std::optional<int> TimerCommandId(int timer);
// The macro manager's entries: set -1 is the top "Create New Macro...".
std::optional<int> MacroManagerCommandId(int set, bool editMacro);

// The dialog the key page runs after a command; its result comes back through the functions below.
enum class KeyDialog { None, Shortcut, SelectPlayer, MacroManager, CreateTimer, EditTimer };

struct KeyCommandOutcome {
    KeyDialog dialog = KeyDialog::None;
    // The key's assignment was changed: the captions of the five key buttons are rebuilt.
    bool rebuildCaptions = false;

    // Shortcut: the dialog starts from the key's stored shortcut.
    uint8_t shortcutKey = 0;
    std::array<uint8_t, 5> shortcutFlags{};
    // SelectPlayer: the dialog starts from the profile's MediaOption.
    int32_t mediaOption = 0;
    // MacroManager: the command that opened it, which the manager remembers, and the set it means
    // (-1 for the top entry; the manager then looks for its own set) and whether it edits.
    int macroManagerCommand = 0;
    int macroManagerSet = -1;
    bool editMacro = false;
};

// Carries out command id for key keyIndex (0..4) of profile, the current profile of the working
// copy. Assignments change profile.Buttons[keyIndex] at once; commands that need a dialog change
// nothing and say which dialog to run with which start values. An id that means nothing, a key
// index out of range and a macro or timer that is not in the library change nothing.
KeyCommandOutcome HandleKeyCommand(int id, int keyIndex, Profile& profile, const MacroLibrary& macros,
                                   const TimerLibrary& timers);

// The shortcut dialog ended with OK: the key types key with flags (plain key, Shift, Ctrl, Win,
// Alt). The macro copy is cleared; the loop flag and the timer stay. The captions are rebuilt.
void StoreShortcut(ButtonInfo& info, uint8_t key, const std::array<uint8_t, 5>& flags);

// The player dialog ended with OK. Only MediaOption changes; no key's assignment is touched.
void StoreSelectedPlayer(Profile& profile, int32_t mediaOption);

// The macro manager ended: with OK its changes are saved, otherwise the library is read again from
// the file, which throws every change made in the manager away. False when the save failed.
bool EndMacroManager(bool ok, MacroLibrary& macros, const std::string& folder);

// "Create Timer" opens its dialog only while at most 50 timers exist, so at most 51 can exist.
bool CanCreateTimer(const TimerLibrary& timers);
// "Edit/Delete Timer" opens its dialog only when there is a timer to edit.
bool CanEditTimers(const TimerLibrary& timers);

// The timer creation dialog ended with OK: a new timer with that name (cut to its field) and
// length is appended and the library saved at once. False when the save failed.
bool AddCreatedTimer(TimerLibrary& timers, std::string_view name, int32_t seconds, const std::string& folder);
