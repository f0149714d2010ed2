// An owning pointer to a COM interface: one reference, released when the owner goes, is reset or
// is assigned another.
#pragma once

#include <utility>

template <class Interface>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { Reset(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            Reset(std::exchange(other.m_pointer, nullptr));
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* Get() const noexcept { return m_pointer; }
    Interface* operator->() const noexcept { return m_pointer; }
    explicit operator bool() const noexcept { return m_pointer != nullptr; }

    // Releases the held reference, then takes over the one pointer carries (no AddRef).
    void Reset(Interface* pointer = nullptr) noexcept
    {
        Interface* old = std::exchange(m_pointer, pointer);
        if (old != nullptr)
            old->Release();
    }
    // For the out parameter of a call that hands over a reference (QueryInterface,
    // CoCreateInstance); releases what was held first.
    void** PutVoid() noexcept
    {
        Reset();
        return reinterpret_cast<void**>(&m_pointer);
    }
    Interface** Put() noexcept
    {
        Reset();
        return &m_pointer;
    }

private:
    Interface* m_pointer = nullptr;
};
