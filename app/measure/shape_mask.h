#pragma once

#include <QImage>

#include "app/engine/foreground_rule.h"
#include "app/engine/pixel_mask.h"
#include "app/measure/shape_choice.h"
#include "app/picture/foreground_mask.h"

// The pixels of a picture to count and the rule that chose them, Otsu's level filled in.
struct TShapeMask {
    TPixelMask Mask;
    TForegroundRule Rule;
};

// The pixels of `image` that `shape`'s rule takes, kept to their outline when asked,
// then cut to its region. Raises an error when the region does not lie inside the
// picture, or when no pixel is left: "The colour #rrggbb occurs nowhere in the
// picture" for the exact colour over the whole picture, else "No pixel of the picture
// (the region X,Y,W,H) matches the rule: <rule>".
TShapeMask ShapeMaskOf(const QImage& image, const TShapeChoice& shape);

// The same from the mask that `shape`'s rule chose, however it was built.
TShapeMask ShapeMaskOf(TForegroundMask chosen, const TShapeChoice& shape);
