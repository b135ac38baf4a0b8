#include "app/engine/offset_counter.h"

#include <algorithm>
#include <bit>
#include <span>

#include "graph/core/error.h"

namespace {

std::size_t WordsFor(long long bits)
{
    return static_cast<std::size_t>((bits + 63) / 64);
}

// target[x] := source[x] | source[x - shift] for every x, bits before the start
// counting as clear. Two buffers, so the loop has no dependences and can be
// vectorised.
void OrShiftedUp(const std::vector<uint64_t>& source, int shift, std::vector<uint64_t>& target)
{
    const std::size_t words = source.size();
    const std::size_t wordShift = static_cast<std::size_t>(shift) / 64;
    const unsigned bitShift = static_cast<unsigned>(shift) % 64;
    const uint64_t* from = source.data();
    uint64_t* to = target.data();
    std::size_t w = 0;
    for (; w < std::min(wordShift, words); ++w)
        to[w] = from[w];
    if (bitShift == 0) {
        for (; w < words; ++w)
            to[w] = from[w] | from[w - wordShift];
        return;
    }
    if (w < words) {
        to[w] = from[w] | (from[w - wordShift] << bitShift);
        ++w;
    }
    for (; w < words; ++w)
        to[w] = from[w] | (from[w - wordShift] << bitShift) | (from[w - wordShift - 1] >> (64 - bitShift));
}

void OrInto(std::span<uint64_t> target, std::span<const uint64_t> source)
{
    for (std::size_t w = 0; w < target.size(); ++w)
        target[w] |= source[w];
}

}  // namespace

TOffsetCounter::TOffsetCounter(const TPixelMask& mask)
    : FMask(mask), FPrefix(mask.Width(), mask.Height()), FSuffix(mask.Width(), mask.Height())
{
}

TOffsetCounts TOffsetCounter::Count(int boxSize)
{
    if (boxSize < 1)
        throw TVandrelError("A box size must be at least 1");
    TOffsetCounts counts;
    const int width = FMask.Width(), height = FMask.Height();
    if (width == 0 || height == 0)
        return counts;

    const long long rowBits = static_cast<long long>(width) + boxSize - 1;
    const std::size_t rowWords = WordsFor(rowBits);
    FRow.assign(rowWords, 0);
    FScratch.assign(rowWords, 0);
    const long long startRowsPerResidue = (static_cast<long long>(height) + 2 * boxSize - 2) / boxSize;
    FSums.assign(static_cast<std::size_t>(std::bit_width(static_cast<unsigned long long>(startRowsPerResidue))),
                 std::vector<uint64_t>(rowWords));
    OrBlocks(boxSize);

    std::vector<uint64_t> offsetCounts(static_cast<std::size_t>(boxSize));
    uint64_t total = 0;
    counts.Min = UINT64_MAX;
    for (int residue = 0; residue < boxSize; ++residue) {
        for (std::vector<uint64_t>& plane : FSums)
            std::fill(plane.begin(), plane.end(), 0);
        // Start rows t = residue + k d from -(d - 1) on: the boxes of offset row
        // `residue`.
        for (long long top = residue == 0 ? 0 : residue - boxSize; top < height; top += boxSize) {
            OrStartRow(static_cast<int>(top), boxSize);
            WidenToBoxes(boxSize);
            AddToSums();
        }
        std::fill(offsetCounts.begin(), offsetCounts.end(), 0);
        ReadSums(boxSize, offsetCounts);
        if (residue == 0)
            counts.TopLeft = offsetCounts[0];
        for (const uint64_t count : offsetCounts) {
            counts.Min = std::min(counts.Min, count);
            counts.Max = std::max(counts.Max, count);
            total += count;
        }
    }
    counts.Mean = static_cast<double>(total) / (static_cast<double>(boxSize) * boxSize);
    return counts;
}

