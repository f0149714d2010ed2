// Scoped device contexts and object selections, the fonts of the controls and the back buffer of
// a paint. Each releases what it acquired in the order the system needs: a selection is undone
// before its device context goes.
#pragma once

#include "UniqueHandle.h"

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

// A font of the controls, owned by the caller: height and average character width in logical
// units (0: the face's own width), weight (FW_NORMAL 400, FW_BOLD 700), face and pitch and family.
// Every other setting is the system's default. A control makes its fonts once, not in its paint.
inline UniqueGdiObject<HFONT> MakeFont(int height, int width, int weight, const char* face = "Arial",
                                       BYTE pitchAndFamily = DEFAULT_PITCH)
{
    return UniqueGdiObject<HFONT>(::CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                                pitchAndFamily, face));
}

// The same font for a display scaling: height and width (in 100 % pixels) scaled by percent
// (skin/DpiScale.h gives a window's percent), rounded to the nearest.
inline UniqueGdiObject<HFONT> MakeFontAt(int percent, int height, int width, int weight, const char* face = "Arial",
                                         BYTE pitchAndFamily = DEFAULT_PITCH)
{
    return MakeFont(::MulDiv(height, percent, 100), ::MulDiv(width, percent, 100), weight, face, pitchAndFamily);
}

// A back buffer for a paint without flicker: a memory device context compatible with the target
// and a bitmap the size of the window's client area selected into it. Draw into Get(); the
// destructor copies the whole buffer to the target at (0, 0) in one blit. Check it before drawing:
// a window without area (or a failed allocation) gets no buffer and nothing is copied.
class BackBuffer {
public:
    BackBuffer(HWND window, HDC target) : m_target(target), m_dc(target)
    {
        ::GetClientRect(window, &m_client);
        m_width = m_client.right - m_client.left;
        m_height = m_client.bottom - m_client.top;
        if (m_width <= 0 || m_height <= 0 || m_dc.Get() == nullptr)
            return;
        m_bitmap.Reset(::CreateCompatibleBitmap(target, m_width, m_height));
        if (m_bitmap)
            m_old = ::SelectObject(m_dc.Get(), m_bitmap.Get());
    }
    ~BackBuffer()
    {
        if (m_old == nullptr)
            return;
        ::BitBlt(m_target, 0, 0, m_width, m_height, m_dc.Get(), 0, 0, SRCCOPY);
        ::SelectObject(m_dc.Get(), m_old);
    }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    explicit operator bool() const { return m_old != nullptr; }
    HDC Get() const { return m_dc.Get(); }
    // The window's client area, which the buffer covers.
    const RECT& Client() const { return m_client; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    HDC m_target;
    RECT m_client{};
    int m_width = 0;
    int m_height = 0;
    MemoryDc m_dc;
    UniqueGdiObject<HBITMAP> m_bitmap;
    HGDIOBJ m_old = nullptr;
};
