// The macro library ("config\macro.ini": named macro sets of macros) and the timer library
// ("config\Timer.ini"). Both files are rebuilt from scratch on every save.
#pragma once

#include "FileSystem.h"
#include "Records.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One macro set: its name as entered and its macros in order. The set owns its macros.
class MacroSet {
public:
    virtual ~MacroSet() = default;
    char Name[200] = {};
    std::vector<std::unique_ptr<MacroRecord>> Elements;
};

// Macro sets in file and menu order; the library owns its sets.
using MacroLibrary = std::vector<std::unique_ptr<MacroSet>>;
// Timers in file and menu order; the library owns its timers.
using TimerLibrary = std::vector<std::unique_ptr<TimerRecord>>;

std::string MacroLibraryPath(const std::string& folder);
std::string TimerLibraryPath(const std::string& folder);

// Appends the sets and macros of the file. A missing file or "Count" gives nothing; a macro whose
// entry cannot be read is appended zeroed, so later macros keep their indices.
void LoadMacroLibrary(MacroLibrary& list, const std::string& folder = GetProgramFolder());
// Replaces the file by the list's content.
bool SaveMacroLibrary(const MacroLibrary& list, const std::string& folder = GetProgramFolder());
void FreeMacroLibrary(MacroLibrary& list);

// Index of the first set whose trimmed name equals the trimmed name, without regard to case.
std::optional<int> FindMacroSet(const MacroLibrary& list, std::string_view name);

// Where a key's assigned macro stands in the library: the set named by MacroSetName and, within it,
// the macro named by MacroName (each only when found).
struct AssignedMacro {
    std::optional<int> set;
    std::optional<int> macro;
};
AssignedMacro FindAssignedMacro(const MacroLibrary& list, const ButtonInfo& info);

// The macro at that place, or nullptr when either index is out of range.
MacroRecord* MacroAt(const MacroLibrary& list, int setIndex, int macroIndex);

// Appends the timers of the file; a timer whose entry cannot be read is appended zeroed.
void LoadTimerLibrary(TimerLibrary& list, const std::string& folder = GetProgramFolder());
bool SaveTimerLibrary(const TimerLibrary& list, const std::string& folder = GetProgramFolder());
// Index of the first timer whose trimmed name equals the trimmed name, without regard to case.
std::optional<int> FindTimer(const TimerLibrary& list, std::string_view name);
TimerRecord* TimerAt(const TimerLibrary& list, int index);
