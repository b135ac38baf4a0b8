#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/engine/mask_rect.h"
#include "app/engine/mask_runs.h"
#include "app/engine/pixel_mask.h"

// One connected piece of a mask: set pixels joined through any of their eight
// neighbours, diagonals included.
struct TMaskObject {
    TMaskRect Box;       // the smallest rectangle holding the piece
    uint64_t Pixels = 0; // its set pixels
};

// The pieces of a mask that FindObjects kept. Only their runs are held, not a mask of
// each: pieces nested in one another's boxes would need many times the picture's memory.
class TMaskObjects {
public:
    // In reading order: by the top row of the box, then its left column, then the
    // column of the piece's first pixel in its top row.
    const std::vector<TMaskObject>& Objects() const { return FObjects; }
    // The pieces left out for having too few pixels.
    uint64_t LeftOut() const { return FLeftOut; }
    // Piece `index` alone, in a mask the size of its box, the box's top-left corner at
    // (0, 0). Pixels of other pieces inside the box stay clear. An index past the
    // pieces raises TVandrelError.
    TPixelMask MaskOfObject(std::size_t index) const;

private:
    friend TMaskObjects FindObjects(const TPixelMask& mask, uint64_t minPixels);

    std::vector<TMaskObject> FObjects;
    // The runs of the kept pieces in reading order, each linked to the next run of its
    // piece, which lies at most a row further on; the last links to no run.
    std::vector<TMaskRun> FRuns;
    std::vector<uint32_t> FNextRun;
    std::vector<uint32_t> FFirstRun; // per piece
    uint64_t FLeftOut = 0;
};

// The pieces of `mask` with at least `minPixels` pixels. Joins the runs of set bits of
// neighbouring rows with union-find; besides the runs it needs a label per run and a
// few numbers per piece.
TMaskObjects FindObjects(const TPixelMask& mask, uint64_t minPixels);
