#include "SkinPicture.h"

#include "Gdi.h"

#include <ole2.h>
#include <olectl.h>

#include <algorithm>
#include <vector>

namespace {

// OLE is needed by OleLoadPicture; once per thread that loads pictures.
void EnsureOle()
{
    thread_local const HRESULT initialised = ::OleInitialize(nullptr);
    (void)initialised;
}

struct ComRelease {
    void operator()(IUnknown* p) const
    {
        if (p != nullptr)
            p->Release();
    }
};

} // namespace

BITMAPINFO TopDown32BitInfo(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool LoadSkinImage(const char* path, UniqueBitmap& target, int& width, int& height)
{
    width = 0;
    height = 0;
    target.Reset();
    UniqueHandle file(
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || size.QuadPart > 256 * 1024 * 1024)
        return false;
    const DWORD bytes = static_cast<DWORD>(size.QuadPart);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr)
        return false;
    void* data = ::GlobalLock(block);
    DWORD read = 0;
    const BOOL ok = data != nullptr && ::ReadFile(file.Get(), data, bytes, &read, nullptr) && read == bytes;
    if (data != nullptr)
        ::GlobalUnlock(block);
    if (!ok) {
        ::GlobalFree(block);
        return false;
    }
    EnsureOle();
    IStream* stream = nullptr;
    // The stream frees the block when it is released.
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream))) {
        ::GlobalFree(block);
        return false;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded =
        ::OleLoadPicture(stream, static_cast<LONG>(bytes), FALSE, IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || picture == nullptr)
        return false;
    short type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP && SUCCEEDED(picture->get_Handle(&handle))) {
        // The picture object owns its bitmap; a copy outlives it.
        HBITMAP own = static_cast<HBITMAP>(
            ::CopyImage(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), IMAGE_BITMAP, 0, 0, 0));
        target.Reset(own);
    }
    picture->Release();
    if (!target)
        return false;
    const SIZE dims = BitmapSize(target.Get());
    width = dims.cx;
    height = dims.cy;
    return true;
}

HRGN MakeRegionFromMask(HBITMAP mask, COLORREF key, BYTE tolerance)
{
    const SIZE size = BitmapSize(mask);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;

    // A 32-bit top-down copy, so that every pixel reads as blue, green, red, unused.
    BITMAPINFO info = TopDown32BitInfo(size.cx, size.cy);
    void* bits = nullptr;
    MemoryDc copyDc(nullptr);
    UniqueBitmap copy(::CreateDIBSection(copyDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy || bits == nullptr)
        return nullptr;
    {
        MemoryDc sourceDc(nullptr);
        SelectScope selectSource(sourceDc.Get(), mask);
        SelectScope selectCopy(copyDc.Get(), copy.Get());
        ::BitBlt(copyDc.Get(), 0, 0, size.cx, size.cy, sourceDc.Get(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();

    HRGN result = nullptr;
    std::vector<BYTE> request(sizeof(RGNDATAHEADER) + kRegionBlockSize * sizeof(RECT));
    const Rgb keyColour{GetRValue(key), GetGValue(key), GetBValue(key)};
    FindMaskRuns(static_cast<const uint8_t*>(bits), size.cx, size.cy, static_cast<size_t>(size.cx) * 4, keyColour,
                 tolerance, kRegionBlockSize, [&](const RegionRect* rects, size_t count) {
                     auto* data = reinterpret_cast<RGNDATA*>(request.data());
                     data->rdh.dwSize = sizeof(RGNDATAHEADER);
                     data->rdh.iType = RDH_RECTANGLES;
                     data->rdh.nCount = static_cast<DWORD>(count);
                     data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
                     RECT bounds{rects[0].left, rects[0].top, rects[0].right, rects[0].bottom};
                     auto* out = reinterpret_cast<RECT*>(data->Buffer);
                     for (size_t i = 0; i < count; ++i) {
                         out[i] = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
                         bounds.left = std::min(bounds.left, out[i].left);
                         bounds.top = std::min(bounds.top, out[i].top);
                         bounds.right = std::max(bounds.right, out[i].right);
                         bounds.bottom = std::max(bounds.bottom, out[i].bottom);
                     }
                     data->rdh.rcBound = bounds;
                     HRGN block = ::ExtCreateRegion(
                         nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT)), data);
                     if (block == nullptr)
                         return;
                     if (result == nullptr) {
                         result = block;
                     } else {
                         ::CombineRgn(result, result, block, RGN_OR);
                         ::DeleteObject(block);
                     }
                 });
    return result;
}

void CutStateBitmap(HDC dc, UniqueBitmap& target, HBITMAP source, int x, int y, int right, int bottom)
{
    if (source == nullptr)
        return;
    target.Reset();
    const int width = right - x;
    const int height = bottom - y;
    if (width <= 0 || height <= 0)
        return;
    target.Reset(::CreateCompatibleBitmap(dc, width, height));
    if (!target)
        return;
    MemoryDc sourceDc(dc);
    MemoryDc targetDc(dc);
    SelectScope selectSource(sourceDc.Get(), source);
    SelectScope selectTarget(targetDc.Get(), target.Get());
    ::StretchBlt(targetDc.Get(), 0, 0, width, height, sourceDc.Get(), x, y, width, height, SRCCOPY);
}
