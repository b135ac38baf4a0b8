#pragma once

#include <QImage>

#include <cstdint>
#include <string>

#include "app/engine/pixel_mask.h"

// The mask of the opaque pixels of `image` whose red, green and blue are those of
// `rgb` (0xRRGGBB). Pixels of 32-bit images are read in place; any other format is
// converted a band of rows at a time, so the extra memory stays near the mask's.
TPixelMask MaskOfColour(const QImage& image, uint32_t rgb);

// "#rrggbb" for 0xRRGGBB.
std::string ColourText(uint32_t rgb);

// Why a colour cannot be counted when its mask is empty: "The colour #rrggbb occurs
// nowhere in the picture".
std::string ColourNowhereText(uint32_t rgb);
