#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/measure/count_method.h"
#include "app/measure/shape_measurement.h"
#include "app/engine/mask_rect.h"
#include "app/engine/pixel_mask.h"

// One connected piece of a shape measured inside its own bounding box.
struct TObjectMeasurement : TShapeMeasurement {
    TMaskRect Box; // in the coordinates of the mask the pieces were found in
};

// The pieces of a mask measured apart.
struct TObjectsMeasurement {
    std::vector<TObjectMeasurement> Objects; // in reading order, as FindObjects finds them
    uint64_t LeftOut = 0; // pieces of fewer than the least pixels
};

// Finds the 8-connected pieces of `mask` with at least `minPixels` pixels and measures
// each with `method` (its details included), every core taking pieces in turn.
TObjectsMeasurement MeasureObjects(const TPixelMask& mask, uint64_t minPixels, std::span<const int> sizes,
                                   const TCountMethod& method);
