#pragma once

#include <QImage>

#include <cstdint>
#include <string>

#include "app/engine/foreground_rule.h" // ColourText
#include "app/engine/pixel_mask.h"

// The mask of the opaque pixels of `image` whose red, green and blue are those of
// `rgb` (0xRRGGBB), read as ForEachArgbRow reads them.
TPixelMask MaskOfColour(const QImage& image, uint32_t rgb);

// Why a colour cannot be counted when its mask is empty: "The colour #rrggbb occurs
// nowhere in the picture".
std::string ColourNowhereText(uint32_t rgb);
