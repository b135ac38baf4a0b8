#pragma once

#include <random>

#include "app/engine/pixel_mask.h"

// A mask whose pixels are set independently with probability `density`.
inline TPixelMask RandomMask(int width, int height, double density, unsigned seed)
{
    std::mt19937 random(seed);
    std::bernoulli_distribution set(density);
    TPixelMask mask(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (set(random))
                mask.Set(x, y);
    return mask;
}
