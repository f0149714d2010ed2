#include "WinForegroundProcess.h"

#include "GameWatch.h"
#include "UniqueHandle.h"
#include "WinApi.h"
#include "WinText.h"

#include <psapi.h>

#include <algorithm>

namespace {

constexpr DWORD kMaxProcessIds = 1024; // a 4096-byte list
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr size_t kNameBufferSize = 260;
// Image paths may be longer than MAX_PATH; the base name of a longer one is still found.
constexpr DWORD kImagePathBufferSize = 1024;

bool IsRunning(DWORD pid)
{
    DWORD ids[kMaxProcessIds] = {};
    DWORD bytes = 0;
    if (!EnumProcesses(ids, sizeof ids, &bytes) || bytes < sizeof(DWORD))
        return false;
    const DWORD count = std::min<DWORD>(bytes / sizeof(DWORD), kMaxProcessIds);
    return std::find(ids, ids + count, pid) != ids + count;
}

} // namespace

std::optional<std::string> ProcessImageFileName(uint32_t pid)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process)
        return std::nullopt;
    char path[kImagePathBufferSize] = {};
    DWORD size = kImagePathBufferSize;
    if (!QueryFullProcessImageNameA(process.Get(), 0, path, &size) || size == 0)
        return std::nullopt;
    const std::string name(GameFileName(BoundedText(path, sizeof path, size)));
    if (name.empty())
        return std::nullopt;
    return name;
}

std::optional<std::string> ProcessFirstModuleName(uint32_t pid)
{
    UniqueHandle process(OpenProcess(kQueryAndRead, FALSE, pid));
    if (!process)
        return std::nullopt;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process.Get(), &module, sizeof module, &needed) || needed < sizeof module)
        return std::nullopt;
    char name[kNameBufferSize] = "unknown";
    const DWORD length = GetModuleBaseNameA(process.Get(), module, name, static_cast<DWORD>(sizeof name));
    if (length == 0)
        return std::nullopt;
    return BoundedText(name, sizeof name, length);
}

std::optional<std::string> WinForegroundProcess::ModuleBaseName()
{
    const HWND foreground = GetForegroundWindow();
    if (!foreground)
        return std::nullopt;
    DWORD pid = 0;
    GetWindowThreadProcessId(foreground, &pid);
    if (pid == 0 || !IsRunning(pid))
        return std::nullopt;
    if (std::optional<std::string> name = ProcessImageFileName(pid))
        return name;
    return ProcessFirstModuleName(pid);
}
