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
// (s mod d, t mod d). The counter keeps one bit per box start telling whether that
// box holds a set bit; a box of size d + k is the OR of four boxes of size d
// shifted by k, so growing from one size to the next costs a few word operations
// per start (sizes in increasing order are cheapest; a smaller size starts again
// from the mask). Those bits are summed per offset in bit-sliced counters, a few
// word operations per start row, and their minimum and maximum are found plane by
// plane, never reading the d * d totals one by one.
// Memory: about (W + d)(H + d) bits for the boxes and a few rows for the sums.
class TOffsetCounter {
public:
    // The mask must outlive the counter.
    explicit TOffsetCounter(const TPixelMask& mask);

    // The counts for a box size d of at least 1.
    TOffsetCounts Count(int boxSize);

private:
    void StartFromMask();
    void GrowBoxes(int boxSize);
    void WidenRows(std::size_t words);
    void SumRows(int residue, int boxSize);
    void AddUpOffsets(int boxSize);
    uint64_t TotalOfFirstOffset() const;
    uint64_t ExtremeTotal(int boxSize, bool largest);
    uint64_t* BoxRow(int y) { return FBoxes.data() + static_cast<std::size_t>(y) * FWords; }

    const TPixelMask& FMask;
    // Bit x of row y: the box with its last pixel at (x, y), of size FBoxSize, holds
    // a set bit. So its start is (x - d + 1, y - d + 1), offset ((x + 1) mod d,
    // (y + 1) mod d). FRows rows of FWords words.
    std::vector<uint64_t> FBoxes;
    int FBoxSize = 0;
    int FRows = 0;
    std::size_t FWords = 0;
    std::vector<uint64_t> FJoined; // a row ORed with the one above, while growing
    // Bit-sliced sums over the start rows of one offset row: plane p is
    // FSums[p * FWords ...].
    std::vector<uint64_t> FSums;
    std::size_t FPlanes = 0;
    std::vector<std::vector<uint64_t>> FTotals; // bit-sliced, one bit per offset of a row
    std::vector<uint64_t> FCandidates; // the offsets still in the running for the extreme
};
