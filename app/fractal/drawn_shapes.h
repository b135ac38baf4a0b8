#pragma once

#include "app/engine/pixel_mask.h"

// Shapes drawn at a given size, with lines `line` pixels wide where they have lines. A
// pixel belongs to a line when its centre lies within half the width of it.

// A filled square, side by side: D = 2.
TPixelMask FilledSquare(int side);
// A horizontal line `length` pixels long: D = 1.
TPixelMask StraightLine(int length, int line);
// A circle's outline within a square `diameter` pixels wide: D = 1.
TPixelMask CircleOutline(int diameter, int line);
// Koch's curve over a base `width` pixels long, refined until its segments are one
// pixel long or less, standing on its base: D = log 4 / log 3. The picture is
// `width + line` pixels wide, so that the ends of the line fit.
TPixelMask KochCurve(int width, int line);
