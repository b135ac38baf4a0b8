#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A run of set pixels in one row: columns XBegin to XEnd - 1 of row Y.
struct TMaskRun {
    int Y = 0;
    int XBegin = 0;
    int XEnd = 0;
};

// The number of runs of set bits in `row`.
std::size_t CountRuns(std::span<const uint64_t> row);

// Appends the runs of set bits of `row` (a mask row, bits past the picture clear),
// left to right, as runs of row `y`. Reads a word at a time and jumps over gaps and
// runs with bit counts, so a row costs its words plus its runs.
void AppendRuns(std::span<const uint64_t> row, int y, std::vector<TMaskRun>& runs);

// Sets the bits of columns `begin` to `end` - 1 of `row`, a word at a time.
void MarkRun(std::span<uint64_t> row, int begin, int end);
