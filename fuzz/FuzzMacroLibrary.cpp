// LoadMacroLibrary on arbitrary bytes as config\macro.ini. Invariants:
// - no more sets than Main's Count allows and than one past the highest set index the file holds;
//   the same for the macros of each set and its section;
// - every set name is zero-terminated within its field, and FindMacroSet finds each set at or
//   before its own index;
// - MacroAt gives each macro at its place and nothing outside the library;
// - loading again appends an identical copy.

#include "FuzzSupport.h"

#include "IniDocument.h"
#include "Libraries.h"
#include "Text.h"

#include <cstring>

namespace {

constexpr size_t kMaxCheckedMacros = 16;

bool SameSet(const MacroSet& a, const MacroSet& b)
{
    if (std::memcmp(a.Name, b.Name, sizeof a.Name) != 0 || a.Elements.size() != b.Elements.size())
        return false;
    for (size_t j = 0; j < a.Elements.size(); ++j)
        if (std::memcmp(a.Elements[j].get(), b.Elements[j].get(), sizeof(MacroRecord)) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = FuzzProgramFolder();
    WriteFuzzFile(MacroLibraryPath(folder), data, size);
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    IniDocument doc = IniDocument::Parse(bytes);

    MacroLibrary list;
    LoadMacroLibrary(list, folder);
    size_t sets = list.size();
    FuzzRequire(sets <= MostEntries(doc, "Main", doc.ReadInt("Main", "Count", -1)),
                "no more sets than Main's Count and highest index allow");

    for (size_t s = 0; s < sets; ++s) {
        const MacroSet& set = *list[s];
        FuzzRequire(set.Name[sizeof set.Name - 1] == '\0', "a set name is zero-terminated");
        std::string section(Trim(FieldText(set.Name)));
        FuzzRequire(set.Elements.size() <= MostEntries(doc, section, doc.ReadInt(section, "Count", -1)),
                    "no more macros in a set than its Count and highest index allow");
        std::optional<int> found = FindMacroSet(list, FieldText(set.Name));
        FuzzRequire(found && static_cast<size_t>(*found) <= s, "a set is found at or before its index");
        for (size_t j = 0; j < set.Elements.size() && j < kMaxCheckedMacros; ++j) {
            FuzzRequire(set.Elements[j] != nullptr, "every macro is present");
            FuzzRequire(MacroAt(list, static_cast<int>(s), static_cast<int>(j)) == set.Elements[j].get(),
                        "MacroAt gives the macro at its place");
            ButtonInfo info{};
            CopyToField(info.MacroSetName, FieldText(set.Name));
            CopyToField(info.MacroName, FieldText(set.Elements[j]->Name));
            AssignedMacro assigned = FindAssignedMacro(list, info);
            if (assigned.set && assigned.macro)
                FuzzRequire(MacroAt(list, *assigned.set, *assigned.macro) != nullptr,
                            "an assigned macro that is found exists");
        }
        FuzzRequire(MacroAt(list, static_cast<int>(s), -1) == nullptr &&
                        MacroAt(list, static_cast<int>(s), static_cast<int>(set.Elements.size())) == nullptr,
                    "MacroAt gives nothing outside a set");
    }
    FuzzRequire(MacroAt(list, -1, 0) == nullptr && MacroAt(list, static_cast<int>(sets), 0) == nullptr,
                "MacroAt gives nothing outside the library");

    LoadMacroLibrary(list, folder);
    FuzzRequire(list.size() == 2 * sets, "loading again appends as many sets");
    for (size_t s = 0; s < sets; ++s)
        FuzzRequire(SameSet(*list[s], *list[sets + s]), "loading again appends the same sets");

    FreeMacroLibrary(list);
    FuzzRequire(list.empty(), "a freed library is empty");
    return 0;
}
