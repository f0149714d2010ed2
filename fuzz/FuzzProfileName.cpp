// Arbitrary bytes as a name typed by the user or taken from a file's title. Invariants:
// - a name accepted as a profile's names a file directly inside the config folder: no separator,
//   drive mark, reserved or control character, no trailing dot, no device name, and a path within
//   Windows' limit; a profile set carrying it in slot 3 saves, and loads back with the same name;
// - a name accepted for a new macro set can be stored, and a library of that one set saves and
//   loads back with the same name and its macro.

#include "FuzzSupport.h"

#include "Libraries.h"
#include "NameRules.h"
#include "ProfileStore.h"
#include "Text.h"

#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = FuzzProgramFolder();
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const std::string name(Trim(typed));

    if (ProfileFileNameProblem(name, folder) == NameProblem::None && name.find('\0') == std::string::npos) {
        FuzzRequire(name.find_first_of("\\/:*?\"<>|") == std::string::npos, "no separator or reserved character");
        for (char c : name)
            FuzzRequire(static_cast<unsigned char>(c) >= 0x20, "no control character");
        FuzzRequire(!name.empty() && name.back() != '.', "no trailing dot");
        const std::string path = ProfilePath(folder, name);
        FuzzRequire(path == folder + "config\\" + name + ".rkp", "the file is directly inside the config folder");
        FuzzRequire(path.size() + kTempSuffixRoom <= kMaxPathLength, "the path fits Windows' limit");

        auto set = std::make_unique<ProfileSet>();
        SetDefaultProfiles(*set);
        CopyToField(set->Profiles[2].Name, name);
        if (!SlotNamed(*set, name, 3)) {
            FuzzRequire(SaveProfileSet(*set, folder), "a set of accepted names saves");
            auto back = std::make_unique<ProfileSet>();
            ClearProfileSet(*back);
            LoadProfileSet(*back, folder);
            FuzzRequire(FieldText(back->Profiles[2].Name) == name, "the name loads back");
            DeleteFileAt(path);
        }
    }

    if (name.size() < sizeof(MacroSet::Name) && MacroSetNameAccepted(name)) {
        FuzzRequire(MacroSetNameStorable(name), "an accepted set name can be stored");
        MacroLibrary library;
        auto set = std::make_unique<MacroSet>();
        CopyToField(set->Name, name);
        auto macro = std::make_unique<MacroRecord>();
        std::memset(macro.get(), 0, sizeof(MacroRecord));
        CopyToField(macro->Name, "m");
        set->Elements.push_back(std::move(macro));
        library.push_back(std::move(set));
        FuzzRequire(SaveMacroLibrary(library, folder), "a library of an accepted set name saves");
        MacroLibrary back;
        LoadMacroLibrary(back, folder);
        FuzzRequire(back.size() == 1 && std::strcmp(back[0]->Name, library[0]->Name) == 0, "the set loads back");
        FuzzRequire(back[0]->Elements.size() == 1 && std::strcmp(back[0]->Elements[0]->Name, "m") == 0,
                    "with its macro");
    }
    return 0;
}
