#include "ScreenShot.h"

#include "Gdi.h"
#include "UniqueHandle.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(body.data(), body.size()));
}

// A zlib stream of stored (uncompressed) blocks: large files, but no compressor needed.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

void MakeFolders(const std::string& path)
{
    for (size_t at = path.find_first_of("\\/", 3); at != std::string::npos; at = path.find_first_of("\\/", at + 1))
        ::CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
}

} // namespace

ScreenCapture::ScreenCapture(const RECT& screenRect) : m_rect(screenRect)
{
    m_width = std::max(0, static_cast<int>(screenRect.right - screenRect.left));
    m_height = std::max(0, static_cast<int>(screenRect.bottom - screenRect.top));
    if (m_width == 0 || m_height == 0)
        return;
    const ClientDc screen(nullptr);
    const MemoryDc memory(screen.Get());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueGdiObject<HBITMAP> bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr)
        return;
    {
        const SelectScope select(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, m_width, m_height, screen.Get(), screenRect.left, screenRect.top, SRCCOPY);
    }
    ::GdiFlush();
    const auto* pixels = static_cast<const uint8_t*>(bits);
    m_pixels.resize(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    for (size_t i = 0; i < m_pixels.size(); ++i)
        m_pixels[i] = RGB(pixels[i * 4 + 2], pixels[i * 4 + 1], pixels[i * 4]);
}

COLORREF ScreenCapture::At(POINT screen) const
{
    const int x = screen.x - m_rect.left;
    const int y = screen.y - m_rect.top;
    if (m_pixels.empty() || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

int ScreenCapture::Count(const RECT& area, COLORREF colour, int tolerance) const
{
    auto within = [tolerance](int a, int b) { return a - b <= tolerance && b - a <= tolerance; };
    int count = 0;
    for (LONG y = std::max(area.top, m_rect.top); y < std::min(area.bottom, m_rect.bottom); ++y) {
        for (LONG x = std::max(area.left, m_rect.left); x < std::min(area.right, m_rect.right); ++x) {
            const COLORREF c = At(POINT{x, y});
            if (c != CLR_INVALID && within(GetRValue(c), GetRValue(colour)) &&
                within(GetGValue(c), GetGValue(colour)) && within(GetBValue(c), GetBValue(colour)))
                ++count;
        }
    }
    return count;
}

bool ScreenCapture::SavePng(const std::string& path) const
{
    if (m_pixels.empty())
        return false;
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(m_height) * (1 + static_cast<size_t>(m_width) * 3));
    for (int y = 0; y < m_height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < m_width; ++x) {
            const COLORREF c = m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
            raw.insert(raw.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    }
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(m_width));
    PutBigEndian(header, static_cast<uint32_t>(m_height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});

    MakeFolders(path);
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    return file && std::fwrite(png.data(), 1, png.size(), file.get()) == png.size();
}

bool SaveScreenPng(const RECT& rect, const std::string& path)
{
    return ScreenCapture(rect).SavePng(path);
}

std::string ScreenshotFolder()
{
    const std::string folder = TOLK_SCREENSHOTS;
    // Its parent (the build folder's "screenshots") first; both may exist already.
    const std::string parent = folder.substr(0, folder.find_last_of("\\/", folder.size() - 2) + 1);
    ::CreateDirectoryA(parent.c_str(), nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
