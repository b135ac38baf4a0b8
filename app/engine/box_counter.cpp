#include "app/engine/box_counter.h"

#include <algorithm>
#include <bit>
#include <span>

#include "graph/core/error.h"

namespace {

// Below this size a band's boxes are counted by widening every bit into a window of
// the box width (a few passes over the row) and testing the box starts all at once;
// from it on, testing each box's bits directly reads fewer words.
constexpr int kWindowedCountLimit = 32;

// The smallest group of rows whose OR is kept. Groups of 2 would save little and
// cost another half of the mask.
constexpr int kSmallestGroup = 4;

void OrInto(std::span<uint64_t> target, std::span<const uint64_t> source)
{
    for (std::size_t w = 0; w < target.size(); ++w)
        target[w] |= source[w];
}

TPixelMask GroupRows(const TPixelMask& rows, int groupSize)
{
    TPixelMask groups(rows.Width(), (rows.Height() + groupSize - 1) / groupSize);
    for (int y = 0; y < rows.Height(); ++y)
        OrInto(groups.Row(y / groupSize), rows.Row(y));
    return groups;
}

// target[x] := source[x] | source[x + shift] for every x, bits past the end counting
// as clear. Two buffers, so the loop has no dependences and can be vectorised.
void OrShiftedDown(const std::vector<uint64_t>& source, int shift, std::vector<uint64_t>& target)
{
    const std::size_t words = source.size();
    const std::size_t wordShift = static_cast<std::size_t>(shift) / 64;
    const unsigned bitShift = static_cast<unsigned>(shift) % 64;
    const uint64_t* from = source.data();
    uint64_t* to = target.data();
    std::size_t w = 0;
    if (bitShift == 0) {
        for (; w + wordShift < words; ++w)
            to[w] = from[w] | from[w + wordShift];
    } else {
        for (; w + wordShift + 1 < words; ++w)
            to[w] = from[w] | (from[w + wordShift] >> bitShift) | (from[w + wordShift + 1] << (64 - bitShift));
        if (w + wordShift < words) {
            to[w] = from[w] | (from[w + wordShift] >> bitShift);
            ++w;
        }
    }
    for (; w < words; ++w)
        to[w] = from[w];
}

// The number of bits set in both a and b. Also built for processors with a popcount
// instruction; the loader picks that one where the processor has it.
#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target_clones("popcnt", "default")))
#endif
uint64_t CountCommonBits(const uint64_t* a, const uint64_t* b, std::size_t words)
{
    uint64_t count = 0;
    for (std::size_t w = 0; w < words; ++w)
        count += static_cast<uint64_t>(std::popcount(a[w] & b[w]));
    return count;
}

// The boxes of `boxSize` bits, from bit 0, that hold a set bit.
uint64_t CountOccupiedBoxes(const std::vector<uint64_t>& bits, unsigned width, unsigned boxSize)
{
    uint64_t boxes = 0;
    for (unsigned left = 0; left < width; left += boxSize) {
        const unsigned last = std::min(left + boxSize, width) - 1; // no wrap: both below 2^31
        const unsigned firstWord = left / 64, lastWord = last / 64;
        const uint64_t fromFirst = ~uint64_t{0} << (left % 64);
        const uint64_t toLast = ~uint64_t{0} >> (63 - last % 64);
        uint64_t any;
        if (firstWord == lastWord) {
            any = bits[firstWord] & fromFirst & toLast;
        } else {
            any = (bits[firstWord] & fromFirst) | (bits[lastWord] & toLast);
            for (unsigned w = firstWord + 1; w < lastWord; ++w)
                any |= bits[w];
        }
        boxes += any != 0;
    }
    return boxes;
}

}  // namespace

TBoxCounter::TBoxCounter(const TPixelMask& mask)
    : FMask(mask),
      FBand(mask.WordsPerRow()),
      FWindow(mask.WordsPerRow()),
      FBoxStarts(mask.WordsPerRow())
{
    if (mask.Height() < kSmallestGroup)
        return;
    FGroups.push_back(GroupRows(mask, kSmallestGroup));
    while (FGroups.back().Height() > 1)
        FGroups.push_back(GroupRows(FGroups.back(), 2));
}

uint64_t TBoxCounter::Count(int boxSize)
{
    if (boxSize < 1)
        throw TVandrelError("A box size must be at least 1");
    const int height = FMask.Height();
    uint64_t boxes = 0;
    if (FMask.Width() == 0)
        return boxes;
    for (long long top = 0; top < height; top += boxSize) {
        OrBand(static_cast<int>(top), static_cast<int>(std::min<long long>(top + boxSize, height)));
        boxes += CountBoxesOfBand(boxSize);
    }
    return boxes;
}

// FBand := OR of mask rows firstRow to endRow - 1, each step taking the largest
// aligned group that starts at the next row and fits.
void TBoxCounter::OrBand(int firstRow, int endRow)
{
    constexpr int kSmallestGroupLog = std::countr_zero(unsigned{kSmallestGroup});
    bool first = true;
    for (int y = firstRow; y < endRow;) {
        const int alignmentLog = y == 0 ? 31 : std::countr_zero(static_cast<unsigned>(y));
        const int fitLog = std::bit_width(static_cast<unsigned>(endRow - y)) - 1;
        const int groupLog = std::min({alignmentLog, fitLog, kSmallestGroupLog + static_cast<int>(FGroups.size()) - 1});
        std::span<const uint64_t> rows;
        if (groupLog < kSmallestGroupLog) {
            rows = FMask.Row(y);
            ++y;
        } else {
            rows = FGroups[static_cast<std::size_t>(groupLog - kSmallestGroupLog)].Row(y >> groupLog);
            y += 1 << groupLog;
        }
        if (first)
            std::copy(rows.begin(), rows.end(), FBand.begin());
        else
            OrInto(FBand, rows);
        first = false;
    }
}

uint64_t TBoxCounter::CountBoxesOfBand(int boxSize)
{
    const int width = FMask.Width();
    if (boxSize >= kWindowedCountLimit)
        return CountOccupiedBoxes(FBand, static_cast<unsigned>(width), static_cast<unsigned>(boxSize));

    if (FBoxStartsSize != boxSize) {
        std::fill(FBoxStarts.begin(), FBoxStarts.end(), 0);
        for (int x = 0; x < width; x += boxSize)
            FBoxStarts[static_cast<std::size_t>(x) / 64] |= uint64_t{1} << (x % 64);
        FBoxStartsSize = boxSize;
    }
    // Bit x of the band := OR of its bits x to x + boxSize - 1: windows of 1, 2, 4,
    // ... bits by doubling, then two overlapping ones cover the rest. FWindow is the
    // second buffer of each step.
    int covered = 1;
    while (covered * 2 <= boxSize) {
        OrShiftedDown(FBand, covered, FWindow);
        std::swap(FBand, FWindow);
        covered *= 2;
    }
    if (covered < boxSize) {
        OrShiftedDown(FBand, boxSize - covered, FWindow);
        std::swap(FBand, FWindow);
    }

    return CountCommonBits(FBand.data(), FBoxStarts.data(), FBand.size());
}
