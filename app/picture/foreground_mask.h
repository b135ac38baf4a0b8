#pragma once

#include <QImage>

#include "app/engine/foreground_rule.h"
#include "app/engine/pixel_mask.h"

// The shape of a picture and the rule that chose it, with Otsu's level filled in.
struct TForegroundMask {
    TPixelMask Mask;
    TForegroundRule Rule;
};

// The mask of the pixels of `image` that `rule` takes for the shape, read as
// ForEachArgbRow reads them. An Otsu rule costs one more pass over the picture, for
// the histogram of the luminances of its opaque pixels.
TForegroundMask MaskOfForeground(const QImage& image, const TForegroundRule& rule);
