#pragma once

#include "app/engine/pixel_mask.h"

// Shapes built from their own base-3 (or base-2) digits, so every pixel is exactly
// where the construction puts it. `side` is the shape's width and height in pixels and
// must be a power of 3 (a power of 2 for the triangle).

// A pixel lies in a hole of the carpet when, at some scale, both its base-3 digits are 1.
bool InCarpet(int x, int y);

// Sierpinski's carpet: 8^k pixels on a side of 3^k.
TPixelMask SierpinskiCarpet(int side);
// Sierpinski's triangle standing on its base, its right angle at the bottom left:
// 3^k pixels on a side of 2^k.
TPixelMask SierpinskiTriangle(int side);
// Cantor's dust, the product of two Cantor sets: 4^k pixels on a side of 3^k.
TPixelMask CantorDust(int side);
// Vicsek's cross: 5^k pixels on a side of 3^k.
TPixelMask VicsekFractal(int side);
