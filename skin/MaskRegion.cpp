#include "MaskRegion.h"

#include <algorithm>

namespace {

// Bytes of one pixel and the offsets of its colours in a 32-bit DIB section.
constexpr size_t kPixelBytes = 4;
constexpr size_t kBlue = 0;
constexpr size_t kGreen = 1;
constexpr size_t kRed = 2;

// The key range key..key+tolerance of one channel. The sum is never formed, so it cannot wrap
// below 255; a channel value above 255 does not exist, which caps the range there.
struct ChannelRange {
    unsigned key;
    unsigned tolerance;

    ChannelRange(uint8_t k, uint8_t t) : key(k), tolerance(t) {}
    // Below key the difference wraps to a huge unsigned value, so one compare tests both ends.
    bool Contains(uint8_t value) const { return static_cast<unsigned>(value) - key <= tolerance; }
};

} // namespace

size_t FindMaskRuns(const uint8_t* pixels, int width, int height, size_t strideBytes, Rgb key, uint8_t tolerance,
                    size_t blockSize, const std::function<void(const RegionRect* rects, size_t count)>& emitBlock,
                    RegionRect* bounds)
{
    if (bounds)
        *bounds = RegionRect{0, 0, 0, 0};
    if (!pixels || width <= 0 || height <= 0 || strideBytes < kPixelBytes * static_cast<size_t>(width))
        return 0;
    if (blockSize == 0)
        blockSize = kRegionBlockSize;

    const ChannelRange red(key.red, tolerance);
    const ChannelRange green(key.green, tolerance);
    const ChannelRange blue(key.blue, tolerance);
    auto isOutside = [&](const uint8_t* p) {
        return red.Contains(p[kRed]) && green.Contains(p[kGreen]) && blue.Contains(p[kBlue]);
    };

    std::vector<RegionRect> block;
    block.reserve(std::min<size_t>(blockSize, kRegionBlockSize));
    size_t total = 0;
    RegionRect box{0, 0, 0, 0};
    auto flush = [&] {
        if (block.empty())
            return;
        if (emitBlock)
            emitBlock(block.data(), block.size());
        block.clear();
    };

    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * strideBytes;
        int x = 0;
        while (x < width) {
            while (x < width && isOutside(row + static_cast<size_t>(x) * kPixelBytes))
                ++x;
            if (x == width)
                break;
            int start = x;
            while (x < width && !isOutside(row + static_cast<size_t>(x) * kPixelBytes))
                ++x;
            RegionRect run{start, y, x, y + 1};
            if (total == 0) {
                box = run;
            } else {
                box.left = std::min(box.left, run.left);
                box.right = std::max(box.right, run.right);
                box.bottom = run.bottom; // rows only grow
            }
            ++total;
            block.push_back(run);
            if (block.size() >= blockSize)
                flush();
        }
    }
    flush();
    if (bounds)
        *bounds = box;
    return total;
}

std::vector<RegionRect> MaskRuns(const uint8_t* pixels, int width, int height, size_t strideBytes, Rgb key,
                                 uint8_t tolerance)
{
    std::vector<RegionRect> runs;
    FindMaskRuns(pixels, width, height, strideBytes, key, tolerance, kRegionBlockSize,
                 [&](const RegionRect* rects, size_t count) { runs.insert(runs.end(), rects, rects + count); });
    return runs;
}
