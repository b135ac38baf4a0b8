#include "app/engine/crop_mask.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "tests/support/error_message.h"
#include "tests/support/random_mask.h"

namespace {

// Every bit of the cropped rows, padding included: the counters read whole words and
// rely on the bits past the width being clear.
void ExpectSameAsPixelCopy(const TPixelMask& mask, const TMaskRect& r)
{
    const TPixelMask cropped = CropMask(mask, r);
    ASSERT_EQ(cropped.Width(), r.Width);
    ASSERT_EQ(cropped.Height(), r.Height);
    for (int y = 0; y < r.Height; ++y)
        for (int x = 0; x < static_cast<int>(cropped.WordsPerRow() * 64); ++x)
            ASSERT_EQ(cropped.Test(x, y), x < r.Width && mask.Test(r.X + x, r.Y + y))
                << "region " << r.X << "," << r.Y << "," << r.Width << "," << r.Height << " at " << x << "," << y;
}

}  // namespace

TEST(CropMask, AgreesWithPixelByPixelCopyAcrossWordBoundaries)
{
    const int sizes[][2] = {{1, 1}, {63, 5}, {64, 3}, {65, 7}, {130, 9}, {200, 4}, {257, 3}};
    std::mt19937 random(5);
    unsigned seed = 40;
    for (const auto& [width, height] : sizes)
        for (const double density : {0.1, 0.5, 0.95}) {
            const TPixelMask mask = RandomMask(width, height, density, ++seed);
            ExpectSameAsPixelCopy(mask, {0, 0, width, height});
            ExpectSameAsPixelCopy(mask, {width - 1, height - 1, 1, 1});
            for (int i = 0; i < 40; ++i) {
                const int x = std::uniform_int_distribution(0, width - 1)(random);
                const int y = std::uniform_int_distribution(0, height - 1)(random);
                const int w = std::uniform_int_distribution(1, width - x)(random);
                const int h = std::uniform_int_distribution(1, height - y)(random);
                ExpectSameAsPixelCopy(mask, {x, y, w, h});
                ExpectSameAsPixelCopy(mask, {width - w, y, w, h}); // reaching the right edge
            }
        }
}

TEST(CropMask, RefusesRegionsNotWhollyInsideOrEmpty)
{
    const TPixelMask mask(400, 300);
    EXPECT_EQ(MessageOf([&] { CropMask(mask, {10, 10, 500, 500}); }),
              "The region 10,10,500,500 does not lie inside the picture (400 x 300 pixels)");
    EXPECT_EQ(MessageOf([&] { CropMask(mask, {0, 0, 0, 5}); }),
              "The region 0,0,0,5 is empty (the picture is 400 x 300 pixels)");
    for (const TMaskRect refused : std::vector<TMaskRect>{{-1, 0, 5, 5}, {0, 1, 400, 300}, {399, 0, 2, 1},
                                                          {5, 5, INT_MAX, 1}, {0, 5, 1, INT_MAX}, {0, 0, 4, -2}})
        EXPECT_THROW(CropMask(mask, refused), TVandrelError);
    EXPECT_NO_THROW(CropMask(mask, {399, 299, 1, 1}));
}
