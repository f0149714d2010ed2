#include "ShellAddressOpener.h"

#include "Log.h"

#include <windows.h>
#include <shellapi.h>

bool ShellAddressOpener::OpenAddress(const std::string& address)
{
    if (address.empty())
        return false;
    // ShellExecute reports success as a value above 32.
    const auto result =
        reinterpret_cast<INT_PTR>(::ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
        return true;
    LogDebug("Page %s not opened: %d", address.c_str(), static_cast<int>(result));
    return false;
}

AddressOpener& DefaultAddressOpener()
{
    static ShellAddressOpener opener;
    return opener;
}
