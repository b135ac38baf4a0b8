#pragma once

#include <cstdint>
#include <vector>

#include "app/engine/count_progress.h"
#include "app/engine/offset_counter.h"
#include "app/engine/pixel_mask.h"

// TOffsetCounter's counts for every size of `boxSizes`, in that order (counted
// smallest first, whatever the order). Large pictures share the sizes among the
// processor's cores, each with a counter of its own; small ones are counted on the
// calling thread, where starting threads would cost more than it saves. Sizes beyond
// the picture's larger side are not counted but follow from that side's counts, so
// neither time nor memory grows with them. With `progress`, each size counted is
// reported and a stop asked for ends the counting between sizes (TCountingStopped).
std::vector<TOffsetCounts> CountOverOffsets(const TPixelMask& mask, const std::vector<int>& boxSizes,
                                            TCountProgress* progress = nullptr);

// The most memory CountOverOffsets takes beside the mask for a picture of that size
// when its largest box size is `largestBoxSize`: every core's counter holds about
// (W + d)(H + d) bits.
uint64_t OffsetCountingMemory(int width, int height, int largestBoxSize);
