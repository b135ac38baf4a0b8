#include "app/fractal/self_similar_shapes.h"

namespace {

// Every pixel of a side-by-side mask for which `keep` holds.
template <typename TKeep>
TPixelMask Kept(int side, TKeep keep)
{
    TPixelMask mask(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (keep(x, y))
                mask.Set(x, y);
    return mask;
}

}  // namespace

bool InCarpet(int x, int y)
{
    for (; x > 0 || y > 0; x /= 3, y /= 3)
        if (x % 3 == 1 && y % 3 == 1)
            return false;
    return true;
}

TPixelMask SierpinskiCarpet(int side)
{
    return Kept(side, InCarpet);
}

TPixelMask SierpinskiTriangle(int side)
{
    // Pascal's triangle modulo 2: no carried bit between the two coordinates.
    return Kept(side, [side](int x, int y) { return (x & (side - 1 - y)) == 0; });
}

TPixelMask CantorDust(int side)
{
    return Kept(side, [](int x, int y) {
        for (; x > 0 || y > 0; x /= 3, y /= 3)
            if (x % 3 == 1 || y % 3 == 1)
                return false;
        return true;
    });
}

TPixelMask VicsekFractal(int side)
{
    // At every scale, only the middle row and the middle column of the nine squares
    // stay; leading zero digits count too, as the corners they are.
    return Kept(side, [side](int x, int y) {
        for (int scale = 1; scale < side; scale *= 3, x /= 3, y /= 3)
            if (x % 3 != 1 && y % 3 != 1)
                return false;
        return true;
    });
}
