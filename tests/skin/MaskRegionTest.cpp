#include "MaskRegion.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

constexpr Rgb kWhite{255, 255, 255};

// A 32-bit DIB section: rows of blue, green, red, unused; padding after each row is black.
class Mask {
public:
    Mask(int width, int height, int paddingBytes = 0)
        : m_width(width), m_stride(static_cast<size_t>(width) * 4 + static_cast<size_t>(paddingBytes)),
          m_bytes(m_stride * static_cast<size_t>(height), 0)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                Set(x, y, kWhite);
    }
    void Set(int x, int y, Rgb c, uint8_t unused = 0)
    {
        uint8_t* p = &m_bytes[static_cast<size_t>(y) * m_stride + static_cast<size_t>(x) * 4];
        p[0] = c.blue;
        p[1] = c.green;
        p[2] = c.red;
        p[3] = unused;
    }
    const uint8_t* Pixels() const { return m_bytes.data(); }
    size_t Stride() const { return m_stride; }
    int Height() const { return static_cast<int>(m_bytes.size() / m_stride); }
    std::vector<RegionRect> Runs(Rgb key = kWhite, uint8_t tolerance = 0) const
    {
        return MaskRuns(Pixels(), m_width, Height(), m_stride, key, tolerance);
    }

private:
    int m_width;
    size_t m_stride;
    std::vector<uint8_t> m_bytes;
};

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Cover(const RegionRect* rects, size_t count, PixelSet set = {})
{
    for (size_t i = 0; i < count; ++i)
        for (int y = rects[i].top; y < rects[i].bottom; ++y)
            for (int x = rects[i].left; x < rects[i].right; ++x)
                set.insert({x, y});
    return set;
}

bool Inside(const Mask& mask, int x, int y, Rgb key, uint8_t tolerance)
{
    const uint8_t* p = mask.Pixels() + static_cast<size_t>(y) * mask.Stride() + static_cast<size_t>(x) * 4;
    return MaskRuns(p, 1, 1, 4, key, tolerance).size() == 1;
}

TEST(MaskRuns, FollowTheOutlineInsideAWhiteBorder)
{
    // .......
    // ...#...
    // .##.##.   a hole at x = 3
    // ...#...
    Mask mask(7, 5);
    mask.Set(3, 1, {0, 0, 0});
    for (int x : {1, 2, 4, 5})
        mask.Set(x, 2, {10, 200, 30});
    mask.Set(3, 3, {254, 255, 255}); // not exactly white: inside
    std::vector<RegionRect> runs = mask.Runs();
    ASSERT_EQ(runs.size(), 4u);
    std::vector<std::vector<int>> got;
    for (const RegionRect& r : runs)
        got.push_back({r.left, r.top, r.right, r.bottom});
    EXPECT_EQ(got, (std::vector<std::vector<int>>{{3, 1, 4, 2}, {1, 2, 3, 3}, {4, 2, 6, 3}, {3, 3, 4, 4}}));

    RegionRect bounds{-1, -1, -1, -1};
    EXPECT_EQ(FindMaskRuns(mask.Pixels(), 7, 5, mask.Stride(), kWhite, 0, 0, nullptr, &bounds), 4u);
    EXPECT_EQ(std::vector<int>({bounds.left, bounds.top, bounds.right, bounds.bottom}), std::vector<int>({1, 1, 6, 4}));
}

TEST(MaskRuns, KeyAndToleranceApplyToEachChannelInBgrOrder)
{
    Mask mask(8, 1);
    mask.Set(0, 0, {255, 0, 0}, 0x77); // pure red, unused byte set
    mask.Set(1, 0, {0, 0, 255});       // pure blue
    mask.Set(2, 0, {210, 200, 200});   // all in [200, 210]
    mask.Set(3, 0, {211, 200, 200});   // red one above
    mask.Set(4, 0, {200, 199, 200});   // green one below
    mask.Set(5, 0, {255, 255, 255});
    mask.Set(6, 0, {249, 250, 250});
    mask.Set(7, 0, {3, 3, 3}); // what a wrapped upper bound 250 + 10 would take in
    EXPECT_FALSE(Inside(mask, 0, 0, {255, 0, 0}, 0)) << "the key colour is outside, unused byte ignored";
    EXPECT_TRUE(Inside(mask, 1, 0, {255, 0, 0}, 0)) << "red and blue are not swapped";
    EXPECT_FALSE(Inside(mask, 2, 0, {200, 200, 200}, 10));
    EXPECT_TRUE(Inside(mask, 3, 0, {200, 200, 200}, 10));
    EXPECT_TRUE(Inside(mask, 4, 0, {200, 200, 200}, 10));
    EXPECT_FALSE(Inside(mask, 5, 0, {250, 250, 250}, 10)) << "the upper bound stops at 255";
    EXPECT_TRUE(Inside(mask, 6, 0, {250, 250, 250}, 10));
    EXPECT_TRUE(Inside(mask, 7, 0, {250, 250, 250}, 10));
    EXPECT_FALSE(Inside(mask, 7, 0, {0, 0, 0}, 255)) << "tolerance 255 from black takes in every colour";
}

