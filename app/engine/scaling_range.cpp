#include "app/engine/scaling_range.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/engine/decimal_log.h"

namespace {

struct TLogPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
    long double Tolerance = 0.0L;
};

// The largest residual of points [first, first + length) from their line, each in
// units of its tolerance: at most 1 means straight.
long double WorstResidual(const std::vector<TLogPoint>& points, std::size_t first, std::size_t length)
{
    long double meanX = 0.0L, meanY = 0.0L;
    for (std::size_t i = first; i < first + length; ++i) {
        meanX += points[i].X;
        meanY += points[i].Y;
    }
    meanX /= length;
    meanY /= length;
    long double sxx = 0.0L, sxy = 0.0L;
    for (std::size_t i = first; i < first + length; ++i) {
        sxx += (points[i].X - meanX) * (points[i].X - meanX);
        sxy += (points[i].X - meanX) * (points[i].Y - meanY);
    }
    const long double slope = sxx > 0.0L ? sxy / sxx : 0.0L;
    long double worst = 0.0L;
    for (std::size_t i = first; i < first + length; ++i) {
        const long double residual = points[i].Y - (meanY + slope * (points[i].X - meanX));
        worst = std::max(worst, std::fabs(residual) / points[i].Tolerance);
    }
    return worst;
}

}  // namespace

std::span<const TBoxCount> StraightestScalingRange(std::span<const TBoxCount> counts)
{
    const std::size_t n = counts.size();
    const std::size_t shortest = std::min<std::size_t>(5, n);
    if (n <= shortest)
        return counts;
    std::vector<TLogPoint> points;
    const long double fivePercent = Log10(1.05L);
    for (const TBoxCount& count : counts) {
        const long double boxes = static_cast<long double>(count.Boxes);
        points.push_back({Log10(count.BoxSize), Log10(boxes), std::max(fivePercent, Log10((boxes + 1) / boxes))});
    }
    for (std::size_t length = n; length >= shortest; --length) {
        std::size_t best = n;
        long double bestSpan = 0.0L;
        for (std::size_t first = 0; first + length <= n; ++first) {
            const long double span = points[first + length - 1].X - points[first].X;
            if (WorstResidual(points, first, length) <= 1.0L && (best == n || span > bestSpan)) {
                best = first;
                bestSpan = span;
            }
        }
        if (best != n)
            return counts.subspan(best, length);
    }
    std::size_t best = 0;
    long double bestWorst = WorstResidual(points, 0, shortest);
    for (std::size_t first = 1; first + shortest <= n; ++first) {
        const long double worst = WorstResidual(points, first, shortest);
        if (worst < bestWorst) {
            best = first;
            bestWorst = worst;
        }
    }
    return counts.subspan(best, shortest);
}
