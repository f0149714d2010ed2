#include "CreateFilterDriver.h"

#include "PipeFilterDriver.h"
#include "WinFilterDriver.h"

#include <string>
#include <vector>

namespace {

constexpr const char kPipePrefix[] = "\\\\.\\pipe\\";

std::string EnvironmentValue(const char* name)
{
    const DWORD needed = GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0)
        return {};
    std::vector<char> buffer(needed);
    const DWORD length = GetEnvironmentVariableA(name, buffer.data(), needed);
    if (length == 0 || length >= needed)
        return {};
    return std::string(buffer.data(), length);
}

// Pipe names, the prefix included, are compared by the system without regard to case.
bool NamesPipe(const std::string& text)
{
    const size_t prefixLength = sizeof kPipePrefix - 1;
    return text.size() > prefixLength &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str(), static_cast<int>(prefixLength), kPipePrefix,
                          static_cast<int>(prefixLength)) == CSTR_EQUAL;
}

} // namespace

std::unique_ptr<FilterDriver> CreateFilterDriver()
{
    const std::string device = EnvironmentValue(kDeviceEnvironmentVariable);
    if (NamesPipe(device))
        return std::make_unique<PipeFilterDriver>(device);
    return std::make_unique<WinFilterDriver>();
}
