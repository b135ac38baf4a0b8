#pragma once

#include <QImage>

#include <functional>
#include <span>

#include "app/engine/pixel_mask.h"

// Hands every row of `image` to `visit` as 32-bit pixels (0xAARRGGBB), top to bottom,
// with how their top byte is to be read. Rows of 32-bit images are read in place; any
// other format is converted a band of rows at a time, so the extra memory stays near
// that of a one-bit mask. The conversion takes 16-bit channels down to 8 bits, so
// pictures of 16 bits per channel are judged on their 8-bit values.
void ForEachArgbRow(const QImage& image, const std::function<void(int y, std::span<const TArgb> row, TAlpha alpha)>& visit);
