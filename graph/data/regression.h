#pragma once

#include <cstdint>

// The kinds of regression and smoothing a series can carry (its RegressionType).
enum TRegressionType : uint8_t {
    rtNone = 0,
    rtLeastSquaresLine = 1,
    rtMedianSlopeLine = 2,
    rtLeastSquaresParabola = 3,
    rtCubicSpline = 4,
    rtLocalLinear = 5,
    rtExponentialSmoothing = 6,
    rtRunningAverage = 7,
};

inline constexpr const char* kRegressionWithoutType = "internal error: regression";
inline constexpr const char* kUnknownRegressionType = "Unknown regression type";
inline constexpr const char* kInvalidRunningAverageLimit = "Invalid Running Average limit";
