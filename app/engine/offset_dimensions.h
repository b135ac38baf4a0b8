#pragma once

#include <span>

#include "app/engine/offset_counter.h"

// D fitted over the same sizes to each statistic of the counts over grid offsets: how
// far the answer moves with where the grid is laid.
struct TOffsetDimensions {
    long double TopLeft = 0.0L;
    long double Min = 0.0L;
    long double Mean = 0.0L;

    // The largest of the three less the smallest.
    long double Spread() const;
};

// The dimensions of the counts whose box sizes lie from `from` to `to`, both included;
// `boxSizes` ascending, one entry of `counts` each, at least two of them in the range,
// the shape not empty.
TOffsetDimensions DimensionsOverOffsets(std::span<const int> boxSizes, std::span<const TOffsetCounts> counts,
                                        int from, int to);
