#include "app/engine/box_counter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "app/engine/naive_box_count.h"
#include "app/engine/pixel_mask.h"

namespace {

constexpr uint32_t kTarget = 0x123456;
constexpr TArgb kOpaqueTarget = 0xFF123456;

struct TPicture {
    int Width;
    int Height;
    std::vector<TArgb> Pixels;
    TArgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

TPixelMask MaskOf(const TPicture& picture)
{
    TPixelMask mask(picture.Width, picture.Height);
    for (int y = 0; y < picture.Height; ++y)
        MarkColour({picture.Pixels.data() + static_cast<std::size_t>(y) * picture.Width,
                    static_cast<std::size_t>(picture.Width)},
                   kTarget, mask.Row(y));
    return mask;
}

// Random pixels of the target colour, of near misses (one channel off, or the
// target colour not opaque) and of other colours, some in clusters.
TPicture RandomPicture(int width, int height, double density, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    TPicture picture{width, height, std::vector<TArgb>(static_cast<std::size_t>(width) * height, 0xFFFFFFFF)};
    const TArgb nearMisses[] = {0xFF123457, 0xFF113456, 0xFE123456, 0x00123456, 0x80123456};
    for (TArgb& pixel : picture.Pixels) {
        const double roll = chance(random);
        if (roll < density)
            pixel = kOpaqueTarget;
        else if (roll < density + 0.05)
            pixel = nearMisses[random() % std::size(nearMisses)];
    }
    for (int cluster = 0; cluster < 3; ++cluster) {
        const int left = static_cast<int>(random() % width), top = static_cast<int>(random() % height);
        for (int y = top; y < std::min(height, top + 9); ++y)
            for (int x = left; x < std::min(width, left + 13); ++x)
                picture.Pixels[static_cast<std::size_t>(y) * width + x] = kOpaqueTarget;
    }
    return picture;
}

uint64_t NaiveCount(const TPicture& picture, int boxSize)
{
    return CountBoxesNaive(picture.Width, picture.Height, kTarget, boxSize,
                           [&](int x, int y) { return picture.At(x, y); });
}

TEST(BoxCounter, AgreesWithThePixelByPixelCountForEverySizeUpTo256)
{
    struct TCase { int Width, Height; double Density; };
    const TCase cases[] = {
        {1, 1, 1.0}, {65, 63, 0.002}, {129, 77, 0.01}, {301, 259, 0.0005}, {127, 513, 0.3}, {3, 1031, 0.05},
    };
    unsigned seed = 7;
    for (const TCase& c : cases) {
        const TPicture picture = RandomPicture(c.Width, c.Height, c.Density, ++seed);
        const TPixelMask mask = MaskOf(picture);
        TBoxCounter counter(mask);
        for (int d = 1; d <= 256; ++d)
            ASSERT_EQ(counter.Count(d), NaiveCount(picture, d))
                << c.Width << " x " << c.Height << ", d = " << d;
    }
}

TEST(BoxCounter, SizesInAnyOrderGiveTheSameCounts)
{
    const TPicture picture = RandomPicture(97, 131, 0.003, 3);
    const TPixelMask mask = MaskOf(picture);
    TBoxCounter counter(mask);
    for (const int d : {40, 3, 40, 64, 1, 31, 32, 3})
        EXPECT_EQ(counter.Count(d), NaiveCount(picture, d)) << "d = " << d;
}

TEST(BoxCounter, BoxesStartingAtTheEdgeLieOutsideAndEdgeBoxesArePartial)
{
    TPixelMask square(100, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            square.Set(x, y);
    TBoxCounter counter(square);
    EXPECT_EQ(counter.Count(10), 100u);
    EXPECT_EQ(counter.Count(30), 16u);
    EXPECT_EQ(counter.Count(100), 1u);
    EXPECT_EQ(counter.Count(1000), 1u);
    EXPECT_EQ(counter.Count(1), 10000u);
}

TEST(BoxCounter, OnePixelIsOneBoxAtEverySize)
{
    TPixelMask mask(517, 300);
    mask.Set(516, 299);
    TBoxCounter counter(mask);
    for (int d = 1; d <= 600; d += 7)
        EXPECT_EQ(counter.Count(d), 1u) << "d = " << d;
}

TEST(BoxCounter, EmptyMasksAndPicturesCountNothing)
{
    TPixelMask blank(70, 70);
    EXPECT_TRUE(blank.Empty());
    EXPECT_EQ(TBoxCounter(blank).Count(5), 0u);
    TPixelMask none(0, 0);
    EXPECT_EQ(TBoxCounter(none).Count(5), 0u);
}

TEST(BoxCounter, RejectsBoxSizesBelowOne)
{
    TPixelMask mask(4, 4);
    TBoxCounter counter(mask);
    EXPECT_THROW(counter.Count(0), std::exception);
}

TEST(PixelMask, MatchesOpaquePixelsOfExactlyTheColour)
{
    const std::vector<TArgb> row = {0xFF123456, 0x7F123456, 0xFF123457, 0x00123456, 0xFF123456};
    TPixelMask mask(5, 1);
    MarkColour(row, kTarget, mask.Row(0));
    EXPECT_TRUE(mask.Test(0, 0));
    EXPECT_FALSE(mask.Test(1, 0));
    EXPECT_FALSE(mask.Test(2, 0));
    EXPECT_FALSE(mask.Test(3, 0));
    EXPECT_TRUE(mask.Test(4, 0));
}

}  // namespace
