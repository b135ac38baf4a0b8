#pragma once

#include <cstdint>
#include <span>

#include "app/engine/pixel_mask.h"

// Sets the bit of every opaque pixel of `argbRow` whose red, green and blue each
// differ from those of `rgb` (0xRRGGBB) by at most `tolerance` (0 to 255). With
// tolerance 0 the mask is MarkColour's; `alpha` is read as MarkColour reads it.
void MarkColourWithin(std::span<const TArgb> argbRow, uint32_t rgb, int tolerance, std::span<uint64_t> maskRow,
                      TAlpha alpha = TAlpha::Stored);
