#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/engine/scaling_fit.h"

// What was measured: a whole picture, a region of one, or one connected piece of a
// shape inside its own bounding box (which it always fills much of).
enum class TMeasuredArea { Picture, Region, Piece };

// What is known of the area measured that a fit's warnings weigh.
struct TPictureExtent {
    int Width = 0;
    int Height = 0;
    uint64_t ShapePixels = 0;
    TMeasuredArea Area = TMeasuredArea::Picture;
};

// The reasons to distrust a fit, as texts for the reader; none stops the analysis.
// `sizes` are every box size counted, `fit` the fit over the chosen range.
std::vector<std::string> FitWarnings(std::span<const int> sizes, const TScalingFit& fit,
                                     const TPictureExtent& picture);
