#include "LineWnd.h"

#include "Gdi.h"

const MessageEntry CLineWnd::kMessageEntries[] = {
    OnWmCreate<&CLineWnd::OnCreate>(),
    OnMessage<WM_PAINT, &CLineWnd::OnPaint>(),
    OnMessage<WM_ERASEBKGND, &CLineWnd::OnEraseBkgnd>(),
};
const MessageTable CLineWnd::kMessages{&CWnd::kMessages, CLineWnd::kMessageEntries};

bool CLineWnd::Create(const RECT& rect, HWND parent, UINT id, DWORD style)
{
    return CreateEx(0, nullptr, "", WS_CHILD | style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

int CLineWnd::OnCreate(CREATESTRUCTA& create)
{
    return CWnd::OnCreate(create) == -1 ? -1 : 0;
}

bool CLineWnd::SetPictures(const char* picturePath, const char* maskPath)
{
    int width = 0;
    int height = 0;
    const bool picture = LoadSkinImage(picturePath, m_picture, width, height);
    LoadSkinImage(maskPath, m_mask, width, height);
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

LRESULT CLineWnd::OnPaint(WPARAM, LPARAM)
{
    PaintDc paint(m_hWnd);
    const SIZE size = BitmapSize(m_picture.Get());
    if (size.cx > 0) {
        MemoryDc source(paint.Get());
        SelectScope select(source.Get(), m_picture.Get());
        ::BitBlt(paint.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
    }
    return 0;
}

LRESULT CLineWnd::OnEraseBkgnd(WPARAM, LPARAM)
{
    return TRUE;
}
