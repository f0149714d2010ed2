// Scoped device contexts and object selections. Each releases what it acquired in the order the
// system needs: a selection is undone before its device context goes.
#pragma once

#include <windows.h>

#include <utility>

// BeginPaint/EndPaint for the paint handler.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_dc = ::BeginPaint(hwnd, &m_paint); }
    ~PaintDc() { ::EndPaint(m_hwnd, &m_paint); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return m_dc; }
    const PAINTSTRUCT& Paint() const { return m_paint; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_dc = nullptr;
};

// GetDC/ReleaseDC of a window's client area (of the screen for a null window).
class ClientDc {
public:
    explicit ClientDc(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetDC(hwnd)) {}
    ~ClientDc()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_hwnd, m_dc);
    }
    ClientDc(const ClientDc&) = delete;
    ClientDc& operator=(const ClientDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// GetWindowDC/ReleaseDC: the whole window, frame included.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(::GetWindowDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

// CreateCompatibleDC/DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_dc(::CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc()
    {
        if (m_dc != nullptr)
            ::DeleteDC(m_dc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

// SelectObject for a scope; a null object selects nothing.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : m_dc(dc)
    {
        if (dc != nullptr && object != nullptr)
            m_old = ::SelectObject(dc, object);
    }
    ~SelectScope()
    {
        if (m_old != nullptr)
            ::SelectObject(m_dc, m_old);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// SaveDC/RestoreDC: text colour, background mode and the like of a borrowed device context.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : m_dc(dc), m_saved(::SaveDC(dc)) {}
    ~SavedDcState()
    {
        if (m_saved != 0)
            ::RestoreDC(m_dc, m_saved);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC m_dc;
    int m_saved;
};
