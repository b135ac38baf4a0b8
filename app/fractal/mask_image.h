#pragma once

#include <QImage>

#include "app/engine/pixel_mask.h"

// The mask as a one-bit picture: its pixels black, the rest white.
QImage MaskImage(const TPixelMask& mask);
