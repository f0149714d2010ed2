// What a name that the user types, or that comes from a file's title, must be before it is stored.
// A profile's name is the name of its file in the config folder ("config\" + name + ".rkp"), so it
// must be a file name Windows can use there and differ from every other slot's name (Windows
// file names ignore letter case). A macro set's name is a section of the macro library, so it
// must not be the library's own index section nor anything the INI rules read differently.
// Names are ANSI text as the windows hand them over; the rules look at single bytes.
#pragma once

#include "Records.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Why a name cannot be taken.
enum class NameProblem {
    None,
    Empty,             // nothing but blanks
    ReservedCharacter, // one of \ / : * ? " < > | or a control character
    DeviceName,        // a name Windows keeps for a device (CON, PRN, AUX, NUL, COM1, LPT1, ...), with
                       // or without an extension
    TrailingDot,       // Windows drops a file name's trailing dot, so the name would not come back
    TooLong,           // the file's path, and the temporary file's beside it, longer than Windows allows
    Taken              // another slot's name, letter case and outer blanks aside
};

// The longest path the ANSI file calls take, without its terminating zero.
constexpr std::size_t kMaxPathLength = 259;
// Room kept in a path for the suffix of the temporary file that every write goes through.
constexpr std::size_t kTempSuffixRoom = 26;

// Why name, in the form it is kept (without outer blanks, see Trim), cannot name a profile file in
// the config folder of folder; None when it can. Other slots are not looked at.
NameProblem ProfileFileNameProblem(std::string_view name, std::string_view folder);

// True when a and b name the same profile file: equal without regard to case and outer blanks.
bool SameProfileName(std::string_view a, std::string_view b);

// The slot 1..5 other than exceptSlot whose profile carries name; nothing when no other does.
std::optional<int> SlotNamed(const ProfileSet& set, std::string_view name, int exceptSlot);

// Why slot's profile cannot take name (kept form): the file name's problem first, then Taken when
// another slot of set carries it.
NameProblem ProfileNameProblem(const ProfileSet& set, int slot, std::string_view name, std::string_view folder);

// A slot 1..5 and why its profile's name cannot name its file.
struct SlotNameProblem {
    int slot;
    NameProblem problem;
};
// The first slot whose name cannot name its file, or (Taken) names the file of an earlier slot;
// nothing when all five can be saved side by side.
std::optional<SlotNameProblem> FirstUnusableProfileName(const ProfileSet& set, std::string_view folder);

// True when the macro library can hold a set of this name (kept form) apart from its index: not
// the index section "Main" in any letter case, no line break or zero, and not enclosed in a pair
// of quotes, which a read would strip. (An empty name, which an unreadable index entry gives, is
// kept before the first section.)
bool MacroSetNameStorable(std::string_view name);
// True when a set may be created under this name (kept form): not empty, storable, without control
// characters, without "]" and without a leading "[" or ";", which INI readers other than ours take
// differently.
bool MacroSetNameAccepted(std::string_view name);
// True when a macro or a timer may take this name (kept form): not empty and without control
// characters. Their names are stored inside their records, so no other character can harm a file.
bool RecordNameAccepted(std::string_view name);
