#include "graph/data/correlation.h"

#include <algorithm>
#include <cmath>

#include "graph/data/incomplete_beta.h"

namespace {

// (e^2v - 1) / (e^2v + 1), the inverse of Fisher's transformation.
double FisherInverse(double v)
{
    const double e = std::exp(2.0 * v);
    return (e - 1.0) / (e + 1.0);
}

}  // namespace

void ComputeCorrelation(std::span<const TDataPoint> points, TCompStats& stats)
{
    stats.Valid = true;
    stats.Failed = false;
    const std::size_t n = points.size();
    if (n < 3) {
        stats.Failed = true;
        stats.Msg = kTooFewPointsForCorrelation;
        return;
    }

    long double sumX = 0.0L, sumY = 0.0L;
    for (const TDataPoint& point : points) {
        sumX += point.X;
        sumY += point.Y;
    }
    const long double meanX = sumX / static_cast<long double>(n);
    const long double meanY = sumY / static_cast<long double>(n);
    long double sxx = 0.0L, syy = 0.0L, sxy = 0.0L;
    bool xVaries = false, yVaries = false;
    for (const TDataPoint& point : points) {
        const long double dx = point.X - meanX;
        const long double dy = point.Y - meanY;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
        xVaries = xVaries || point.X != points[0].X;
        yVaries = yVaries || point.Y != points[0].Y;
    }
    if (!xVaries || !yVaries || sxx == 0.0L || syy == 0.0L) {
        stats.Msg = kNoVarianceForCorrelation;
        return;
    }

    // Rounding can carry a perfect correlation a hair beyond +-1.
    const double r = std::clamp(static_cast<double>(sxy / std::sqrt(sxx * syy)), -1.0, 1.0);
    stats.R = r;
    stats.RSquared = r * r;
    if (n < 10) {
        stats.RLow = 0.0;
        stats.RHigh = 0.0;
    } else if (std::fabs(r) == 1.0) {
        // Fisher's transformation is infinite here; the limits close in on r.
        stats.RLow = r;
        stats.RHigh = r;
    } else {
        const double z = 0.5 * std::log((1.0 + r) / (1.0 - r));
        const double g = 1.96 / std::sqrt(static_cast<double>(n) - 3.0);
        stats.RLow = FisherInverse(z - g);
        stats.RHigh = FisherInverse(z + g);
    }
    stats.RLowSquared = stats.RLow * stats.RLow;
    stats.RHighSquared = stats.RHigh * stats.RHigh;

    const double df = static_cast<double>(n) - 2.0;
    const double t = r * std::sqrt(df / ((1.0 - r + 1e-20) * (1.0 + r + 1e-20)));
    stats.Significance = IncompleteBeta(df / 2.0, 0.5, df / (df + t * t));
}
