#include "app/engine/offset_dimensions.h"

#include <algorithm>
#include <vector>

#include "app/engine/scaling_fit.h"

long double TOffsetDimensions::Spread() const
{
    return std::max({TopLeft, Min, Mean}) - std::min({TopLeft, Min, Mean});
}

TOffsetDimensions DimensionsOverOffsets(std::span<const int> boxSizes, std::span<const TOffsetCounts> counts,
                                        int from, int to)
{
    std::vector<int> fitted;
    std::vector<long double> topLeft, least, mean;
    for (std::size_t i = 0; i < boxSizes.size(); ++i) {
        if (boxSizes[i] < from || boxSizes[i] > to)
            continue;
        fitted.push_back(boxSizes[i]);
        topLeft.push_back(static_cast<long double>(counts[i].TopLeft));
        least.push_back(static_cast<long double>(counts[i].Min));
        mean.push_back(counts[i].Mean);
    }
    return {-FitScaling(fitted, topLeft).Slope, -FitScaling(fitted, least).Slope, -FitScaling(fitted, mean).Slope};
}
