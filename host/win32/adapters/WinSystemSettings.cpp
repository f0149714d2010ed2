#include "WinSystemSettings.h"

#include "MediaKeys.h"
#include "UniqueHandle.h"
#include "WinApi.h"
#include "WinText.h"

#include <vector>

namespace {

constexpr size_t kTextBufferSize = 260;

HKEY RootKey(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::LocalMachine: break;
    }
    return HKEY_LOCAL_MACHINE;
}

} // namespace

std::optional<std::string> WinSystemSettings::ReadRegistryString(const std::string& path, const std::string& valueName)
{
    const RegistryPath where = SplitRegistryPath(path);
    const HKEY root = RootKey(where.root);
    HKEY rawKey = nullptr;
    if (RegOpenKeyExA(root, where.subkey.c_str(), 0, KEY_ALL_ACCESS, &rawKey) != ERROR_SUCCESS &&
        RegOpenKeyExA(root, where.subkey.c_str(), 0, KEY_READ, &rawKey) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey key(rawKey);
    char buffer[kTextBufferSize] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key.Get(), NullIfEmpty(valueName), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return std::nullopt;
    return BoundedText(buffer, sizeof buffer, size);
}

std::string WinSystemSettings::ExpandEnvironment(const std::string& text)
{
    std::vector<char> buffer(text.size() + kTextBufferSize);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (needed == 0)
            return text;
        if (needed <= buffer.size())
            return BoundedText(buffer.data(), buffer.size(), needed);
        // Too small: needed is the size including the terminating zero; the environment may grow
        // between the calls, hence the few tries.
        buffer.assign(needed, 0);
    }
    return text;
}
