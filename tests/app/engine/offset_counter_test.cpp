#include "app/engine/offset_counter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "app/engine/box_counter.h"
#include "app/engine/offset_counts_of_sizes.h"
#include "app/engine/pixel_mask.h"
#include "tests/support/random_mask.h"

namespace {

long long FloorDiv(long long a, long long b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Every offset on its own: mark the box of each set pixel, count the marked boxes.
TOffsetCounts SlowCounts(const TPixelMask& mask, int d)
{
    const int columns = mask.Width() / d + 2, rows = mask.Height() / d + 2;
    TOffsetCounts counts{0, UINT64_MAX, 0, 0.0};
    uint64_t total = 0;
    for (int oy = 0; oy < d; ++oy)
        for (int ox = 0; ox < d; ++ox) {
            std::vector<char> held(static_cast<std::size_t>(columns) * rows, 0);
            uint64_t boxes = 0;
            for (int y = 0; y < mask.Height(); ++y)
                for (int x = 0; x < mask.Width(); ++x)
                    if (mask.Test(x, y)) {
                        char& box = held[static_cast<std::size_t>((FloorDiv(y - oy, d) + 1) * columns +
                                                                  FloorDiv(x - ox, d) + 1)];
                        boxes += box == 0;
                        box = 1;
                    }
            if (ox == 0 && oy == 0)
                counts.TopLeft = boxes;
            counts.Min = std::min(counts.Min, boxes);
            counts.Max = std::max(counts.Max, boxes);
            total += boxes;
        }
    counts.Mean = static_cast<double>(total) / (static_cast<double>(d) * d);
    return counts;
}

TEST(OffsetCounter, AgreesWithEveryOffsetCountedOnItsOwn)
{
    struct TCase { int Width, Height; std::vector<int> Sizes; };
    const std::vector<int> smallSizes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 13, 17, 20};
    const TCase cases[] = {
        {1, 1, {1, 2, 3, 7}}, {1, 9, smallSizes}, {7, 1, smallSizes}, {13, 11, smallSizes}, {5, 3, smallSizes},
        {37, 53, {1, 2, 3, 5, 8, 13, 30, 37, 53, 61}}, {67, 29, {1, 4, 63, 64, 65, 70}},
    };
    unsigned seed = 11;
    for (const TCase& c : cases)
        for (const double density : {0.005, 0.1, 0.6}) {
            const TPixelMask mask = RandomMask(c.Width, c.Height, density, ++seed);
            TOffsetCounter counter(mask);
            TBoxCounter topLeft(mask);
            const std::vector<TOffsetCounts> listed = CountOverOffsets(mask, c.Sizes);
            for (std::size_t i = 0; i < c.Sizes.size(); ++i) {
                const int d = c.Sizes[i];
                const TOffsetCounts fast = counter.Count(d), slow = SlowCounts(mask, d);
                SCOPED_TRACE(::testing::Message() << c.Width << " x " << c.Height << ", density " << density
                                                  << ", d = " << d);
                EXPECT_EQ(fast.TopLeft, slow.TopLeft);
                EXPECT_EQ(fast.TopLeft, topLeft.Count(d));
                EXPECT_EQ(fast.Min, slow.Min);
                EXPECT_EQ(fast.Max, slow.Max);
                EXPECT_DOUBLE_EQ(fast.Mean, slow.Mean);
                EXPECT_EQ(listed[i].TopLeft, slow.TopLeft);
                EXPECT_EQ(listed[i].Min, slow.Min);
                EXPECT_EQ(listed[i].Max, slow.Max);
                EXPECT_DOUBLE_EQ(listed[i].Mean, slow.Mean);
            }
        }
}

bool InCarpet(int x, int y)
{
    for (; x > 0 || y > 0; x /= 3, y /= 3)
        if (x % 3 == 1 && y % 3 == 1)
            return false;
    return true;
}

TPixelMask Carpet(int side, int left, int top, int width, int height)
{
    TPixelMask mask(width, height);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (InCarpet(x, y))
                mask.Set(left + x, top + y);
    return mask;
}

// The carpet of side 3^6 needs 8^(6-j) boxes of side 3^j wherever it lies, and no
// placement does with fewer; large enough to be shared among threads.
TEST(OffsetCounter, CarpetKeepsItsMinimumWhereverItLies)
{
    const int side = 729;
    const std::vector<int> sizes = {1, 3, 9, 27, 81, 243, 729};
    std::mt19937 random(5);
    std::uniform_int_distribution<int> margin(1, 200);
    const std::vector<TOffsetCounts> flush = CountOverOffsets(Carpet(side, 0, 0, side, side), sizes);
    for (int shift = 0; shift < 2; ++shift) {
        const int left = margin(random), top = margin(random);
        const std::vector<TOffsetCounts> shifted =
            CountOverOffsets(Carpet(side, left, top, side + left + margin(random), side + top + 7), sizes);
        uint64_t expected = 1;
        for (std::size_t j = sizes.size(); j-- > 0; expected *= 8) {
            SCOPED_TRACE(::testing::Message() << "margins " << left << ", " << top << ", d = " << sizes[j]);
            EXPECT_EQ(flush[j].Min, expected);
            EXPECT_EQ(flush[j].TopLeft, expected);
            EXPECT_EQ(shifted[j].Min, expected);
            EXPECT_GE(shifted[j].TopLeft, expected);
        }
    }
}

// The counter grows its boxes from the size before; a smaller size, a repeated one
// or a jump far past the last one must give what a fresh counter gives.
TEST(OffsetCounter, SizesInAnyOrderGiveTheSameCounts)
{
    const TPixelMask mask = RandomMask(71, 45, 0.03, 4);
    TOffsetCounter reused(mask);
    for (const int d : {5, 2, 2, 40, 3, 130, 64, 65, 1, 17}) {
        const TOffsetCounts again = reused.Count(d), fresh = TOffsetCounter(mask).Count(d);
        EXPECT_EQ(again.Min, fresh.Min) << "d = " << d;
        EXPECT_EQ(again.Max, fresh.Max) << "d = " << d;
        EXPECT_EQ(again.TopLeft, fresh.TopLeft) << "d = " << d;
        EXPECT_DOUBLE_EQ(again.Mean, fresh.Mean) << "d = " << d;
    }
    const std::vector<int> shuffled = {9, 1, 30, 4};
    const std::vector<TOffsetCounts> listed = CountOverOffsets(mask, shuffled);
    for (std::size_t i = 0; i < shuffled.size(); ++i)
        EXPECT_EQ(listed[i].Max, TOffsetCounter(mask).Count(shuffled[i]).Max) << "d = " << shuffled[i];
}

TEST(OffsetCounter, EmptyPicturesCountNothingAndSizesBelowOneAreRefused)
{
    const TPixelMask blank(40, 9), none(0, 0);
    EXPECT_EQ(TOffsetCounter(blank).Count(6).Max, 0u);
    EXPECT_EQ(TOffsetCounter(none).Count(6).Max, 0u);
    EXPECT_THROW(TOffsetCounter(blank).Count(0), std::exception);
    EXPECT_THROW(CountOverOffsets(blank, {3, -1}), std::exception);
}

}  // namespace
