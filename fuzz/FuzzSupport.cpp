#include "FuzzSupport.h"

#include "FileSystem.h"
#include "IniDocument.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

void FuzzFail(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

namespace {

std::string g_folder;

void RemoveFuzzFolder()
{
    std::error_code ec;
    if (!g_folder.empty())
        fs::remove_all(fs::path(g_folder), ec);
}

} // namespace

const std::string& FuzzProgramFolder()
{
    if (g_folder.empty()) {
        fs::path base = fs::temp_directory_path() / ("tolk-fuzz-" + std::to_string(getpid()));
        std::error_code ec;
        fs::remove_all(base, ec);
        fs::create_directories(base / "config", ec);
        FuzzRequire(!ec, "the fuzz program folder can be made");
        g_folder = base.string() + "/";
        std::atexit(RemoveFuzzFolder);
    }
    return g_folder;
}

void WriteFuzzFile(const std::string& storePath, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(NativePath(storePath).c_str(), "wb");
    FuzzRequire(f != nullptr, "a fuzz input file can be written");
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = std::fclose(f) == 0 && ok;
    FuzzRequire(ok, "a fuzz input file can be written");
}

size_t MostEntries(const IniDocument& doc, std::string_view section, int32_t count)
{
    size_t most = 0;
    for (std::string_view key : doc.KeysOf(section)) {
        if (key.empty() || key.size() > 10 ||
            !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        uint64_t index = std::stoull(std::string(key));
        if (index < static_cast<uint64_t>(count > 0 ? count : 0))
            most = std::max(most, static_cast<size_t>(index + 1));
    }
    return most;
}
