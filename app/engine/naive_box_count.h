#pragma once

#include <cstdint>

#include "app/engine/pixel_mask.h"

// N(d) read pixel by pixel: every box from the top-left corner, its pixels row by
// row until the first opaque one of the colour `rgb` (0xRRGGBB). A box starting at
// the width or the height lies wholly outside and never counts. This is the plain
// reading of the method, slow for empty boxes; the fast counter is checked and
// measured against it. `pixelAt(x, y)` gives the pixel as TArgb.
template <typename PixelAt>
uint64_t CountBoxesNaive(int width, int height, uint32_t rgb, int boxSize, PixelAt pixelAt)
{
    const TArgb target = 0xFF000000u | (rgb & 0x00FFFFFFu);
    const auto boxHolds = [&](long long left, long long top) {
        for (long long y = top; y < top + boxSize; ++y)
            for (long long x = left; x < left + boxSize; ++x)
                if (x < width && y < height && pixelAt(static_cast<int>(x), static_cast<int>(y)) == target)
                    return true;
        return false;
    };
    uint64_t boxes = 0;
    for (long long top = 0; top <= height; top += boxSize)
        for (long long left = 0; left <= width; left += boxSize)
            if (boxHolds(left, top))
                ++boxes;
    return boxes;
}
