#pragma once

#include <cstdint>
#include <span>

#include "graph/data/data_series.h"

// N(d) for one box size d.
struct TBoxCount {
    int BoxSize = 0;
    uint64_t Boxes = 0;
};

// Limits for the axes of the results graph, whole numbers around the points.
struct TResultAxisLimits {
    double XMin = 0.0;
    double XMax = 0.0;
    double YMin = 0.0;
    double YMax = 0.0;
};

// Empties `series` and adds the point (log10 d, log10 N(d)) of every count in order.
// The limits round the largest log10(d) and log10(N) plus 1, the smallest log10(d)
// minus 1 and the smallest log10(N) minus 2, halves to even. The extremes start at
// 0 (largest) and 100 (smallest), so with no counts the limits are 1, 1, 99 and 98.
// A count of zero raises "Floating point division by zero" with the earlier points
// already added.
TResultAxisLimits FillResultSeries(TDataSeries& series, std::span<const TBoxCount> counts);
