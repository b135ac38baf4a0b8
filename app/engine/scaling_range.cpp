#include "app/engine/scaling_range.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/engine/decimal_log.h"

namespace {

struct TLogPoint {
    long double X = 0.0L;
    long double Y = 0.0L;
    long double Tolerance = 0.0L;
};

// Running sums of x, y, x², xy, so that the line through any run costs the same
// whatever its length.
class TRunningSums {
public:
    explicit TRunningSums(const std::vector<TLogPoint>& points)
        : Sums(points.size() + 1)
    {
        for (std::size_t i = 0; i < points.size(); ++i) {
            const TLogPoint& p = points[i];
            Sums[i + 1] = {Sums[i].X + p.X, Sums[i].Y + p.Y, Sums[i].XX + p.X * p.X, Sums[i].XY + p.X * p.Y};
        }
    }

    // Slope and intercept of the least-squares line through [first, first + length).
    std::pair<long double, long double> Line(std::size_t first, std::size_t length) const
    {
        const TSums& a = Sums[first];
        const TSums& b = Sums[first + length];
        const long double n = length;
        const long double x = b.X - a.X, y = b.Y - a.Y;
        const long double sxx = (b.XX - a.XX) - x * x / n;
        const long double sxy = (b.XY - a.XY) - x * y / n;
        const long double slope = sxx > 0.0L ? sxy / sxx : 0.0L;
        return {slope, (y - slope * x) / n};
    }

private:
    struct TSums {
        long double X = 0.0L, Y = 0.0L, XX = 0.0L, XY = 0.0L;
    };
    std::vector<TSums> Sums;
};

long double ScaledResidual(const TLogPoint& point, std::pair<long double, long double> line)
{
    return std::fabs(point.Y - (line.second + line.first * point.X)) / point.Tolerance;
}

// Whether every point of [first, first + length) lies within its tolerance of the
// run's line. The ends are looked at first: a bent run shows it there soonest.
bool IsStraight(const std::vector<TLogPoint>& points, const TRunningSums& sums, std::size_t first,
                std::size_t length)
{
    const auto line = sums.Line(first, length);
    for (std::size_t low = first, high = first + length - 1; low <= high; ++low, --high) {
        if (ScaledResidual(points[low], line) > 1.0L || ScaledResidual(points[high], line) > 1.0L)
            return false;
    }
    return true;
}

// The largest residual of [first, first + length) in units of each point's tolerance.
long double WorstResidual(const std::vector<TLogPoint>& points, const TRunningSums& sums, std::size_t first,
                          std::size_t length)
{
    const auto line = sums.Line(first, length);
    long double worst = 0.0L;
    for (std::size_t i = first; i < first + length; ++i)
        worst = std::max(worst, ScaledResidual(points[i], line));
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
    const TRunningSums sums(points);
    for (std::size_t length = n; length >= shortest; --length) {
        std::size_t best = n;
        long double bestSpan = 0.0L;
        for (std::size_t first = 0; first + length <= n; ++first) {
            const long double span = points[first + length - 1].X - points[first].X;
            if ((best == n || span > bestSpan) && IsStraight(points, sums, first, length)) {
                best = first;
                bestSpan = span;
            }
        }
        if (best != n)
            return counts.subspan(best, length);
    }
    std::size_t best = 0;
    long double bestWorst = WorstResidual(points, sums, 0, shortest);
    for (std::size_t first = 1; first + shortest <= n; ++first) {
        const long double worst = WorstResidual(points, sums, first, shortest);
        if (worst < bestWorst) {
            best = first;
            bestWorst = worst;
        }
    }
    return counts.subspan(best, shortest);
}
