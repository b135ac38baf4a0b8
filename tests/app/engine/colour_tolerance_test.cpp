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

}  // namespace

// Rows of odd widths around a random colour (each channel off by up to 40, a quarter
// of the pixels not opaque) against the largest channel difference, pixel by pixel.
TEST(ColourTolerance, MarksWhatTheLargestChannelDifferenceAllowsAndZeroIsTheExactColour)
{
    std::mt19937 random(11);
    for (int trial = 0; trial < 300; ++trial) {
        const uint32_t rgb = random() & 0xFFFFFF;
        const int tolerance = trial % 5 == 0 ? 0 : static_cast<int>(random() % 41);
        const TAlpha alpha = trial % 2 ? TAlpha::Stored : TAlpha::Unused;
        std::vector<TArgb> row(1 + random() % 300);
        for (TArgb& pixel : row) {
            pixel = (random() % 4 == 0 ? random() % 256 : 255) << 24;
            for (const unsigned shift : {0u, 8u, 16u}) {
                const int value = Channel(rgb, shift) + static_cast<int>(random() % 81) - 40;
                pixel |= static_cast<TArgb>(std::clamp(value, 0, 255)) << shift;
            }
        }
        std::vector<uint64_t> mask((row.size() + 63) / 64, 0), exact(mask.size(), 0);
        MarkColourWithin(row, rgb, tolerance, mask, alpha);
        MarkColour(row, rgb, exact, alpha);
        ASSERT_TRUE(tolerance > 0 || mask == exact);
        for (std::size_t x = 0; x < mask.size() * 64; ++x) {
            int largest = 256; // past the row: never marked
            if (x < row.size() && (alpha == TAlpha::Unused || row[x] >> 24 == 0xFF))
                largest = std::max({std::abs(Channel(row[x], 0) - Channel(rgb, 0)),
                                    std::abs(Channel(row[x], 8) - Channel(rgb, 8)),
                                    std::abs(Channel(row[x], 16) - Channel(rgb, 16))});
            ASSERT_EQ((mask[x / 64] >> (x % 64)) & 1, largest <= tolerance) << "x " << x << " tolerance " << tolerance;
        }
    }
}
