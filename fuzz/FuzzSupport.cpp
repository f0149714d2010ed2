#include "FuzzSupport.h"

#include "FileSystem.h"

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

size_t LineCount(std::string_view bytes)
{
    if (bytes.empty())
        return 0;
    size_t breaks = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    return bytes.back() == '\n' ? breaks : breaks + 1;
}
