#pragma once

#include "app/engine/result_series.h"
#include "app/window/analysis_result.h"

class TZemplot;

// The series of the results graph.
inline constexpr int kFittedSeries = 1;  // the counts fitted; the series draws their line
inline constexpr int kOutsideSeries = 2; // the counts outside the fitted range
inline constexpr int kLocalSlopeSeries = 3; // the local dimensions, against the second y axis

// Puts the counts of `result` on `graph` and returns axis limits that hold them all.
// Without the fit's details every count is in the fitted series, as ever. With them
// the fitted series holds only the fitted sizes, so its line spans their range alone;
// the others go to the outside series, the local dimensions (the negated slopes at the
// middle of each pair of neighbouring fitted sizes) to the second y axis, and a legend names the three.
TResultAxisLimits ShowCountsOnGraph(TZemplot& graph, const TAnalysisResult& result);

// Empties the fitted series and takes the details' series, legend and axis away.
void ClearCountsFromGraph(TZemplot& graph);
