#include "FileSystem.h"

#include "PlatformFiles.h"

#include <atomic>
#include <cstdio>

std::string NativePath(std::string_view path)
{
    std::string out(path);
    if (platform::kSeparator == '/')
        for (char& c : out)
            if (c == '\\')
                c = '/';
    return out;
}

std::string GetProgramFolder()
{
    std::string exe = platform::ExecutablePath();
    size_t cut = exe.find_last_of(platform::kSeparator == '/' ? "/" : "\\/:");
    if (cut == std::string::npos)
        return std::string();
    return exe.substr(0, cut + 1);
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::string p = NativePath(path);
    if (platform::FolderExists(p))
        return std::nullopt;
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string data;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return data;
}

bool CanOpenForReading(const std::string& path)
{
    std::string p = NativePath(path);
    if (platform::FolderExists(p))
        return false;
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

std::recursive_mutex& DataFileWriteLock()
{
    static std::recursive_mutex lock;
    return lock;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes)
{
    std::lock_guard<std::recursive_mutex> lock(DataFileWriteLock());
    static std::atomic<unsigned> counter{0};
    std::string target = NativePath(path);
    std::string temp =
        target + "." + std::to_string(platform::ProcessId()) + "." + std::to_string(counter.fetch_add(1)) + ".tmp";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    ok = platform::FlushToDisk(f) && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok)
        ok = platform::MoveOver(temp, target);
    if (!ok)
        platform::RemoveFile(temp);
    return ok;
}

bool DeleteFileAt(const std::string& path)
{
    std::string p = NativePath(path);
    return platform::RemoveFile(p) || !platform::FileExists(p);
}

bool CopyFileOver(const std::string& from, const std::string& to)
{
    std::optional<std::string> data = ReadWholeFile(from);
    return data && WriteFileAtomic(to, *data);
}

bool EnsureFolder(const std::string& path)
{
    std::string p = NativePath(path);
    while (p.size() > 1 && (p.back() == '/' || p.back() == '\\'))
        p.pop_back();
    return platform::FolderExists(p) || platform::MakeFolder(p) || platform::FolderExists(p);
}

std::string FileTitle(std::string_view path)
{
    size_t slash = path.find_last_of("\\/:");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}
