#pragma once

#include <span>

#include "graph/data/data_point.h"
#include "graph/data/data_stats.h"

inline constexpr const char* kTooFewPointsForCorrelation =
    "No Correlation available unless at least 3 points exist";
inline constexpr const char* kNoVarianceForCorrelation =
    "Invalid Correlation due to lack of variance in a variable";

// Pearson's r of the points with its 95 % confidence limits (10 points or more) and
// its two-sided significance, into the correlation fields of `stats`. Valid is set
// first, so a computation that fails is not repeated until the points change; a
// failure sets Msg and leaves the numbers as they were, and a success keeps the Msg
// of an earlier failure.
void ComputeCorrelation(std::span<const TDataPoint> points, TCompStats& stats);