void TOffsetCounter::OrBlocks(int boxSize)
{
    const int height = FMask.Height();
    for (int y = 0; y < height; ++y) {
        const std::span<uint64_t> prefix = FPrefix.Row(y);
        const std::span<const uint64_t> row = FMask.Row(y);
        std::copy(row.begin(), row.end(), prefix.begin());
        if (y % boxSize != 0)
            OrInto(prefix, FPrefix.Row(y - 1));
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::span<uint64_t> suffix = FSuffix.Row(y);
        const std::span<const uint64_t> row = FMask.Row(y);
        std::copy(row.begin(), row.end(), suffix.begin());
        if ((y + 1) % boxSize != 0 && y + 1 < height)
            OrInto(suffix, FSuffix.Row(y + 1));
    }
}

// FRow := the OR of mask rows top to top + d - 1 that lie in the picture. Such a
// window is the end of one block of d rows and the start of the next.
void TOffsetCounter::OrStartRow(int top, int boxSize)
{
    const int height = FMask.Height();
    const long long last = static_cast<long long>(top) + boxSize - 1;
    std::fill(FRow.begin(), FRow.end(), 0);
    const std::span<uint64_t> row(FRow.data(), FMask.WordsPerRow());
    if (top >= 0)
        OrInto(row, FSuffix.Row(top));
    if (top >= 0 && top % boxSize == 0)
        return;
    const long long nextBlock = top < 0 ? 0 : static_cast<long long>(top) - top % boxSize + boxSize;
    if (nextBlock < height)
        OrInto(row, FPrefix.Row(static_cast<int>(std::min<long long>(last, height - 1))));
}

// Bit x of FRow := the OR of its bits x - d + 1 to x, so bit x tells whether the box
// starting at s = x - (d - 1) holds a set bit. Windows of 1, 2, 4, ... bits by
// doubling, then two overlapping ones cover the rest.
void TOffsetCounter::WidenToBoxes(int boxSize)
{
    int covered = 1;
    while (covered <= boxSize / 2) {
        OrShiftedUp(FRow, covered, FScratch);
        std::swap(FRow, FScratch);
        covered *= 2;
    }
    if (covered < boxSize) {
        OrShiftedUp(FRow, boxSize - covered, FScratch);
        std::swap(FRow, FScratch);
    }
}

// Adds FRow's bits to the per-start sums: a ripple-carry add across the bit planes,
// which stops for a word as soon as its carry is gone.
void TOffsetCounter::AddToSums()
{
    const std::size_t planes = FSums.size();
    for (std::size_t w = 0; w < FRow.size(); ++w) {
        uint64_t carry = FRow[w];
        for (std::size_t p = 0; carry != 0 && p < planes; ++p) {
            const uint64_t next = FSums[p][w] & carry;
            FSums[p][w] ^= carry;
            carry = next;
        }
    }
}

// offsetCounts[ox] += the sums of every start s with s mod d = ox; bit x holds start
// s = x - (d - 1), so its offset is (x + 1) mod d.
void TOffsetCounter::ReadSums(int boxSize, std::vector<uint64_t>& offsetCounts)
{
    const std::size_t planes = FSums.size();
    const long long rowBits = static_cast<long long>(FMask.Width()) + boxSize - 1;
    int offset = 1 % boxSize;
    for (std::size_t w = 0; w < FRow.size(); ++w) {
        const int bits = static_cast<int>(std::min<long long>(64, rowBits - static_cast<long long>(w) * 64));
        uint64_t any = 0;
        for (std::size_t p = 0; p < planes; ++p)
            any |= FSums[p][w];
        if (any == 0) {
            offset = static_cast<int>((offset + bits) % boxSize);
            continue;
        }
        for (int b = 0; b < bits; ++b) {
            uint64_t sum = 0;
            for (std::size_t p = 0; p < planes; ++p)
                sum |= ((FSums[p][w] >> b) & 1u) << p;
            offsetCounts[static_cast<std::size_t>(offset)] += sum;
            if (++offset == boxSize)
                offset = 0;
        }
    }
}
