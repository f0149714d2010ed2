#include "WinForegroundProcess.h"

#include "UniqueHandle.h"
#include "WinApi.h"

#include <psapi.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr DWORD kMaxProcessIds = 1024; // a 4096-byte list
constexpr DWORD kQueryAndRead = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr size_t kNameBufferSize = 260;

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

std::optional<std::string> WinForegroundProcess::ModuleBaseName()
{
    const HWND foreground = GetForegroundWindow();
    if (!foreground)
        return std::nullopt;
    DWORD pid = 0;
    GetWindowThreadProcessId(foreground, &pid);
    if (pid == 0 || !IsRunning(pid))
        return std::nullopt;
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
    const size_t limit = std::min<size_t>(length, sizeof name);
    const void* zero = std::memchr(name, 0, limit);
    return std::string(name, zero ? static_cast<const char*>(zero) - name : limit);
}
