// The seven regressions and smoothings of a data series.

#include "graph/data/regression.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "graph/core/checked_float.h"
#include "graph/core/error.h"
#include "graph/data/data_series.h"

namespace {

struct TMeans {
    long double X = 0.0L;
    long double Y = 0.0L;
};

TMeans MeansOf(std::span<const TDataPoint> points)
{
    TMeans means;
    for (const TDataPoint& point : points) {
        means.X += point.X;
        means.Y += point.Y;
    }
    const auto n = static_cast<long double>(points.size());
    means.X /= n;
    means.Y /= n;
    return means;
}

// A parabola needs three different x values; with fewer its system is singular.
bool HasThreeDistinctX(std::span<const TDataPoint> points)
{
    const double first = points[0].X;
    const double* second = nullptr;
    for (const TDataPoint& point : points) {
        if (point.X == first)
            continue;
        if (second == nullptr)
            second = &point.X;
        else if (point.X != *second)
            return true;
    }
    return false;
}

}  // namespace

void TDataSeries::ComputeRegression()
{
    if (!FRegressionDirty)
        return;
    // Cleared first: a routine that fails is not retried until something changes.
    FRegressionDirty = false;
    switch (FRegressionType) {
    case rtNone:
        throw TVandrelError(kRegressionWithoutType);
    case rtLeastSquaresLine:
        LeastSquaresLine();
        break;
    case rtMedianSlopeLine:
        MedianSlopeLine();
        break;
    case rtLeastSquaresParabola:
        LeastSquaresParabola();
        break;
    case rtCubicSpline:
        CubicSpline();
        break;
    case rtLocalLinear:
        LocalLinearCurve();
        break;
    case rtExponentialSmoothing:
        ExponentialSmoothing();
        break;
    case rtRunningAverage:
        RunningAverage();
        break;
    default:
        throw TVandrelError(kUnknownRegressionType);
    }
}

void TDataSeries::FillFit(double a, double b, double c)
{
    for (TDataPoint& point : FPoints)
        point.Fit = a + b * point.X + c * point.X * point.X;
}

void TDataSeries::LeastSquaresLine()
{
    const TDataStats xStats = GetXStats();
    FCompStats.Quadratic = 0.0;
    if (FPoints.size() >= 2 && xStats.Variance != 0.0) {
        const TMeans means = MeansOf(FPoints);
        long double sxx = 0.0L, sxy = 0.0L;
        for (const TDataPoint& point : FPoints) {
            const long double dx = point.X - means.X;
            sxx += dx * dx;
            sxy += dx * (point.Y - means.Y);
        }
        const long double slope = Divide(sxy, sxx);
        FCompStats.Slope = static_cast<double>(slope);
        FCompStats.Intercept = static_cast<double>(means.Y - means.X * slope);
    } else {
        // Too few points or no spread in x. The variance of fewer than two points
        // is whatever an earlier computation left.
        FCompStats.Slope = xStats.Variance != 0.0 ? 1.0 : 0.0;
        FCompStats.Intercept = 0.0;
    }
    FillFit(FCompStats.Intercept, FCompStats.Slope, FCompStats.Quadratic);
}

void TDataSeries::MedianSlopeLine()
{
    const TDataStats xStats = GetXStats();
    if (FPoints.size() < 2 || xStats.Variance == 0.0) {
        LeastSquaresLine(); // takes the same degenerate line
        return;
    }
    std::vector<double> slopes;
    for (std::size_t i = 0; i < FPoints.size(); ++i) {
        for (std::size_t j = i + 1; j < FPoints.size(); ++j) {
            const TDataPoint& a = FPoints[i];
            const TDataPoint& b = FPoints[j];
            if (std::fabs(b.X - a.X) > FNumericalTolerance)
                slopes.push_back((a.Y - b.Y) / (a.X - b.X));
        }
    }
    std::sort(slopes.begin(), slopes.end());
    // With fewer than two slopes nothing is computed and both stay 0.
    TDataStats work;
    ComputeStats(slopes, work);
    FCompStats.Slope = work.Median;
    FCompStats.SlopeVariance = work.Variance;
    FCompStats.Quadratic = 0.0;

    std::vector<double> intercepts;
    intercepts.reserve(FPoints.size());
    for (const TDataPoint& point : FPoints)
        intercepts.push_back(point.Y - FCompStats.Slope * point.X);
    std::sort(intercepts.begin(), intercepts.end());
    ComputeStats(intercepts, work);
    FCompStats.Intercept = work.Median;
    FCompStats.InterceptVariance = work.Variance;
    FillFit(FCompStats.Intercept, FCompStats.Slope, 0.0);
}

