#include "app/engine/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

bool SetAt(const TPixelMask& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.Width() && y < mask.Height() && mask.Test(x, y);
}

bool TouchesClear(const TPixelMask& mask, int x, int y)
{
    return !SetAt(mask, x - 1, y) || !SetAt(mask, x + 1, y) || !SetAt(mask, x, y - 1) || !SetAt(mask, x, y + 1);
}

void ExpectOutline(const TPixelMask& mask, const TPixelMask& outline)
{
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            ASSERT_EQ(outline.Test(x, y), mask.Test(x, y) && TouchesClear(mask, x, y))
                << x << ", " << y << " of " << mask.Width() << " x " << mask.Height();
}

}  // namespace

TEST(Outline, KeepsTheSetPixelsBesideAClearOneOrTheEdge)
{
    std::mt19937 random(29);
    for (const int width : {1, 2, 63, 64, 65, 127, 129, 200})
        for (const int height : {1, 2, 3, 37}) {
            TPixelMask mask(width, height);
            const unsigned clearOneIn = 2 + random() % 20; // from half set to nearly full
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (random() % clearOneIn != 0)
                        mask.Set(x, y);
            const TPixelMask outline = OutlineOf(mask);
            ExpectOutline(mask, outline);
            // An outline is its own outline.
            ExpectOutline(outline, OutlineOf(outline));
        }
}

TEST(Outline, OfAFilledDiscIsItsRimOnly)
{
    const int side = 151, centre = 75, radius = 70;
    TPixelMask disc(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((x - centre) * (x - centre) + (y - centre) * (y - centre) <= radius * radius)
                disc.Set(x, y);
    const TPixelMask rim = OutlineOf(disc);
    ExpectOutline(disc, rim);
    // A curve one pixel wide round a digital disc, in steps to the 8 neighbours, holds
    // about 4 sqrt(2) r pixels; a rim two wide would hold twice as many.
    int rimPixels = 0;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            rimPixels += rim.Test(x, y);
    EXPECT_NEAR(rimPixels, 4 * std::sqrt(2.0) * radius, 0.05 * 4 * std::sqrt(2.0) * radius);
}
