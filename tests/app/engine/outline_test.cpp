#include "app/engine/outline.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

bool SetAt(const TPixelMask& mask, int x, int y)
{
    return x >= 0 && y >= 0 && x < mask.Width() && y < mask.Height() && mask.Test(x, y);
}

// Against the pixel-by-pixel rule; returns the outline's pixel count.
int ExpectOutline(const TPixelMask& mask, const TPixelMask& outline)
{
    int pixels = 0;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x) {
            const bool touchesClear =
                !SetAt(mask, x - 1, y) || !SetAt(mask, x + 1, y) || !SetAt(mask, x, y - 1) || !SetAt(mask, x, y + 1);
            EXPECT_EQ(outline.Test(x, y), mask.Test(x, y) && touchesClear) << x << ", " << y;
            pixels += outline.Test(x, y);
        }
    return pixels;
}

}  // namespace

TEST(Outline, KeepsTheSetPixelsBesideAClearOneOrTheEdge)
{
    std::mt19937 random(29);
    for (const int width : {1, 2, 63, 64, 65, 129, 200})
        for (const int height : {1, 2, 3, 37}) {
            TPixelMask mask(width, height);
            const unsigned clearOneIn = 2 + random() % 20; // from half set to nearly full
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    if (random() % clearOneIn != 0)
                        mask.Set(x, y);
            const TPixelMask outline = OutlineOf(mask);
            ExpectOutline(mask, outline);
            ExpectOutline(outline, OutlineOf(outline)); // an outline is its own outline
        }
    // A filled disc's rim is one pixel wide: about 4 sqrt(2) r pixels; two would hold twice as many.
    const int side = 151, centre = 75, radius = 70;
    TPixelMask disc(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((x - centre) * (x - centre) + (y - centre) * (y - centre) <= radius * radius)
                disc.Set(x, y);
    EXPECT_NEAR(ExpectOutline(disc, OutlineOf(disc)), 4 * std::sqrt(2.0) * radius, 0.05 * 4 * std::sqrt(2.0) * radius);
}