void TDataSeries::LeastSquaresParabola()
{
    const TDataStats xStats = GetXStats();
    if (FPoints.size() >= 3 && xStats.Variance != 0.0) {
        const TMeans means = MeansOf(FPoints);
        long double meanX2 = 0.0L;
        for (const TDataPoint& point : FPoints)
            meanX2 += static_cast<long double>(point.X) * point.X;
        meanX2 /= static_cast<long double>(FPoints.size());
        // Centred sums of the normal equations in x and x^2.
        long double sxy = 0.0L, sx2y = 0.0L, sxx = 0.0L, sxx2 = 0.0L, sx2x2 = 0.0L;
        for (const TDataPoint& point : FPoints) {
            const long double dx = point.X - means.X;
            const long double dx2 = static_cast<long double>(point.X) * point.X - meanX2;
            const long double dy = point.Y - means.Y;
            sxy += dx * dy;
            sx2y += dx2 * dy;
            sxx += dx * dx;
            sxx2 += dx * dx2;
            sx2x2 += dx2 * dx2;
        }
        // Exactly singular with two distinct x values, whatever rounding leaves.
        const long double determinant = HasThreeDistinctX(FPoints) ? sxx * sx2x2 - sxx2 * sxx2 : 0.0L;
        const long double quadratic = Divide(sx2y * sxx - sxy * sxx2, determinant);
        const long double slope = Divide(sxy * sx2x2 - sx2y * sxx2, determinant);
        FCompStats.Quadratic = static_cast<double>(quadratic);
        FCompStats.Slope = static_cast<double>(slope);
        FCompStats.Intercept = static_cast<double>(means.Y - means.X * slope - meanX2 * quadratic);
    } else {
        FCompStats.Quadratic = 0.0;
        if (xStats.Variance == 0.0)
            FCompStats.Slope = 0.0;
        else
            FCompStats.Intercept = 0.0;
    }
    FillFit(FCompStats.Intercept, FCompStats.Slope, FCompStats.Quadratic);
}

void TDataSeries::BuildCurve(int32_t intervals, const std::function<double(double)>& valueAt)
{
    const double step = (FXMax - FXMin) / intervals;
    const double end = FXMax + step * 1e-5;
    for (double x = FXMin; x <= end;) {
        FCurve.push_back({x, valueAt(x)});
        const double next = x + step;
        // A step too small to move x would never end the walk.
        if (!(next > x))
            break;
        x = next;
    }
}

