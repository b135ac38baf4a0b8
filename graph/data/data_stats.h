#pragma once

#include <cstdint>
#include <span>
#include <string>

// Descriptive statistics of the x or the y values of a series.
struct TDataStats {
    bool Valid = false;  // reflects the present points
    std::string Msg;     // why statistics are missing or partial; empty after a full run
    bool Failed = false; // nothing could be computed
    int32_t Count = 0;
    double Mean = 0.0;
    double Median = 0.0;
    double Mode = 0.0;
    double Sum = 0.0;
    double Variance = 0.0; // sample variance, divisor n - 1
    double Skew = 0.0;
    double Kurtosis = 0.0; // excess kurtosis
    double LowFifth = 0.0;
    double HighFifth = 0.0;
    double LowQuartile = 0.0;
    double HighQuartile = 0.0;
};

// Correlation of x and y, and the coefficients of the series' regression.
struct TCompStats {
    bool Valid = false;  // the correlation part reflects the present points
    std::string Msg;     // text of the last correlation failure, kept after a success
    bool Failed = false; // too few points for a correlation
    double RSquared = 0.0;
    double R = 0.0;
    double RLow = 0.0;   // 95 % confidence limits of R; 0 with fewer than 10 points
    double RHigh = 0.0;
    double RLowSquared = 0.0;
    double RHighSquared = 0.0;
    double Significance = 0.0; // two-sided probability of such an R by chance
    double Slope = 0.0;
    double Intercept = 0.0;
    double Quadratic = 0.0;
    double SlopeVariance = 0.0;     // median-slope regression only
    double InterceptVariance = 0.0; // median-slope regression only
};

inline constexpr const char* kTooFewValuesForStatistics =
    "No Statistics are available unless more than one point exists";
inline constexpr const char* kNoDevianceInData =
    "No skew/kurtosis are available because there is no deviance in the data";
