#pragma once

#include <cstdint>

// One point of a data series. Points are kept in ascending x.
struct TDataPoint {
    int32_t Id = 0;   // 1, 2, 3, ... in order of creation since the last Clear
    double X = 0.0;
    double Y = 0.0;   // as added, without the series' ZeroValue
    double Fit = 0.0; // fitted y of the regression at X
};

// One node of the curve that the spline and the local regression draw.
struct TCurveNode {
    double X = 0.0;
    double Fit = 0.0;
};
