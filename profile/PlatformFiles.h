// The few file operations whose form differs between Windows and POSIX. Each platform folder
// (posix/, win32/) supplies them; the rest of the store is portable.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Full path of the running executable, in the platform's form; empty on failure.
std::string ExecutablePath();
// Moves from over to, replacing to; the move reaches the disk before the call returns.
bool MoveOver(const std::string& from, const std::string& to);
// Flushes an open file's data to the disk.
bool FlushToDisk(std::FILE* file);
bool MakeFolder(const std::string& path);
bool FolderExists(const std::string& path);
bool RemoveFile(const std::string& path);
bool FileExists(const std::string& path);
unsigned long ProcessId();
// The character that separates folders in native paths.
constexpr char kSeparator =
#ifdef _WIN32
    '\\';
#else
    '/';
#endif

} // namespace platform
