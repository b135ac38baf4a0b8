#include "app/engine/colour_tolerance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

int Channel(TArgb pixel, unsigned shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Pixels around `rgb`, each channel off by up to 40 either way, a quarter not opaque.
std::vector<TArgb> RowNear(uint32_t rgb, std::size_t width, std::mt19937& random)
{
    std::vector<TArgb> row(width);
    for (TArgb& pixel : row) {
        const TArgb alpha = random() % 4 == 0 ? random() % 256 : 255;
        pixel = alpha << 24;
        for (const unsigned shift : {0u, 8u, 16u}) {
            const int value = Channel(rgb, shift) + static_cast<int>(random() % 81) - 40;
            pixel |= static_cast<TArgb>(std::clamp(value, 0, 255)) << shift;
        }
    }
    return row;
}

}  // namespace

TEST(ColourTolerance, MarksWhatTheLargestChannelDifferenceAllowsAndZeroIsTheExactColour)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        const uint32_t rgb = random() & 0xFFFFFF;
        const std::size_t width = 1 + random() % 300;
        const int tolerance = trial % 5 == 0 ? 0 : static_cast<int>(random() % 41);
        const TAlpha alpha = trial % 2 ? TAlpha::Stored : TAlpha::Unused;
        const std::vector<TArgb> row = RowNear(rgb, width, random);
        std::vector<uint64_t> mask((width + 63) / 64, 0), exact(mask.size(), 0);
        MarkColourWithin(row, rgb, tolerance, mask, alpha);
        if (tolerance == 0) {
            MarkColour(row, rgb, exact, alpha);
            ASSERT_EQ(mask, exact);
        }
        for (std::size_t x = 0; x < width; ++x) {
            int largest = 0;
            for (const unsigned shift : {0u, 8u, 16u})
                largest = std::max(largest, std::abs(Channel(row[x], shift) - Channel(rgb, shift)));
            const bool opaque = alpha == TAlpha::Unused || row[x] >> 24 == 0xFF;
            ASSERT_EQ((mask[x / 64] >> (x % 64)) & 1, opaque && largest <= tolerance)
                << "pixel " << std::hex << row[x] << " tolerance " << std::dec << tolerance;
        }
        for (std::size_t x = width; x < mask.size() * 64; ++x)
            ASSERT_EQ((mask[x / 64] >> (x % 64)) & 1, 0u);
    }
}
