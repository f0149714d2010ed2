#include "Libraries.h"

#include "IniFile.h"
#include "Log.h"
#include "NameRules.h"
#include "Text.h"

#include <cstring>

namespace {

const char kMain[] = "Main";
const char kTimer[] = "Timer";
const char kCount[] = "Count";

// The number of "%d" entries to read for a stored count: up to the highest index the section holds,
// so that a damaged entry in the middle keeps the later ones in place. A damaged count or a stray
// huge index must not make millions of zeroed records out of a tiny file, so the gaps filled are
// bounded by the entries actually present.
int EntriesToRead(const IniDocument& ini, std::string_view section, int32_t count)
{
    if (count < 1)
        return 0;
    int64_t highest = -1;
    int64_t present = 0;
    for (std::string_view key : ini.KeysOf(section)) {
        if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0'))
            continue;
        int64_t v = 0;
        bool digits = true;
        for (char c : key) {
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            v = v * 10 + (c - '0');
        }
        if (!digits || v >= count)
            continue;
        ++present;
        if (v > highest)
            highest = v;
    }
    const int64_t limit = 2 * present + 16;
    return static_cast<int>(highest + 1 < limit ? highest + 1 : limit);
}

template <class Record>
std::unique_ptr<Record> ReadRecord(const IniDocument& ini, std::string_view section, int index)
{
    auto record = std::make_unique<Record>();
    std::memset(record.get(), 0, sizeof(Record));
    Record scratch;
    if (ini.ReadStruct(section, FormatInt(index), &scratch, sizeof scratch))
        std::memcpy(record.get(), &scratch, sizeof scratch);
    else
        LogDebug("library: [%s] %d unreadable, zeroed\n", std::string(section).c_str(), index);
    return record;
}

} // namespace

std::string MacroLibraryPath(const std::string& folder)
{
    return folder + "config\\macro.ini";
}

std::string TimerLibraryPath(const std::string& folder)
{
    return folder + "config\\Timer.ini";
}

void LoadMacroLibrary(MacroLibrary& list, const std::string& folder)
{
    IniDocument ini = IniFile(MacroLibraryPath(folder)).Load();
    size_t first = list.size();
    int sets = EntriesToRead(ini, kMain, ini.ReadInt(kMain, kCount, -1));
    for (int i = 0; i < sets; ++i) {
        auto set = std::make_unique<MacroSet>();
        CopyToField(set->Name, ini.ReadString(kMain, FormatInt(i), ""));
        // An entry naming the index itself holds no set of its own (its "macros" would be the
        // index entries), and taking it would make a library that cannot be saved again.
        if (!MacroSetNameStorable(Trim(FieldText(set->Name)))) {
            LogDebug("library: index entry %d names no set the file can hold, skipped\n", i);
            continue;
        }
        list.push_back(std::move(set));
    }
    for (size_t s = first; s < list.size(); ++s) {
        MacroSet& set = *list[s];
        std::string section(Trim(FieldText(set.Name)));
        int macros = EntriesToRead(ini, section, ini.ReadInt(section, kCount, -1));
        for (int j = 0; j < macros; ++j)
            set.Elements.push_back(ReadRecord<MacroRecord>(ini, section, j));
    }
}

bool SaveMacroLibrary(const MacroLibrary& list, const std::string& folder)
{
    // A set whose section the file cannot hold apart from the index would be lost at the next
    // load, or take every other set with it: nothing is written then.
    for (size_t i = 0; i < list.size(); ++i) {
        if (!MacroSetNameStorable(Trim(FieldText(list[i]->Name)))) {
            LogDebug("library: set %d's name cannot be stored; macro library not saved\n", static_cast<int>(i));
            return false;
        }
    }
    IniDocument ini;
    ini.WriteInt(kMain, kCount, static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        ini.WriteString(kMain, FormatInt(static_cast<long long>(i)), FieldText(list[i]->Name));
    for (const auto& set : list) {
        std::string section(Trim(FieldText(set->Name)));
        ini.WriteInt(section, kCount, static_cast<int32_t>(set->Elements.size()));
        for (size_t j = 0; j < set->Elements.size(); ++j)
            ini.WriteStruct(section, FormatInt(static_cast<long long>(j)), set->Elements[j].get(), sizeof(MacroRecord));
    }
    EnsureFolder(folder + "config");
    return IniFile(MacroLibraryPath(folder)).Save(ini);
}

void FreeMacroLibrary(MacroLibrary& list)
{
    list.clear();
}

std::optional<int> FindMacroSet(const MacroLibrary& list, std::string_view name)
{
    std::string_view wanted = Trim(name);
    for (size_t i = 0; i < list.size(); ++i)
        if (EqualNoCase(Trim(FieldText(list[i]->Name)), wanted))
            return static_cast<int>(i);
    return std::nullopt;
}

AssignedMacro FindAssignedMacro(const MacroLibrary& list, const ButtonInfo& info)
{
    AssignedMacro found;
    found.set = FindMacroSet(list, FieldText(info.MacroSetName));
    if (!found.set)
        return found;
    std::string_view wanted = Trim(FieldText(info.MacroName));
    const MacroSet& set = *list[static_cast<size_t>(*found.set)];
    for (size_t j = 0; j < set.Elements.size(); ++j)
        if (EqualNoCase(Trim(FieldText(set.Elements[j]->Name)), wanted)) {
            found.macro = static_cast<int>(j);
            break;
        }
    return found;
}

MacroRecord* MacroAt(const MacroLibrary& list, int setIndex, int macroIndex)
{
    if (setIndex < 0 || static_cast<size_t>(setIndex) >= list.size())
        return nullptr;
    const MacroSet& set = *list[static_cast<size_t>(setIndex)];
    if (macroIndex < 0 || static_cast<size_t>(macroIndex) >= set.Elements.size())
        return nullptr;
    return set.Elements[static_cast<size_t>(macroIndex)].get();
}

void LoadTimerLibrary(TimerLibrary& list, const std::string& folder)
{
    IniDocument ini = IniFile(TimerLibraryPath(folder)).Load();
    int count = EntriesToRead(ini, kTimer, ini.ReadInt(kTimer, kCount, -1));
    for (int i = 0; i < count; ++i)
        list.push_back(ReadRecord<TimerRecord>(ini, kTimer, i));
}

bool SaveTimerLibrary(const TimerLibrary& list, const std::string& folder)
{
    IniDocument ini;
    ini.WriteInt(kTimer, kCount, static_cast<int32_t>(list.size()));
    for (size_t i = 0; i < list.size(); ++i)
        ini.WriteStruct(kTimer, FormatInt(static_cast<long long>(i)), list[i].get(), sizeof(TimerRecord));
    EnsureFolder(folder + "config");
    return IniFile(TimerLibraryPath(folder)).Save(ini);
}

std::optional<int> FindTimer(const TimerLibrary& list, std::string_view name)
{
    std::string_view wanted = Trim(name);
    for (size_t i = 0; i < list.size(); ++i)
        if (EqualNoCase(Trim(FieldText(list[i]->Name)), wanted))
            return static_cast<int>(i);
    return std::nullopt;
}

TimerRecord* TimerAt(const TimerLibrary& list, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return nullptr;
    return list[static_cast<size_t>(index)].get();
}
