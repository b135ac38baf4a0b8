#pragma once

#include <span>

#include "app/engine/result_series.h"
#include "graph/data/data_stats.h"

// The least-squares line through (log10 d, log10 N(d)) of every count.
struct TBoxCountFit {
    TCompStats Stats;
    // False when r cannot be computed (fewer than three sizes, or the same count at
    // every size); Stats.R then holds 0, never a value of another fit.
    bool HasCorrelation = false;
};

// Fits the line in a series of its own, so that nothing of an earlier fit shows
// through. A count of zero raises "Floating point division by zero".
TBoxCountFit FitBoxCounts(std::span<const TBoxCount> counts);
