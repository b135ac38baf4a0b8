#pragma once

#include <span>
#include <vector>

#include "app/engine/result_series.h"

// The least-squares line through (log10 d, log10 N(d)) of a range of counts, with
// what a reader needs to judge it. The dimension is D = −Slope.
struct TScalingFit {
    int From = 0;  // smallest fitted box size
    int To = 0;    // largest fitted box size
    int Count = 0;  // n, the number of fitted sizes
    long double Slope = 0.0L;
    long double Intercept = 0.0L;
    // r and r²; false (and both 0) with fewer than three sizes or the same count at
    // every size.
    bool HasCorrelation = false;
    long double R = 0.0L;
    long double R2 = 0.0L;
    // The standard error of the slope and the 95 % interval of D (Student's t with
    // n − 2 degrees of freedom); false (and all 0) with fewer than three sizes.
    bool HasUncertainty = false;
    long double SlopeStandardError = 0.0L;
    long double DimensionLow = 0.0L;
    long double DimensionHigh = 0.0L;
    // Between each pair of neighbouring fitted sizes: Δlog10 N / Δlog10 d.
    std::vector<long double> LocalSlopes;
};

// Fits every count given; they are in strictly ascending order of box size, at least two
// sizes, and no count is zero ("Floating point division by zero").
TScalingFit FitScaling(std::span<const TBoxCount> counts);
// The same for counts that need not be whole, such as the mean count over grid
// offsets; one count per box size, all above zero.
TScalingFit FitScaling(std::span<const int> boxSizes, std::span<const long double> counts);

// The counts whose box size lies from `from` to `to`, both included (counts in
// ascending order of box size).
std::span<const TBoxCount> CountsBetween(std::span<const TBoxCount> counts, int from, int to);
