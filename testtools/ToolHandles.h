// The test tools own their handles and views with the framework's owners (UniqueHandle.h); this
// adds the one scope they need besides.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

// Ownership of a mutex from a successful wait until the owner goes.
class MutexLock {
public:
    explicit MutexLock(HANDLE mutex) : m_mutex(mutex) {}
    ~MutexLock() { ReleaseMutex(m_mutex); }
    MutexLock(const MutexLock&) = delete;
    MutexLock& operator=(const MutexLock&) = delete;

private:
    HANDLE m_mutex;
};
