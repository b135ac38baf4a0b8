#pragma once

#include "app/engine/mask_rect.h"
#include "app/engine/pixel_mask.h"

// The part of `mask` inside `region`, its top-left corner becoming (0, 0), so boxes
// laid on it start from the region's corner. The region must be non-empty and lie
// wholly inside the mask; otherwise TVandrelError names the region and the picture's
// size.
TPixelMask CropMask(const TPixelMask& mask, const TMaskRect& region);
