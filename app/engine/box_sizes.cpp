#include "app/engine/box_sizes.h"

#include "graph/core/error.h"

std::vector<int> BoxSizes(int minimum, int maximum, int step)
{
    if (step < 1)
        throw TVandrelError("The step between box sizes must be at least 1");
    std::vector<int> sizes;
    // Wide arithmetic, so a large step cannot wrap back below the maximum.
    for (long long d = minimum; d <= maximum; d += step)
        sizes.push_back(static_cast<int>(d));
    return sizes;
}
