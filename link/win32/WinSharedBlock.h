// The shared memory block through which the host and the configuration program keep one view of
// the profile set: a named page-file mapping holding exactly one ProfileSet, and a named mutex that
// guards every whole-block copy into or out of it.
#pragma once

#include "SharedBlock.h"
#include "UniqueHandle.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Names of the two objects. Tests pass their own so that they never meet a running program.
struct SharedBlockNames {
    const char* lock = kSharedBlockLockName;
    const char* mapping = kSharedBlockMappingName;
};

// Why OpenExisting gave nothing.
enum class SharedBlockOpenError {
    None,
    NotRunning,   // the lock or the mapping does not exist (or may not be opened): no host
    CannotMapView // the mapping exists but could not be mapped
};

class WinSharedBlock final : public SharedBlock {
public:
    static constexpr size_t kSize = kSharedBlockSize;

    // The host's side: creates the lock (not owned) and the mapping, readable and writable only by
    // the current user and the system. When they already exist (a configuration program of an
    // earlier run still holds them) they are opened instead and OpenedExisting() is true; the host
    // then runs with them. Nothing when they can neither be created nor opened.
    static std::unique_ptr<WinSharedBlock> CreateForHost(const SharedBlockNames& names = {});
    // The configuration program's side: opens what the running host created.
    static std::unique_ptr<WinSharedBlock> OpenExisting(const SharedBlockNames& names = {},
                                                        SharedBlockOpenError* error = nullptr);

    // True when CreateForHost found the lock or the mapping already there.
    bool OpenedExisting() const { return m_openedExisting; }

    // Each waits for the lock (without limit unless LimitLockWait set one) and copies the whole block
    // (Read, of the base, makes what ReadRaw copied safe to use).
    // False without copying when the wait fails, including when the lock's previous owner ended
    // without releasing it (the block may then be half-written); the lock is usable again afterwards.
    bool ReadRaw(ProfileSet& destination) override;
    bool Write(const ProfileSet& source) override;

    // From now on a copy gives up (false, nothing copied) when the lock is not free within
    // milliseconds. The programs wait without limit; a tool that must not hang on a stuck lock sets
    // one.
    void LimitLockWait(uint32_t milliseconds) { m_lockWaitMs = milliseconds; }

private:
    WinSharedBlock(UniqueHandle lock, UniqueHandle mapping, UniqueView view, bool openedExisting);
    bool Lock();

    UniqueHandle m_lock;
    UniqueHandle m_mapping;
    UniqueView m_view;
    bool m_openedExisting;
    DWORD m_lockWaitMs = INFINITE;
};
