#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/data/correlation.h"
#include "graph/data/data_series.h"

void TDataSeries::RefreshValueStats(TDataStats& stats, double TDataPoint::*value, bool sortFirst)
{
    if (stats.Valid)
        return;
    stats.Valid = true;
    if (FPoints.empty()) {
        stats.Count = 0;
        stats.Sum = 0.0;
        return;
    }
    std::vector<double> values;
    values.reserve(FPoints.size());
    for (const TDataPoint& point : FPoints)
        values.push_back(point.*value);
    if (sortFirst)
        std::sort(values.begin(), values.end());
    ComputeStats(values, stats);
}

TDataStats TDataSeries::GetXStats()
{
    // The points run in ascending x already.
    RefreshValueStats(FXStats, &TDataPoint::X, false);
    return FXStats;
}

TDataStats TDataSeries::GetYStats()
{
    RefreshValueStats(FYStats, &TDataPoint::Y, true);
    return FYStats;
}

TCompStats TDataSeries::GetCompStats()
{
    if (!FCompStats.Valid)
        ComputeCorrelation(FPoints, FCompStats);
    if (FRegressionType != 0 && FRegressionDirty)
        ComputeRegression();
    return FCompStats;
}

void TDataSeries::ComputeStats(std::span<const double> ascending, TDataStats& stats) const
{
    const std::size_t n = ascending.size();
    if (n <= 1) {
        stats.Msg = kTooFewValuesForStatistics;
        stats.Failed = true;
        return;
    }
    stats.Msg.clear();
    stats.Failed = false;
    stats.Count = static_cast<int32_t>(n);

    long double sum = 0.0L;
    for (const double v : ascending)
        sum += v;
    const long double mean = sum / static_cast<long double>(n);
    stats.Sum = static_cast<double>(sum);
    stats.Mean = static_cast<double>(mean);

    // Positions count from 1; position 0 (the fifth of fewer than 5 values, the
    // quarter of fewer than 4) names no value and leaves its field alone.
    const auto at = [&](std::size_t position) { return ascending[position - 1]; };
    const std::size_t fifth = n / 5;
    const std::size_t quarter = n / 4;
    if (fifth > 0)
        stats.LowFifth = at(fifth);
    stats.HighFifth = at(n - fifth);
    if (quarter > 0)
        stats.LowQuartile = at(quarter);
    stats.HighQuartile = at(n - quarter);
    stats.Median = at(n / 2);

    // Mode: the value that closes the longest run of values within the tolerance of
    // the run's first value; the first value counts in its own run, and the earlier
    // of two equal runs wins.
    double anchor = ascending[0];
    int run = 0;
    int best = 0;
    stats.Mode = 0.0;
    for (const double v : ascending) {
        if (std::fabs(v - anchor) > FNumericalTolerance) {
            anchor = v;
            run = 0;
        } else if (++run > best) {
            best = run;
            stats.Mode = v;
        }
    }

    // Deviations from the mean rather than sums of squares, which cancel badly.
    long double d2 = 0.0L, d3 = 0.0L, d4 = 0.0L;
    double lowest = ascending[0], highest = ascending[0];
    for (const double v : ascending) {
        const long double d = v - mean;
        d2 += d * d;
        d3 += d * d * d;
        d4 += d * d * d * d;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    if (lowest == highest) {
        // Tested on the values themselves: a mean rounded by a hair must not turn
        // equal values into a spread.
        stats.Variance = 0.0;
        stats.Msg = kNoDevianceInData;
        stats.Skew = 0.0;
        stats.Kurtosis = 0.0;
        return;
    }
    const long double variance = d2 / static_cast<long double>(n - 1);
    const long double s = std::sqrt(variance);
    stats.Variance = static_cast<double>(variance);
    stats.Skew = static_cast<double>(d3 / (static_cast<long double>(n) * s * s * s));
    stats.Kurtosis = static_cast<double>(d4 / (static_cast<long double>(n) * s * s * s * s) - 3.0L);
}
