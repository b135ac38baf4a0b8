#pragma once

#include <cstdint>
#include <vector>

#include "app/engine/pixel_mask.h"

// Counts, for a box size d, the d-by-d boxes that hold at least one set bit of a
// mask. Boxes are laid from the top-left corner and never shifted: columns start at
// x = 0, d, 2d, ... and rows at y = 0, d, 2d, ...; the boxes on the right and bottom
// edges reach past the picture and only their part inside it counts.
//
// Each count reads the mask word by word. A band of d rows is first ORed into one
// row, helped by ORs of aligned groups of 4, 8, 16, ... rows made once, so that a
// band costs a few row reads whatever its height; then each box of the band is one
// test. Extra memory: half the mask plus a few rows.
class TBoxCounter {
public:
    // The mask must outlive the counter.
    explicit TBoxCounter(const TPixelMask& mask);

    // N(d) for a box size d of at least 1.
    uint64_t Count(int boxSize);

private:
    void OrBand(int firstRow, int endRow);
    uint64_t CountBoxesOfBand(int boxSize);

    const TPixelMask& FMask;
    // Level k, for groups of g = 4 * 2^k rows: row j is the OR of mask rows g j to
    // g j + g - 1.
    std::vector<TPixelMask> FGroups;
    std::vector<uint64_t> FBand;
    std::vector<uint64_t> FWindow;
    std::vector<uint64_t> FBoxStarts; // bit x set where a box of the current size starts
    int FBoxStartsSize = 0;
};
