#include "app/fractal/reference_shapes.h"

#include <cmath>

#include "app/fractal/drawn_shapes.h"
#include "app/fractal/self_similar_shapes.h"

namespace {

// Lines drawn on pixels stair-step, and a curve's detail ends at one pixel, so their
// measured D strays further than that of the shapes exact to the pixel. The wider
// margins leave room around what the self-test measures at the default size with
// one-pixel lines (least count over grid offsets, sizes 1 to 729 by factors of 3,
// the fit range chosen automatically): the Koch curve 0.009 off, the circle 0.027
// (its largest boxes see a few corners of a round shape), the line exact.
constexpr double kExactTolerance = 0.01;
constexpr double kStraightLineTolerance = 0.02;
constexpr double kKochTolerance = 0.03;
constexpr double kCircleTolerance = 0.08;

}  // namespace

std::span<const TReferenceShape> ReferenceShapes()
{
    static const double log2 = std::log(2.0), log3 = std::log(3.0);
    static const TReferenceShape shapes[] = {
        {"carpet", "Sierpinski carpet", std::log(8.0) / log3, kExactTolerance, 729, 3, false, 3,
         [](int size, int) { return SierpinskiCarpet(size); }},
        {"triangle", "Sierpinski triangle", log3 / log2, kExactTolerance, 512, 2, false, 2,
         [](int size, int) { return SierpinskiTriangle(size); }},
        {"koch", "Koch curve", std::log(4.0) / log3, kKochTolerance, 729, 0, true, 3, KochCurve},
        {"cantor", "Cantor dust", std::log(4.0) / log3, kExactTolerance, 729, 3, false, 3,
         [](int size, int) { return CantorDust(size); }},
        {"vicsek", "Vicsek fractal", std::log(5.0) / log3, kExactTolerance, 729, 3, false, 3,
         [](int size, int) { return VicsekFractal(size); }},
        {"square", "filled square", 2.0, kExactTolerance, 729, 0, false, 3,
         [](int size, int) { return FilledSquare(size); }},
        {"line", "straight line", 1.0, kStraightLineTolerance, 729, 0, true, 3, StraightLine},
        {"circle", "circle outline", 1.0, kCircleTolerance, 729, 0, true, 3, CircleOutline},
    };
    return shapes;
}

const TReferenceShape* FindReferenceShape(std::string_view name)
{
    for (const TReferenceShape& shape : ReferenceShapes())
        if (shape.Name == name)
            return &shape;
    return nullptr;
}

TPixelMask WithMargin(const TPixelMask& shape, int marginX, int marginY)
{
    TPixelMask canvas(shape.Width() + 2 * marginX, shape.Height() + 2 * marginY);
    for (int y = 0; y < shape.Height(); ++y)
        for (int x = 0; x < shape.Width(); ++x)
            if (shape.Test(x, y))
                canvas.Set(marginX + x, marginY + y);
    return canvas;
}
