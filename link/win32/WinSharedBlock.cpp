#include "WinSharedBlock.h"

#include "Log.h"

#include <sddl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A security descriptor (LocalFree'd) whose DACL grants all access to the system and to the user
// this process runs as, and to no one else.
UniqueLocalMemory CurrentUserOnlyDescriptor()
{
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken))
        return {};
    UniqueHandle token(rawToken);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    if (size < sizeof(TOKEN_USER))
        return {};
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return {};
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    LPSTR rawSidText = nullptr;
    if (!ConvertSidToStringSidA(user->User.Sid, &rawSidText))
        return {};
    UniqueLocalMemory sidText(rawSidText);
    // Protected (not inheriting entries from a parent), generic all for SYSTEM and the user.
    const std::string sddl = std::string("D:P(A;;GA;;;SY)(A;;GA;;;") + rawSidText + ")";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return {};
    return UniqueLocalMemory(descriptor);
}

UniqueView MapWholeBlock(HANDLE mapping, DWORD access)
{
    // An explicit size: a mapping of the same name but smaller than a ProfileSet fails here instead
    // of being read past its end.
    return UniqueView(MapViewOfFile(mapping, access, 0, 0, WinSharedBlock::kSize));
}

} // namespace

WinSharedBlock::WinSharedBlock(UniqueHandle lock, UniqueHandle mapping, UniqueView view, bool openedExisting)
    : m_lock(std::move(lock)), m_mapping(std::move(mapping)), m_view(std::move(view)), m_openedExisting(openedExisting)
{
}

std::unique_ptr<WinSharedBlock> WinSharedBlock::CreateForHost(const SharedBlockNames& names)
{
    UniqueLocalMemory descriptor = CurrentUserOnlyDescriptor();
    if (!descriptor) {
        LogDebug("Shared block: no security descriptor (error %lu)\n", GetLastError());
        return nullptr;
    }
    // Not inheritable: a program the host starts must not keep the objects alive after the host.
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), descriptor.Get(), FALSE};

    SetLastError(ERROR_SUCCESS);
    UniqueHandle lock(CreateMutexA(&security, FALSE, names.lock));
    if (!lock) {
        LogDebug("Shared block: lock not created (error %lu)\n", GetLastError());
        return nullptr;
    }
    bool existed = GetLastError() == ERROR_ALREADY_EXISTS;

    SetLastError(ERROR_SUCCESS);
    UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, &security, PAGE_READWRITE, 0,
                                            static_cast<DWORD>(kSize), names.mapping));
    if (!mapping) {
        LogDebug("Shared block: mapping not created (error %lu)\n", GetLastError());
        return nullptr;
    }
    existed = existed || GetLastError() == ERROR_ALREADY_EXISTS;

    UniqueView view = MapWholeBlock(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE);
    if (!view) {
        LogDebug("Shared block: view not mapped (error %lu)\n", GetLastError());
        return nullptr;
    }
    if (existed)
        LogDebug("Shared block: opened the objects of an earlier run\n");
    return std::unique_ptr<WinSharedBlock>(
        new WinSharedBlock(std::move(lock), std::move(mapping), std::move(view), existed));
}

std::unique_ptr<WinSharedBlock> WinSharedBlock::OpenExisting(const SharedBlockNames& names, SharedBlockOpenError* error)
{
    auto fail = [error](SharedBlockOpenError why) {
        if (error)
            *error = why;
        return nullptr;
    };
    UniqueHandle lock(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, names.lock));
    if (!lock)
        return fail(SharedBlockOpenError::NotRunning);
    UniqueHandle mapping(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, names.mapping));
    if (!mapping)
        return fail(SharedBlockOpenError::NotRunning);
    UniqueView view = MapWholeBlock(mapping.Get(), FILE_MAP_ALL_ACCESS);
    if (!view)
        return fail(SharedBlockOpenError::CannotMapView);
    if (error)
        *error = SharedBlockOpenError::None;
    return std::unique_ptr<WinSharedBlock>(
        new WinSharedBlock(std::move(lock), std::move(mapping), std::move(view), false));
}

bool WinSharedBlock::Lock()
{
    const DWORD result = WaitForSingleObject(m_lock.Get(), m_lockWaitMs);
    if (result == WAIT_OBJECT_0)
        return true;
    if (result == WAIT_ABANDONED) {
        // The wait made this thread the owner. Keeping it would block the other program forever.
        ReleaseMutex(m_lock.Get());
        LogDebug("Shared block: the lock was abandoned by its owner\n");
    } else {
        LogDebug("Shared block: lock wait failed (result %lu, error %lu)\n", result, GetLastError());
    }
    return false;
}

bool WinSharedBlock::ReadRaw(ProfileSet& destination)
{
    if (!Lock())
        return false;
    std::memcpy(&destination, m_view.Get(), kSize);
    ReleaseMutex(m_lock.Get());
    return true;
}

bool WinSharedBlock::Write(const ProfileSet& source)
{
    if (!Lock())
        return false;
    std::memcpy(m_view.Get(), &source, kSize);
    ReleaseMutex(m_lock.Get());
    return true;
}
