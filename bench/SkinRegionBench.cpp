// Times building a window outline from its mask: the runs of an 800 by 600 mask with a rounded,
// wavy and jagged border and a grid of round holes, handed out in region blocks as the window side
// receives them. Prints the median and 99th percentile over the runs; nothing here passes or fails
// on time.

#include "MaskRegion.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kRuns = 200;
constexpr int kMargin = 24;
constexpr int kCornerRadius = 70;
constexpr int kHoleSpacing = 14;
constexpr int kHoleRadius = 4;

using Clock = std::chrono::steady_clock;

// Distance a point lies inside the rounded rectangle (negative outside).
double InsideDepth(int x, int y)
{
    double left = kMargin, top = kMargin, right = kWidth - kMargin, bottom = kHeight - kMargin;
    double cx = std::clamp<double>(x, left + kCornerRadius, right - kCornerRadius);
    double cy = std::clamp<double>(y, top + kCornerRadius, bottom - kCornerRadius);
    double inX = std::min(x - left, right - x);
    double inY = std::min(y - top, bottom - y);
    if (x >= left + kCornerRadius && x <= right - kCornerRadius)
        return inY;
    if (y >= top + kCornerRadius && y <= bottom - kCornerRadius)
        return inX;
    return kCornerRadius - std::hypot(x - cx, y - cy);
}

// White outside; a dark picture inside whose edge waves and has a saw-tooth, with round holes.
std::vector<uint8_t> MakeMask()
{
    std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            double edge = 6 * std::sin((x + y) / 9.0) + ((x * 7 + y * 13) % 5);
            int hx = x % kHoleSpacing - kHoleSpacing / 2;
            int hy = y % kHoleSpacing - kHoleSpacing / 2;
            bool hole = hx * hx + hy * hy <= kHoleRadius * kHoleRadius;
            bool inside = InsideDepth(x, y) > edge && !hole;
            uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
            uint8_t shade = static_cast<uint8_t>(20 + (x * 3 + y) % 200);
            p[0] = inside ? shade : 255;
            p[1] = inside ? static_cast<uint8_t>(255 - shade) : 255;
            p[2] = inside ? 40 : 255;
            p[3] = 0;
        }
    return pixels;
}

double Percentile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(std::ceil(q * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

} // namespace

int main()
{
    std::vector<uint8_t> mask = MakeMask();
    // The region data the window side fills from each block before handing it to the system.
    std::vector<RegionRect> regionData(kRegionBlockSize);
    std::vector<double> times;
    size_t runs = 0;
    size_t blocks = 0;
    RegionRect bounds{};
    for (int i = 0; i < kRuns; ++i) {
        blocks = 0;
        Clock::time_point start = Clock::now();
        runs = FindMaskRuns(
            mask.data(), kWidth, kHeight, static_cast<size_t>(kWidth) * 4, Rgb{255, 255, 255}, 0, kRegionBlockSize,
            [&](const RegionRect* rects, size_t count) {
                std::memcpy(regionData.data(), rects, count * sizeof(RegionRect));
                ++blocks;
            },
            &bounds);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::printf("mask region %dx%d: %zu runs in %zu blocks of at most %zu, bounds (%d,%d)-(%d,%d)\n", kWidth, kHeight,
                runs, blocks, kRegionBlockSize, bounds.left, bounds.top, bounds.right, bounds.bottom);
    std::printf("%d runs: median %.3f ms, p99 %.3f ms (goal < 5 ms)\n", kRuns, Percentile(times, 0.5),
                Percentile(times, 0.99));
    return 0;
}
