#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/measure/count_method.h"
#include "app/engine/count_progress.h"
#include "app/engine/fit_warnings.h"
#include "app/engine/offset_counter.h"
#include "app/engine/offset_dimensions.h"
#include "app/engine/pixel_mask.h"
#include "app/engine/result_series.h"
#include "app/engine/scaling_fit.h"
#include "graph/data/data_stats.h"

// The box counts of one shape's mask and the line fitted to them.
struct TShapeMeasurement {
    std::vector<TBoxCount> Counts; // the counts of the grid mode, the minimum under "min" and "all"
    TCompStats Stats; // of the least-squares line, as the results display reads it
    // False when r could not be computed (fewer than three sizes, or no spread in
    // the counts); Stats.R then holds 0, as the window shows it.
    bool HasCorrelation = false;

    // Only with the method's details; Stats and HasCorrelation are then those of Fit.
    std::vector<TOffsetCounts> OffsetCounts; // every size, under the grid "all"
    std::optional<TScalingFit> Fit; // over the chosen range of sizes
    std::optional<TOffsetDimensions> OffsetDimensions; // over the fitted sizes, under the grid "all"
    std::vector<std::string> Warnings;
    uint64_t ShapePixels = 0;
};

// Counts the boxes of `mask` holding a set bit for every size, laid as `method` says,
// and fits the line to the range it chooses; with details the method must leave at
// least two sizes to fit. The mask holds a set bit; `area` says what it covers, for
// the warnings. With `progress`, each size counted is reported, and a stop asked for
// ends the measurement between sizes with TCountingStopped.
TShapeMeasurement MeasureShape(const TPixelMask& mask, std::span<const int> sizes, const TCountMethod& method,
                               TMeasuredArea area = TMeasuredArea::Picture, TCountProgress* progress = nullptr);
