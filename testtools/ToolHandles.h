// Owners of the system objects the test tools use: each is released once, when its owner goes.
#pragma once

#include <windows.h>

// A kernel handle; null and INVALID_HANDLE_VALUE both mean "none".
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~UniqueHandle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle = nullptr;
};

// A mapped view of a file mapping.
class MappedView {
public:
    explicit MappedView(void* view) : m_view(view) {}
    ~MappedView()
    {
        if (m_view)
            UnmapViewOfFile(m_view);
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    void* Get() const { return m_view; }

private:
    void* m_view;
};

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
