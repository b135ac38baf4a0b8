#include "app/engine/mask_objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "graph/core/error.h"
#include "tests/support/random_mask.h"

namespace {

struct TPiece {
    std::vector<std::pair<int, int>> Pixels; // (x, y), the first one first in reading order
    TMaskRect Box;
};

// Flood fill from every unvisited set pixel in reading order, through the eight
// neighbours; then ordered by the box's top, its left, and the first pixel.
std::vector<TPiece> FloodFillPieces(const TPixelMask& mask)
{
    const int width = mask.Width(), height = mask.Height();
    std::vector<char> seen(static_cast<std::size_t>(width) * height, 0);
    const auto visit = [&](int x, int y) -> char& { return seen[static_cast<std::size_t>(y) * width + x]; };
    std::vector<TPiece> pieces;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (!mask.Test(x, y) || visit(x, y))
                continue;
            TPiece piece;
            piece.Pixels.push_back({x, y});
            visit(x, y) = 1;
            int left = x, right = x, bottom = y;
            for (std::size_t next = 0; next < piece.Pixels.size(); ++next) {
                const auto [px, py] = piece.Pixels[next];
                left = std::min(left, px), right = std::max(right, px), bottom = std::max(bottom, py);
                for (int ny = py - 1; ny <= py + 1; ++ny)
                    for (int nx = px - 1; nx <= px + 1; ++nx)
                        if (nx >= 0 && ny >= 0 && nx < width && ny < height && mask.Test(nx, ny) && !visit(nx, ny)) {
                            visit(nx, ny) = 1;
                            piece.Pixels.push_back({nx, ny});
                        }
            }
            piece.Box = {left, y, right - left + 1, bottom - y + 1};
            pieces.push_back(std::move(piece));
        }
    std::stable_sort(pieces.begin(), pieces.end(), [](const TPiece& a, const TPiece& b) {
        return std::pair(a.Box.Y, a.Box.X) < std::pair(b.Box.Y, b.Box.X);
    });
    return pieces;
}

// The piece's own pixels and nothing else, padding bits included.
void ExpectMaskOfPiece(const TPixelMask& drawn, const TPiece& piece)
{
    TPixelMask expected(piece.Box.Width, piece.Box.Height);
    for (const auto& [x, y] : piece.Pixels)
        expected.Set(x - piece.Box.X, y - piece.Box.Y);
    ASSERT_EQ(drawn.Width(), expected.Width());
    ASSERT_EQ(drawn.Height(), expected.Height());
    for (int y = 0; y < drawn.Height(); ++y)
        ASSERT_TRUE(std::ranges::equal(drawn.Row(y), expected.Row(y))) << "row " << y;
}

}  // namespace

TEST(MaskObjects, AgreeWithFloodFillOverRandomMasks)
{
    const int sizes[][2] = {{0, 0}, {1, 1}, {5, 3}, {64, 8}, {65, 20}, {130, 40}, {200, 33}};
    unsigned seed = 70;
    for (const auto& [width, height] : sizes)
        for (const double density : {0.05, 0.3, 0.45, 0.6, 0.9, 1.0}) {
            const TPixelMask mask = RandomMask(width, height, density, ++seed);
            const std::vector<TPiece> all = FloodFillPieces(mask);
            for (const uint64_t minPixels : {0, 1, 2, 5}) {
                SCOPED_TRACE(::testing::Message() << width << " x " << height << ", density " << density
                                                  << ", at least " << minPixels << " pixels");
                std::vector<TPiece> kept;
                std::ranges::copy_if(all, std::back_inserter(kept),
                                     [&](const TPiece& piece) { return piece.Pixels.size() >= minPixels; });
                const TMaskObjects found = FindObjects(mask, minPixels);
                ASSERT_EQ(found.Objects().size(), kept.size());
                EXPECT_EQ(found.LeftOut(), all.size() - kept.size());
                for (std::size_t i = 0; i < kept.size(); ++i) {
                    EXPECT_EQ(found.Objects()[i].Box, kept[i].Box) << "piece " << i;
                    EXPECT_EQ(found.Objects()[i].Pixels, kept[i].Pixels.size()) << "piece " << i;
                    ExpectMaskOfPiece(found.MaskOfObject(i), kept[i]);
                }
                EXPECT_THROW(found.MaskOfObject(kept.size()), TVandrelError);
            }
        }
}

TEST(MaskObjects, RingAroundDotGivesTwoPiecesThatDoNotMix)
{
    TPixelMask mask(70, 7); // the ring crosses no word boundary; a second one does
    for (const int left : {0, 60}) {
        for (int i = 0; i < 7; ++i)
            mask.Set(left + i, 0), mask.Set(left + i, 6), mask.Set(left, i), mask.Set(left + 6, i);
        mask.Set(left + 3, 3);
    }
    const TMaskObjects found = FindObjects(mask, 1);
    ASSERT_EQ(found.Objects().size(), 4u); // both rings (top row 0), then both dots (row 3)
    EXPECT_EQ(found.Objects()[2].Box, (TMaskRect{3, 3, 1, 1}));
    EXPECT_EQ(found.Objects()[3].Box, (TMaskRect{63, 3, 1, 1}));
    for (const std::size_t ring : {0, 1}) {
        const TPixelMask drawn = found.MaskOfObject(ring);
        EXPECT_EQ(found.Objects()[ring].Pixels, 24u);
        EXPECT_FALSE(drawn.Test(3, 3));
        EXPECT_TRUE(drawn.Test(6, 6));
        EXPECT_TRUE(found.MaskOfObject(ring + 2).Test(0, 0));
    }
}
