#pragma once

#include <cstdint>
#include <vector>

#include "app/engine/pixel_mask.h"

// The box count of one size over every placement of the grid. For a box size d and
// an offset (ox, oy), 0 <= ox, oy < d, the box edges lie at x = ox + k d and
// y = oy + k d; a box counts when it holds a set bit (boxes cut by any edge of the
// picture count by their part inside it). Offset (0, 0) is TBoxCounter's grid.
struct TOffsetCounts {
    uint64_t TopLeft = 0; // the count at offset (0, 0)
    uint64_t Min = 0;
    uint64_t Max = 0;
    double Mean = 0.0; // over all d * d offsets
};

// Counts all d * d offsets at once, exactly. Every box that meets the picture starts
// at some (s, t) with -(d-1) <= s < W and -(d-1) <= t < H and belongs to the offset
// (s mod d, t mod d). The boxes of one start row t are found together: the OR of
// rows t to t + d - 1 (blocks of d rows with their prefix and suffix ORs, so two
// reads per box row whatever d), then the OR of d neighbouring bits of that row (by
// doubling shifts). Those rows are summed per start-row residue in bit-sliced
// counters, a few word operations per row, and only the sums are read bit by bit.
// Work per size about (W + d)(H + d) / 64 word operations times log d, plus
// d (W + d) bit reads. Memory: twice the mask plus a few rows.
class TOffsetCounter {
public:
    // The mask must outlive the counter.
    explicit TOffsetCounter(const TPixelMask& mask);

    // The counts for a box size d of at least 1.
    TOffsetCounts Count(int boxSize);

private:
    void OrBlocks(int boxSize);
    void OrStartRow(int top, int boxSize);
    void WidenToBoxes(int boxSize);
    void AddToSums();
    void ReadSums(int boxSize, std::vector<uint64_t>& offsetCounts);

    const TPixelMask& FMask;
    // Row y: the OR of mask rows from the start of y's block of d rows to y, and from
    // y to the end of its block.
    TPixelMask FPrefix;
    TPixelMask FSuffix;
    std::vector<uint64_t> FRow;     // a start row, W + d - 1 bits, bit x for box start s = x - (d - 1)
    std::vector<uint64_t> FScratch; // the second buffer of each widening step
    std::vector<std::vector<uint64_t>> FSums; // bit-sliced: FSums[p] holds bit p of each start's sum
};
