#include "PlatformFiles.h"

#include <io.h>
#include <windows.h>

namespace platform {

std::string ExecutablePath()
{
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return std::string();
    return std::string(buf, n);
}

bool MoveOver(const std::string& from, const std::string& to)
{
    // The other program, a virus scanner or an indexer may hold the target open for a moment; the
    // replacement is retried for about half a second before the write counts as failed.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION)
            return false;
        Sleep(10);
    }
    return false;
}

bool FlushToDisk(std::FILE* file)
{
    return _commit(_fileno(file)) == 0;
}

bool MakeFolder(const std::string& path)
{
    return CreateDirectoryA(path.c_str(), nullptr) != 0;
}

bool FolderExists(const std::string& path)
{
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

unsigned long ProcessId()
{
    return GetCurrentProcessId();
}

} // namespace platform
