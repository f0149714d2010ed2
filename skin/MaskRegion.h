// The outline of a skinned window from its mask picture: the runs of pixels that are not the key
// colour, row by row. The Win32 side turns the runs into a region in blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

struct RegionRect {
    int32_t left;
    int32_t top;
    int32_t right;  // exclusive
    int32_t bottom; // exclusive
};

// A colour as red, green, blue.
struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// At most this many rectangles are handed to the system in one region request.
constexpr size_t kRegionBlockSize = 2000;

// pixels: height rows of width 32-bit pixels, top row first, each as the bytes blue, green, red,
// unused (a 32-bit DIB section); strideBytes is the distance between rows (>= 4 * width).
// A pixel is outside when each of its red, green and blue lies in [key, min(key + tolerance, 255)].
// Every run of inside pixels x0..x1 (exclusive) of row y gives the rectangle (x0, y, x1, y + 1).
// emitBlock receives the rectangles in row order, in blocks of at most blockSize (blockSize 0 is
// taken as kRegionBlockSize); bounds gets the bounding box (all zero when there is no run).
// Returns the number of rectangles. Non-positive sizes, no pixels or a stride below 4 * width give
// no runs.
size_t FindMaskRuns(const uint8_t* pixels, int width, int height, size_t strideBytes, Rgb key, uint8_t tolerance,
                    size_t blockSize, const std::function<void(const RegionRect* rects, size_t count)>& emitBlock,
                    RegionRect* bounds = nullptr);

// All runs in one list (tests and tools).
std::vector<RegionRect> MaskRuns(const uint8_t* pixels, int width, int height, size_t strideBytes, Rgb key,
                                 uint8_t tolerance);
