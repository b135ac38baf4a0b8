#include "app/engine/luminance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

int WeightedSum(TArgb pixel)
{
    return 299 * static_cast<int>((pixel >> 16) & 0xFF) + 587 * static_cast<int>((pixel >> 8) & 0xFF) +
           114 * static_cast<int>(pixel & 0xFF);
}

// Rounded half to even through the floating-point division, exact at the halves.
int OracleLuminance(TArgb pixel)
{
    return static_cast<int>(std::nearbyint(WeightedSum(pixel) / 1000.0));
}

}  // namespace

TEST(Luminance, EveryColourRoundsItsWeightedSumHalfToEven)
{
    for (TArgb rgb = 0; rgb < 0x1000000; ++rgb)
        ASSERT_EQ(Luminance(rgb), OracleLuminance(rgb)) << std::hex << rgb;
}

// Rows of odd widths, half of their colours halfway between two luminances, with the
// level often at such a half; a quarter of the pixels not opaque.
TEST(Luminance, DarkAndLightSplitTheOpaquePixelsAndTheHistogramCountsThem)
{
    std::vector<TArgb> halves;
    for (TArgb rgb = 0; rgb < 0x1000000; rgb += 7)
        if (WeightedSum(rgb) % 1000 == 500)
            halves.push_back(rgb);
    std::mt19937 random(17);
    for (int trial = 0; trial < 400; ++trial) {
        const TAlpha alpha = trial % 2 ? TAlpha::Stored : TAlpha::Unused;
        std::vector<TArgb> row(1 + random() % 300);
        for (TArgb& pixel : row)
            pixel = (random() % 4 == 0 ? random() % 256 : 255) << 24 |
                    (random() % 2 ? halves[random() % halves.size()] : random() & 0xFFFFFF);
        const int level = std::max(0, OracleLuminance(row[random() % row.size()]) - static_cast<int>(random() % 2));
        std::vector<uint64_t> dark((row.size() + 63) / 64, 0), light(dark.size(), 0);
        MarkLuminance(row, level, TLuminanceSide::Dark, dark, alpha);
        MarkLuminance(row, level, TLuminanceSide::Light, light, alpha);
        TLuminanceHistogram histogram{}, expected{};
        AddLuminances(row, histogram, alpha);
        for (std::size_t x = 0; x < dark.size() * 64; ++x) {
            const bool opaque = x < row.size() && (alpha == TAlpha::Unused || row[x] >> 24 == 0xFF);
            const int y = x < row.size() ? OracleLuminance(row[x]) : 0;
            ASSERT_EQ((dark[x / 64] >> (x % 64)) & 1, opaque && y <= level) << "x " << x << " level " << level;
            ASSERT_EQ((light[x / 64] >> (x % 64)) & 1, opaque && y > level) << "x " << x << " level " << level;
            expected[static_cast<std::size_t>(y)] += opaque;
        }
        ASSERT_EQ(histogram, expected);
    }
}
