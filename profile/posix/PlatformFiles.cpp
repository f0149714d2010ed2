#include "PlatformFiles.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string ExecutablePath()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return std::string();
    return std::string(buf, static_cast<size_t>(n));
}

bool MoveOver(const std::string& from, const std::string& to)
{
    if (std::rename(from.c_str(), to.c_str()) != 0)
        return false;
    // Make the rename itself durable.
    std::string folder = to.substr(0, to.find_last_of('/') == std::string::npos ? 0 : to.find_last_of('/') + 1);
    int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool FlushToDisk(std::FILE* file)
{
    return fsync(fileno(file)) == 0;
}

bool MakeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0777) == 0;
}

bool FolderExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(const std::string& path)
{
    return unlink(path.c_str()) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

unsigned long ProcessId()
{
    return static_cast<unsigned long>(getpid());
}

} // namespace platform
