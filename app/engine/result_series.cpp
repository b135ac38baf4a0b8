#include "app/engine/result_series.h"

#include <algorithm>
#include <cmath>

#include "app/engine/decimal_log.h"

TResultAxisLimits FillResultSeries(TDataSeries& series, std::span<const TBoxCount> counts)
{
    series.Clear();
    long double largestX = 0.0L, largestY = 0.0L;
    long double smallestX = 100.0L, smallestY = 100.0L;
    for (const TBoxCount& count : counts) {
        const long double x = Log10(count.BoxSize);
        const long double y = Log10(static_cast<long double>(count.Boxes));
        series.AddPoint(static_cast<double>(x), static_cast<double>(y));
        largestX = std::max(largestX, x);
        smallestX = std::min(smallestX, x);
        largestY = std::max(largestY, y);
        smallestY = std::min(smallestY, y);
    }
    // nearbyint under the default rounding mode takes halves to the even neighbour.
    return {
        .XMin = static_cast<double>(std::nearbyint(smallestX - 1.0L)),
        .XMax = static_cast<double>(std::nearbyint(largestX + 1.0L)),
        .YMin = static_cast<double>(std::nearbyint(smallestY - 2.0L)),
        .YMax = static_cast<double>(std::nearbyint(largestY + 1.0L)),
    };
}
