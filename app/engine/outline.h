#pragma once

#include "app/engine/pixel_mask.h"

// The set pixels of `mask` that touch a clear pixel or the edge of the picture on one
// of their four sides: the shape's outline, one pixel wide.
TPixelMask OutlineOf(const TPixelMask& mask);