void TDataSeries::CubicSpline()
{
    FCurve.clear();
    const std::size_t n = FPoints.size();
    // A negative number of intervals would walk away from FXMax for ever.
    if (FDuplicatesAllowed || FRegressionControlValue1 <= 0 || n < 2)
        return;
    if (FBoundsDirty)
        UpdateBounds();

    // Second derivatives by the tridiagonal sweep; an end slope above 0.99e30
    // stands for a natural end.
    const double endSlope = FRegressionControlValue2;
    const auto x = [this](std::size_t i) { return FPoints[i].X; };
    const auto y = [this](std::size_t i) { return FPoints[i].Y; };
    std::vector<double> y2(n), u(n);
    if (endSlope <= 0.99e30) {
        y2[0] = -0.5;
        u[0] = (3.0 / (x(1) - x(0))) * ((y(1) - y(0)) / (x(1) - x(0)) - endSlope);
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double sig = (x(i) - x(i - 1)) / (x(i + 1) - x(i - 1));
        const double q = sig * y2[i - 1] + 2.0;
        y2[i] = (sig - 1.0) / q;
        u[i] = (6.0 * ((y(i + 1) - y(i)) / (x(i + 1) - x(i)) - (y(i) - y(i - 1)) / (x(i) - x(i - 1))) /
                    (x(i + 1) - x(i - 1)) -
                sig * u[i - 1]) /
               q;
    }
    double qn = 0.0, un = 0.0;
    if (endSlope <= 0.99e30) {
        qn = 0.5;
        un = (3.0 / (x(n - 1) - x(n - 2))) * (endSlope - (y(n - 1) - y(n - 2)) / (x(n - 1) - x(n - 2)));
    }
    y2[n - 1] = (un - qn * u[n - 2]) / (qn * y2[n - 2] + 1.0);
    for (std::size_t k = n - 1; k-- > 0;)
        y2[k] = y2[k] * y2[k + 1] + u[k];
    for (std::size_t i = 0; i < n; ++i)
        FPoints[i].Fit = y2[i];

    // The curve positions rise, so on sorted points the search for the interval
    // can go on from where the previous one stopped.
    std::size_t reached = 0;
    BuildCurve(FRegressionControlValue1, [&](double at) {
        if (FDescents != 0)
            reached = 0;
        while (reached + 1 < n && FPoints[reached].X < at)
            ++reached;
        const std::size_t hi = std::max<std::size_t>(reached, 1);
        const std::size_t lo = hi - 1;
        const double h = x(hi) - x(lo);
        const double a = (x(hi) - at) / h;
        const double b = (at - x(lo)) / h;
        return a * y(lo) + b * y(hi) + ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * h * h / 6.0;
    });
}

void TDataSeries::LocalLinearCurve()
{
    FCurve.clear();
    if (FRegressionControlValue1 <= 0 || FPoints.empty())
        return;
    if (FBoundsDirty)
        UpdateBounds();
    if (FXMin == FXMax)
        return;

    // Positions are mapped onto 1 ... 2 so that the weights see the same scale
    // whatever the units of x.
    const long double range = static_cast<long double>(FXMax) - FXMin;
    const long double weightConstant = FRegressionControlValue2;
    BuildCurve(FRegressionControlValue1, [&](double at) {
        const long double d = (at - FXMin + range) / range;
        long double sw = 0.0L, swr = 0.0L, swy = 0.0L, swrr = 0.0L, swry = 0.0L;
        for (const TDataPoint& point : FPoints) {
            const long double r = (point.X - FXMin + range) / range;
            const long double u = std::fabs(d - r);
            const long double w = Divide(std::exp(u), u * u * u + weightConstant);
            sw += w;
            swr += w * r;
            swy += w * point.Y;
            swrr += w * r * r;
            swry += w * r * point.Y;
        }
        const long double b = Divide(sw * swry - swr * swy, sw * swrr - swr * swr);
        return static_cast<double>(b * d + swy / sw - b * (swr / sw));
    });
}

void TDataSeries::ExponentialSmoothing()
{
    if (FPoints.empty())
        return;
    const double alpha = FRegressionControlValue2;
    FPoints[0].Fit = FPoints[0].Y;
    for (std::size_t i = 1; i < FPoints.size(); ++i)
        FPoints[i].Fit = alpha * FPoints[i].Y + (1.0 - alpha) * FPoints[i - 1].Fit;
}

void TDataSeries::RunningAverage()
{
    if (FPoints.empty())
        return;
    // The quotient in extended precision, where 1 / 0.05 lies just below 20 and
    // gives a window of 19: stored graphs were made with those lengths.
    const long double reciprocal = Divide(1.0L, static_cast<long double>(FRegressionControlValue2));
    if (!(reciprocal >= 2.0L))
        throw TVandrelError(kInvalidRunningAverageLimit);
    // A window longer than the series averages all points so far, like one as long.
    const std::size_t length = reciprocal >= static_cast<long double>(FPoints.size())
                                   ? FPoints.size()
                                   : static_cast<std::size_t>(reciprocal);
    long double sum = 0.0L;
    for (std::size_t i = 0; i < FPoints.size(); ++i) {
        sum += FPoints[i].Y;
        if (i >= length)
            sum -= FPoints[i - length].Y;
        const std::size_t held = std::min(i + 1, length);
        FPoints[i].Fit = static_cast<double>(sum / static_cast<long double>(held));
    }
}
