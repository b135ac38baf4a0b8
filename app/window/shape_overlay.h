#pragma once

#include <QImage>

#include "app/engine/pixel_mask.h"

// The pixels of `mask` as a one-bit picture to lay over the picture they come from:
// set bits in the translucent `colour`, the rest fully transparent. One bit per pixel
// keeps it quick to make and to draw on a picture of millions of pixels.
QImage ShapeOverlay(const TPixelMask& mask, QRgb colour);
