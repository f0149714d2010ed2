// ReadProfileFile on arbitrary bytes as a profile file, and LoadProfileSet with the same bytes as
// config.ini. The program folder also holds "config\seed.rkp", a valid profile, so listed names
// can reach a real file ("seed") as well as the input itself ("fuzz"). Invariants:
// - ReadProfileFile leaves the name alone, stores the keys as the file reads, and keeps every text
//   field zero-terminated;
// - LoadProfileSet takes CurrentProfile from the file and keeps every name zero-terminated.

#include "FuzzSupport.h"

#include "IniDocument.h"
#include "ProfileStore.h"
#include "Text.h"

#include <cstring>

namespace {

const char kSetting[] = "Setting";

const std::string& PreparedFolder()
{
    static const std::string folder = [] {
        const std::string& f = FuzzProgramFolder();
        Profile seed;
        SetDefaultProfile(seed, 2);
        FuzzRequire(WriteProfileFile(seed, f + "config\\seed.rkp"), "the seed profile file can be written");
        return f;
    }();
    return folder;
}

void RequireTerminated(const char* field, size_t n, const char* what)
{
    FuzzRequire(field[n - 1] == '\0', what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& folder = PreparedFolder();
    std::string profilePath = folder + "config\\fuzz.rkp";
    WriteFuzzFile(profilePath, data, size);
    WriteFuzzFile(ConfigIniPath(folder), data, size);
    IniDocument doc = IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size));

    Profile profile;
    SetDefaultProfile(profile, 0);
    const Profile before = profile;
    ReadProfileFile(profile, profilePath);
    FuzzRequire(std::memcmp(profile.Name, before.Name, sizeof profile.Name) == 0, "the name is left alone");
    RequireTerminated(profile.GameFile0, sizeof profile.GameFile0, "GameFile0 is zero-terminated");
    RequireTerminated(profile.GameFile1, sizeof profile.GameFile1, "GameFile1 is zero-terminated");
    RequireTerminated(profile.GameFile2, sizeof profile.GameFile2, "GameFile2 is zero-terminated");
    FuzzRequire(static_cast<int32_t>(profile.Mode) == doc.ReadInt(kSetting, "Mode", -1), "Mode reads as stored");
    FuzzRequire(profile.MediaOption == doc.ReadInt(kSetting, "MediaOption", -1), "MediaOption reads as stored");
    for (int k = 0; k < kKeyCount; ++k)
        FuzzRequire(static_cast<uint8_t>(profile.KeyFlags[k]) ==
                        static_cast<uint8_t>(doc.ReadInt(kSetting, "key" + FormatInt(k), -1) & 0xFF),
                    "a key flag reads as stored");

    ProfileSet set;
    ClearProfileSet(set);
    FuzzRequire(LoadProfileSet(set, folder), "LoadProfileSet succeeds");
    FuzzRequire(set.CurrentProfile == doc.ReadInt(kSetting, "CurrentProfile", -1), "CurrentProfile reads as stored");
    for (const Profile& p : set.Profiles) {
        RequireTerminated(p.Name, sizeof p.Name, "a profile name is zero-terminated");
        RequireTerminated(p.GameFile0, sizeof p.GameFile0, "GameFile0 is zero-terminated");
    }
    return 0;
}