TEST(MaskRuns, BlocksOfAManyRunMaskCoverTheSamePixelsAsOneList)
{
    Mask mask(100, 100);
    PixelSet expected;
    for (int y = 0; y < 100; ++y)
        for (int x = (y % 2); x < 100; x += 2) {
            mask.Set(x, y, {0, 0, 0});
            expected.insert({x, y});
        }
    std::vector<RegionRect> all = mask.Runs();
    ASSERT_EQ(all.size(), 5000u);
    EXPECT_EQ(Cover(all.data(), all.size()), expected);

    for (size_t blockSize : {size_t{0}, kRegionBlockSize, size_t{7}}) {
        size_t limit = blockSize == 0 ? kRegionBlockSize : blockSize;
        std::vector<size_t> sizes;
        PixelSet covered;
        RegionRect bounds{};
        size_t total = FindMaskRuns(
            mask.Pixels(), 100, 100, mask.Stride(), kWhite, 0, blockSize,
            [&](const RegionRect* rects, size_t count) {
                sizes.push_back(count);
                covered = Cover(rects, count, std::move(covered));
            },
            &bounds);
        EXPECT_EQ(total, 5000u);
        EXPECT_EQ(covered, expected) << "block size " << blockSize;
        EXPECT_EQ(sizes.size(), (5000 + limit - 1) / limit);
        for (size_t n : sizes)
            EXPECT_TRUE(n >= 1 && n <= limit) << n;
        EXPECT_EQ(std::vector<int>({bounds.left, bounds.top, bounds.right, bounds.bottom}),
                  std::vector<int>({0, 0, 100, 100}));
    }
}

TEST(MaskRuns, EmptyOrInvalidMasksGiveNoRuns)
{
    Mask white(4, 3);
    Mask black(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            black.Set(x, y, {0, 0, 0});
    bool called = false;
    auto emit = [&](const RegionRect*, size_t) { called = true; };
    RegionRect bounds{1, 1, 1, 1};
    EXPECT_EQ(FindMaskRuns(white.Pixels(), 4, 3, 16, kWhite, 0, 0, emit, &bounds), 0u);
    EXPECT_EQ(bounds.left | bounds.top | bounds.right | bounds.bottom, 0);
    EXPECT_EQ(FindMaskRuns(nullptr, 4, 3, 16, kWhite, 0, 0, emit), 0u);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), 0, 3, 16, kWhite, 0, 0, emit), 0u);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), 4, 0, 16, kWhite, 0, 0, emit), 0u);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), -4, 3, 16, kWhite, 0, 0, emit), 0u);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), 4, -3, 16, kWhite, 0, 0, emit), 0u);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), 4, 3, 15, kWhite, 0, 0, emit), 0u) << "stride too short for a row";
    EXPECT_FALSE(called);
    EXPECT_EQ(FindMaskRuns(black.Pixels(), 4, 3, 16, kWhite, 0, 0, emit), 3u);
}

TEST(MaskRuns, RowPaddingBeyondTheWidthIsNeverRead)
{
    Mask mask(3, 2, 8); // black padding after each row
    mask.Set(1, 1, {0, 0, 0});
    std::vector<RegionRect> runs = mask.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(std::vector<int>({runs[0].left, runs[0].top, runs[0].right, runs[0].bottom}),
              std::vector<int>({1, 1, 2, 2}));
}

} // namespace
