#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "app/engine/pixel_mask.h"

// The luminance of a pixel after ITU-R BT.601, 0.299 R + 0.587 G + 0.114 B, computed
// exactly as (299 R + 587 G + 114 B) / 1000 and rounded half to even: 0 to 255.
int Luminance(TArgb pixel);

// Which side of a luminance level the shape lies on.
enum class TLuminanceSide { Dark, Light };

// Sets the bit of every opaque pixel of `argbRow` whose luminance is at most `level`
// (0 to 255) on the dark side, above it on the light side. `alpha` is read as
// MarkColour reads it.
void MarkLuminance(std::span<const TArgb> argbRow, int level, TLuminanceSide side, std::span<uint64_t> maskRow,
                   TAlpha alpha = TAlpha::Stored);

// How many opaque pixels have each luminance.
using TLuminanceHistogram = std::array<uint64_t, 256>;

// Adds the opaque pixels of `argbRow` to `histogram`.
void AddLuminances(std::span<const TArgb> argbRow, TLuminanceHistogram& histogram, TAlpha alpha = TAlpha::Stored);
