#include "app/engine/luminance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

// 0.299 R + 0.587 G + 0.114 B rounded half to even, through the floating-point
// division (exact at the halves, far enough from them elsewhere).
int WeightedSum(TArgb pixel)
{
    return 299 * static_cast<int>((pixel >> 16) & 0xFF) + 587 * static_cast<int>((pixel >> 8) & 0xFF) +
           114 * static_cast<int>(pixel & 0xFF);
}

int OracleLuminance(TArgb pixel)
{
    return static_cast<int>(std::nearbyint(WeightedSum(pixel) / 1000.0));
}

bool Bit(const std::vector<uint64_t>& mask, std::size_t x)
{
    return (mask[x / 64] >> (x % 64)) & 1;
}

}  // namespace

TEST(Luminance, EveryColourRoundsItsWeightedSumHalfToEven)
{
    for (TArgb rgb = 0; rgb < 0x1000000; ++rgb)
        ASSERT_EQ(Luminance(rgb), OracleLuminance(rgb)) << std::hex << rgb;
    EXPECT_EQ(Luminance(0xFFFFFFFF), 255);
}

TEST(Luminance, DarkAndLightSplitTheOpaquePixelsAndTheHistogramCountsThem)
{
    // Colours lying exactly halfway between two luminances test the rounding at the level.
    std::vector<TArgb> halves;
    for (TArgb rgb = 0; rgb < 0x1000000; rgb += 7)
        if (WeightedSum(rgb) % 1000 == 500)
            halves.push_back(rgb);
    std::mt19937 random(17);
    for (int trial = 0; trial < 400; ++trial) {
        const std::size_t width = 1 + random() % 300;
        const TAlpha alpha = trial % 2 ? TAlpha::Stored : TAlpha::Unused;
        std::vector<TArgb> row(width);
        for (TArgb& pixel : row)
            pixel = (random() % 4 == 0 ? random() % 256 : 255) << 24 |
                    (random() % 2 ? halves[random() % halves.size()] : random() & 0xFFFFFF);
        const int level = std::max(0, OracleLuminance(row[random() % width]) - static_cast<int>(random() % 2));
        std::vector<uint64_t> dark((width + 63) / 64, 0), light(dark.size(), 0);
        MarkLuminance(row, level, TLuminanceSide::Dark, dark, alpha);
        MarkLuminance(row, level, TLuminanceSide::Light, light, alpha);
        TLuminanceHistogram histogram{}, expected{};
        AddLuminances(row, histogram, alpha);
        for (std::size_t x = 0; x < width; ++x) {
            const bool opaque = alpha == TAlpha::Unused || row[x] >> 24 == 0xFF;
            const int y = OracleLuminance(row[x]);
            ASSERT_EQ(Bit(dark, x), opaque && y <= level) << std::hex << row[x] << std::dec << " level " << level;
            ASSERT_EQ(Bit(light, x), opaque && y > level) << std::hex << row[x] << std::dec << " level " << level;
            expected[static_cast<std::size_t>(y)] += opaque;
        }
        for (std::size_t x = width; x < dark.size() * 64; ++x)
            ASSERT_FALSE(Bit(dark, x) || Bit(light, x));
        ASSERT_EQ(histogram, expected);
    }
}
