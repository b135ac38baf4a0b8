#include "app/engine/scaling_fit.h"

#include <algorithm>
#include <cmath>

#include "app/engine/decimal_log.h"
#include "app/engine/student_t.h"
#include "graph/core/error.h"

TScalingFit FitScaling(std::span<const TBoxCount> counts)
{
    std::vector<int> boxSizes;
    std::vector<long double> boxes;
    for (const TBoxCount& count : counts) {
        boxSizes.push_back(count.BoxSize);
        boxes.push_back(static_cast<long double>(count.Boxes));
    }
    return FitScaling(boxSizes, boxes);
}

TScalingFit FitScaling(std::span<const int> boxSizes, std::span<const long double> counts)
{
    const auto n = boxSizes.size();
    if (n < 2)
        throw TVandrelError("A fit needs at least two box sizes");
    std::vector<long double> x, y;
    for (std::size_t i = 0; i < n; ++i) {
        x.push_back(Log10(boxSizes[i]));
        y.push_back(Log10(counts[i]));
    }
    long double meanX = 0.0L, meanY = 0.0L;
    for (std::size_t i = 0; i < n; ++i) {
        meanX += x[i];
        meanY += y[i];
    }
    meanX /= n;
    meanY /= n;
    // Sums about the means, which keep their precision where raw sums of squares
    // would cancel.
    long double sxx = 0.0L, sxy = 0.0L, syy = 0.0L;
    for (std::size_t i = 0; i < n; ++i) {
        sxx += (x[i] - meanX) * (x[i] - meanX);
        sxy += (x[i] - meanX) * (y[i] - meanY);
        syy += (y[i] - meanY) * (y[i] - meanY);
    }
    if (sxx == 0.0L)
        throw TVandrelError("A fit needs at least two box sizes");

    TScalingFit fit;
    fit.From = boxSizes.front();
    fit.To = boxSizes.back();
    fit.Count = static_cast<int>(n);
    fit.Slope = sxy / sxx;
    fit.Intercept = meanY - fit.Slope * meanX;
    if (n >= 3 && syy > 0.0L) {
        fit.HasCorrelation = true;
        fit.R = sxy / std::sqrt(sxx * syy);
        fit.R2 = fit.R * fit.R;
    }
    if (n >= 3) {
        const long double residualSquares = std::max(0.0L, syy - fit.Slope * sxy);
        fit.HasUncertainty = true;
        fit.SlopeStandardError = std::sqrt(residualSquares / (n - 2) / sxx);
        const long double halfWidth = StudentT95(static_cast<int>(n - 2)) * fit.SlopeStandardError;
        fit.DimensionLow = -fit.Slope - halfWidth;
        fit.DimensionHigh = -fit.Slope + halfWidth;
    }
    for (std::size_t i = 1; i < n; ++i)
        fit.LocalSlopes.push_back((y[i] - y[i - 1]) / (x[i] - x[i - 1]));
    return fit;
}

std::span<const TBoxCount> CountsBetween(std::span<const TBoxCount> counts, int from, int to)
{
    const auto first = std::find_if(counts.begin(), counts.end(),
                                    [from](const TBoxCount& count) { return count.BoxSize >= from; });
    const auto last = std::find_if(first, counts.end(),
                                   [to](const TBoxCount& count) { return count.BoxSize > to; });
    return {first, last};
}
