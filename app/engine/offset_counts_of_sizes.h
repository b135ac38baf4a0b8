#pragma once

#include <vector>

#include "app/engine/offset_counter.h"
#include "app/engine/pixel_mask.h"

// TOffsetCounter's counts for every size of `boxSizes`, in that order (counted
// smallest first, whatever the order). Large pictures share the sizes among the
// processor's cores, each with a counter of its own; small ones are counted on the calling thread, where starting threads would
// cost more than it saves.
std::vector<TOffsetCounts> CountOverOffsets(const TPixelMask& mask, const std::vector<int>& boxSizes);
