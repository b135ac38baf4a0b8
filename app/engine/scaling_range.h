#pragma once

#include <span>

#include "app/engine/result_series.h"

// The widest run of neighbouring sizes over which log10 N(d) is straight, for a fit
// that leaves out where the shape stops scaling (boxes near a pixel, boxes near the
// picture).
//
// A run is straight when every count in it lies within 5 % of its own least-squares
// line, or within one box where one box is more than 5 % (a count of 20 or less
// cannot lie closer): |log10 N − line| <= max(log10 1.05, log10((N + 1) / N)).
// The residuals decide, not r, which is close to 1 for a bent series too.
// Of the straight runs of at least min(5, all) sizes the one with the most sizes
// wins; then the one spanning more decades; then the one starting at the smaller
// size. When no run of that length is straight, the run of that length whose worst
// count lies closest to its line (in units of its tolerance) is taken, so the choice
// always exists and is always the same for the same counts.
//
// Counts are in strictly ascending order of box size, none zero.
std::span<const TBoxCount> StraightestScalingRange(std::span<const TBoxCount> counts);
