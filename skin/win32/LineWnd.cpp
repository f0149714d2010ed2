#include "LineWnd.h"

#include "Gdi.h"

MessageSpan CLineWnd::MessageEntries()
{
    static constexpr MessageEntry kEntries[] = {
        OnWmPaint<&CLineWnd::OnPaint>(),
        OnWmEraseBkgnd<&CLineWnd::OnEraseBkgnd>(),
    };
    return kEntries;
}

bool CLineWnd::Create(const RECT& rect, HWND parent, UINT id, DWORD style)
{
    return CreateChild(nullptr, rect, parent, style, id);
}

bool CLineWnd::SetPictures(const char* picturePath, const char* maskPath)
{
    int width = 0;
    int height = 0;
    const bool picture = LoadSkinImage(picturePath, m_picture, width, height);
    LoadSkinImage(maskPath, m_mask, width, height);
    return ApplyMask(picture);
}

bool CLineWnd::SetPictures(const std::string& programFolder, const char* pictureName, const char* maskName,
                           const SkinScaleChoice& scale)
{
    const bool picture = LoadSkinPicture(programFolder, pictureName, scale, m_picture);
    LoadSkinPicture(programFolder, maskName, scale, m_mask, true);
    return ApplyMask(picture);
}

bool CLineWnd::ApplyMask(bool picture)
{
    HRGN region = MakeRegionFromMask(m_mask.Get(), RGB(255, 255, 255), 0);
    if (region != nullptr && m_hWnd != nullptr) {
        // The system owns the region from here on.
        if (!::SetWindowRgn(m_hWnd, region, TRUE))
            ::DeleteObject(region);
    } else if (region != nullptr) {
        ::DeleteObject(region);
    }
    Invalidate(false);
    return picture;
}

void CLineWnd::OnPaint(const PaintDc& paint)
{
    const SIZE size = BitmapSize(m_picture.Get());
    if (size.cx > 0) {
        MemoryDc source(paint.Get());
        SelectScope select(source.Get(), m_picture.Get());
        ::BitBlt(paint.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
}

bool CLineWnd::OnEraseBkgnd(HDC)
{
    return true;
}
