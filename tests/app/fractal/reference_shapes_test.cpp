// The reference shapes against their own recursive definitions, and the margin.

#include "app/fractal/reference_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/fractal/drawn_shapes.h"
#include "app/fractal/self_similar_shapes.h"

namespace {

uint64_t PixelCount(const TPixelMask& mask)
{
    uint64_t count = 0;
    for (int y = 0; y < mask.Height(); ++y)
        for (int x = 0; x < mask.Width(); ++x)
            count += mask.Test(x, y);
    return count;
}

// A self-similar shape with its pattern: which of the base-by-base cells of a shape
// hold a copy of the shape one step smaller (row by row, top first).
struct TPattern {
    TPixelMask (*Draw)(int side);
    int Base;
    std::vector<bool> Kept;
    uint64_t CopiesPerStep;
};

const std::vector<TPattern>& Patterns()
{
    static const std::vector<TPattern> patterns = {
        {SierpinskiCarpet, 3, {1, 1, 1, 1, 0, 1, 1, 1, 1}, 8},
        {CantorDust, 3, {1, 0, 1, 0, 0, 0, 1, 0, 1}, 4},
        {VicsekFractal, 3, {0, 1, 0, 1, 1, 1, 0, 1, 0}, 5},
        {SierpinskiTriangle, 2, {1, 0, 1, 1}, 3},
    };
    return patterns;
}

TEST(SelfSimilarShapes, EachStepIsItsCopiesInTheKeptCellsAndNothingElse)
{
    for (const TPattern& pattern : Patterns()) {
        int side = 1;
        uint64_t pixels = 1;
        for (int step = 1; step <= 5; ++step) {
            const TPixelMask smaller = pattern.Draw(side);
            side *= pattern.Base;
            pixels *= pattern.CopiesPerStep;
            const TPixelMask shape = pattern.Draw(side);
            ASSERT_EQ(shape.Width(), side);
            ASSERT_EQ(shape.Height(), side);
            EXPECT_EQ(PixelCount(shape), pixels) << "side " << side;
            const int cell = side / pattern.Base;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const bool kept = pattern.Kept[(y / cell) * pattern.Base + x / cell];
                    ASSERT_EQ(shape.Test(x, y), kept && smaller.Test(x % cell, y % cell))
                        << "side " << side << " at " << x << ", " << y;
                }
        }
    }
}

TEST(ReferenceShapes, TheTableNamesEveryShapeWithItsDimension)
{
    const double log3 = std::log(3.0);
    const std::vector<std::pair<const char*, double>> expected = {
        {"carpet", std::log(8.0) / log3}, {"triangle", std::log(3.0) / std::log(2.0)},
        {"koch", std::log(4.0) / log3},   {"cantor", std::log(4.0) / log3},
        {"vicsek", std::log(5.0) / log3}, {"square", 2.0},
        {"line", 1.0},                    {"circle", 1.0},
    };
    ASSERT_EQ(ReferenceShapes().size(), expected.size());
    for (const auto& [name, dimension] : expected) {
        const TReferenceShape* shape = FindReferenceShape(name);
        ASSERT_NE(shape, nullptr) << name;
        EXPECT_DOUBLE_EQ(shape->ExactDimension, dimension) << name;
        // Exact to the pixel: 0.01; drawn with lines: wider.
        if (shape->DrawnWithLines)
            EXPECT_GT(shape->Tolerance, 0.01) << name;
        else
            EXPECT_EQ(shape->Tolerance, 0.01) << name;
        EXPECT_GT(PixelCount(shape->Draw(shape->DefaultSize, 1)), 0u) << name;
    }
    EXPECT_EQ(FindReferenceShape("sponge"), nullptr);
}

TEST(ReferenceShapes, AMarginShiftsTheShapeExactly)
{
    for (const TReferenceShape& shape : ReferenceShapes()) {
        const TPixelMask alone = shape.Draw(shape.SizeBase == 2 ? 32 : 27, 2);
        const TPixelMask framed = WithMargin(alone, 5, 11);
        ASSERT_EQ(framed.Width(), alone.Width() + 10) << shape.Name;
        ASSERT_EQ(framed.Height(), alone.Height() + 22) << shape.Name;
        EXPECT_EQ(PixelCount(framed), PixelCount(alone)) << shape.Name;
        for (int y = 0; y < alone.Height(); ++y)
            for (int x = 0; x < alone.Width(); ++x)
                ASSERT_EQ(framed.Test(x + 5, y + 11), alone.Test(x, y)) << shape.Name << " at " << x << ", " << y;
    }
}

// Pixels reachable from the first set pixel through the eight neighbours of each.
uint64_t ConnectedPixels(const TPixelMask& mask)
{
    TPixelMask seen(mask.Width(), mask.Height());
    std::vector<std::pair<int, int>> todo;
    for (int y = 0; y < mask.Height() && todo.empty(); ++y)
        for (int x = 0; x < mask.Width() && todo.empty(); ++x)
            if (mask.Test(x, y)) {
                todo.push_back({x, y});
                seen.Set(x, y);
            }
    uint64_t count = 0;
    while (!todo.empty()) {
        const auto [x, y] = todo.back();
        todo.pop_back();
        ++count;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < mask.Width() && ny < mask.Height() && mask.Test(nx, ny) &&
                    !seen.Test(nx, ny)) {
                    seen.Set(nx, ny);
                    todo.push_back({nx, ny});
                }
            }
    }
    return count;
}

TEST(DrawnShapes, LinesAreUnbrokenAndFillTheirExtent)
{
    for (const int line : {1, 2, 5}) {
        EXPECT_EQ(PixelCount(StraightLine(100, line)), 100u * line);

        const TPixelMask koch = KochCurve(243, line);
        EXPECT_EQ(koch.Width(), 243 + line);
        EXPECT_EQ(koch.Height(), static_cast<int>(std::ceil(243 * std::sqrt(3.0) / 6 + line)));
        EXPECT_EQ(ConnectedPixels(koch), PixelCount(koch)) << "line " << line;
        for (const int x : {0, koch.Width() - 1}) {
            bool touched = false;
            for (int y = 0; y < koch.Height(); ++y)
                touched = touched || koch.Test(x, y);
            EXPECT_TRUE(touched) << "column " << x << ", line " << line;
        }

        // The ring is one piece, as round one way as the other, with its middle empty.
        const int diameter = 101;
        const TPixelMask circle = CircleOutline(diameter, line);
        EXPECT_EQ(ConnectedPixels(circle), PixelCount(circle)) << "line " << line;
        EXPECT_FALSE(circle.Test(diameter / 2, diameter / 2));
        for (int y = 0; y < diameter; ++y)
            for (int x = 0; x < diameter; ++x) {
                ASSERT_EQ(circle.Test(x, y), circle.Test(diameter - 1 - x, y));
                ASSERT_EQ(circle.Test(x, y), circle.Test(y, x));
            }
        EXPECT_TRUE(circle.Test(0, diameter / 2));
    }
    EXPECT_EQ(PixelCount(FilledSquare(37)), 37u * 37u);
}

}  // namespace
