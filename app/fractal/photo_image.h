#pragma once

#include <QImage>

#include "app/engine/pixel_mask.h"

// The mask as a photograph of it might look, in 8-bit grey: the shape dark (50) on a
// light ground (205), its edges softened by the mean of each pixel's 3 × 3
// neighbourhood, then Gaussian noise of standard deviation `noise` grey levels added
// to every pixel and clipped to 0..255. The noise is drawn from a fixed seed, so the
// same mask and noise give the same picture.
QImage PhotoImage(const TPixelMask& mask, double noise);
