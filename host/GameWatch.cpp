#include "GameWatch.h"

#include "Text.h"

#include <algorithm>

namespace {

// Module base names are read into 260-byte buffers.
constexpr size_t kMaxBaseName = 259;

} // namespace

std::string_view GameFileName(std::string_view storedPath)
{
    std::string_view path = Trim(storedPath);
    const size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos)
        return path.substr(separator + 1);
    if (path.size() >= 2 && path[1] == ':')
        return path.substr(2);
    return path;
}

std::optional<int> FindGameProfile(const std::string& baseName, const ProfileSet& set)
{
    std::string_view name(baseName);
    name = name.substr(0, std::min(name.find('\0'), kMaxBaseName));
    if (EqualNoCase(name, "OSD.exe"))
        return std::nullopt;
    for (int p = 0; p < kProfileCount; ++p) {
        const Profile& profile = set.Profiles[p];
        for (auto field : {&Profile::GameFile0, &Profile::GameFile1, &Profile::GameFile2}) {
            const std::string_view file = GameFileName(FieldText(profile.*field));
            if (!file.empty() && EqualNoCase(file, name))
                return p + 1;
        }
    }
    return std::nullopt;
}

void CheckForegroundGame(ForegroundProcess& foreground, const GuardedProfileSet& profiles,
                         const std::function<void(int)>& setCurrentProfile)
{
    const std::optional<std::string> baseName = foreground.ModuleBaseName();
    if (!baseName)
        return;
    struct Result {
        std::optional<int> match;
        int32_t current;
    };
    const Result result = profiles.With([&](const ProfileSet& set) {
        return Result{FindGameProfile(*baseName, set), set.CurrentProfile};
    });
    if (result.match && *result.match != result.current)
        setCurrentProfile(*result.match);
}
