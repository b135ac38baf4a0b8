#include "app/engine/offset_counter.h"

#include <algorithm>
#include <bit>

#include "graph/core/error.h"

namespace {

std::size_t WordsFor(long long bits)
{
    return static_cast<std::size_t>((bits + 63) / 64);
}

// Bits `first` to first + 63 of `bits` (of `words` words) as one word, those
// outside it clear.
uint64_t BitsFrom(const uint64_t* bits, std::size_t words, long long first)
{
    if (first <= -64 || first >= static_cast<long long>(words) * 64)
        return 0;
    if (first < 0)
        return bits[0] << -first;
    const std::size_t word = static_cast<std::size_t>(first) / 64;
    const unsigned shift = static_cast<unsigned>(first) % 64;
    uint64_t result = bits[word] >> shift;
    if (shift != 0 && word + 1 < words)
        result |= bits[word + 1] << (64 - shift);
    return result;
}

// row[x] := joined[x] | joined[x - shift] for every x, bits before the start counting
// as clear. Separate buffers, so the loop has no dependences and can be vectorised.
void OrShiftedUp(const uint64_t* __restrict joined, uint64_t* __restrict row, std::size_t words, int shift)
{
    const std::size_t wordShift = std::min(static_cast<std::size_t>(shift) / 64, words);
    const unsigned bitShift = static_cast<unsigned>(shift) % 64;
    std::size_t w = 0;
    for (; w < wordShift; ++w)
        row[w] = joined[w];
    if (bitShift == 0) {
        for (; w < words; ++w)
            row[w] = joined[w] | joined[w - wordShift];
        return;
    }
    if (w < words) {
        row[w] = joined[w] | (joined[w - wordShift] << bitShift);
        ++w;
    }
    for (; w < words; ++w)
        row[w] = joined[w] | (joined[w - wordShift] << bitShift) | (joined[w - wordShift - 1] >> (64 - bitShift));
}

// The ripple-carry add of `bits` into bit-sliced counters from plane `first` on,
// stopping as soon as the carry is gone.
void AddBits(uint64_t bits, uint64_t* planes, std::size_t planeStride, std::size_t first, std::size_t count)
{
    for (std::size_t p = first; bits != 0 && p < count; ++p) {
        uint64_t& plane = planes[p * planeStride];
        const uint64_t carry = plane & bits;
        plane ^= bits;
        bits = carry;
    }
}

}  // namespace

TOffsetCounter::TOffsetCounter(const TPixelMask& mask) : FMask(mask)
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

    if (boxSize < FBoxSize || FBoxSize == 0)
        StartFromMask();
    GrowBoxes(boxSize);

    const long long rowBits = static_cast<long long>(width) + boxSize - 1;
    const long long startRowsPerOffset = (static_cast<long long>(height) + 2 * boxSize - 2) / boxSize;
    const long long startColumnsPerOffset = (rowBits + boxSize) / boxSize;
    FPlanes = static_cast<std::size_t>(std::bit_width(static_cast<unsigned long long>(startRowsPerOffset)));
    FSums.resize(FPlanes * FWords);
    FTotals.assign(static_cast<std::size_t>(
                       std::bit_width(static_cast<unsigned long long>(startRowsPerOffset * startColumnsPerOffset))),
                   std::vector<uint64_t>(WordsFor(boxSize)));

    uint64_t total = 0;
    counts.Min = UINT64_MAX;
    for (int residue = 0; residue < boxSize; ++residue) {
        SumRows(residue, boxSize);
        AddUpOffsets(boxSize);
        if (residue == 0)
            counts.TopLeft = TotalOfFirstOffset();
        counts.Min = std::min(counts.Min, ExtremeTotal(boxSize, false));
        counts.Max = std::max(counts.Max, ExtremeTotal(boxSize, true));
        for (std::size_t q = 0; q < FTotals.size(); ++q)
            for (const uint64_t word : FTotals[q])
                total += static_cast<uint64_t>(std::popcount(word)) << q;
    }
    counts.Mean = static_cast<double>(total) / (static_cast<double>(boxSize) * boxSize);
    return counts;
}

// Boxes of size 1: the mask itself.
void TOffsetCounter::StartFromMask()
{
    FBoxSize = 1;
    FRows = FMask.Height();
    FWords = FMask.WordsPerRow();
    FBoxes.assign(static_cast<std::size_t>(FRows) * FWords, 0);
    for (int y = 0; y < FRows; ++y)
        std::copy(FMask.Row(y).begin(), FMask.Row(y).end(), BoxRow(y));
}

// From boxes of size c to size c + k, k <= c: the OR of the box ending k rows higher,
// then of the one ending k columns to the left. Steps of at most c double the size
// until it is reached.
void TOffsetCounter::GrowBoxes(int boxSize)
{
    const std::size_t words = WordsFor(static_cast<long long>(FMask.Width()) + boxSize - 1);
    if (words > FWords)
        WidenRows(std::max(words, FWords + FWords / 2));
    FJoined.resize(FWords);
    FRows = FMask.Height() + boxSize - 1;
    FBoxes.resize(static_cast<std::size_t>(FRows) * FWords, 0);
    while (FBoxSize < boxSize) {
        const int step = std::min(FBoxSize, boxSize - FBoxSize);
        const int rows = FMask.Height() + FBoxSize + step - 1;
        // From the bottom up, so the row `step` higher is still of the old size.
        for (int y = rows - 1; y >= 0; --y) {
            uint64_t* row = BoxRow(y);
            if (y >= step) {
                const uint64_t* above = BoxRow(y - step);
                for (std::size_t w = 0; w < FWords; ++w)
                    FJoined[w] = row[w] | above[w];
            } else {
                std::copy(row, row + FWords, FJoined.begin());
            }
            OrShiftedUp(FJoined.data(), row, FWords, step);
        }
        FBoxSize += step;
    }
}

// Lays the rows out `words` words apart, the new words clear.
void TOffsetCounter::WidenRows(std::size_t words)
{
    std::vector<uint64_t> wider(static_cast<std::size_t>(FRows) * words, 0);
    for (int y = 0; y < FRows; ++y)
        std::copy(BoxRow(y), BoxRow(y) + FWords, wider.data() + static_cast<std::size_t>(y) * words);
    FBoxes = std::move(wider);
    FWords = words;
}

// FSums := the sums of the rows of offset row `residue`, those y with
// (y + 1) mod d = residue. Two rows at a time: their half-adder sum goes in at
// weight 1 and their carry at weight 2, so full or empty pairs cost one add.
void TOffsetCounter::SumRows(int residue, int boxSize)
{
    std::fill(FSums.begin(), FSums.end(), 0);
    const int first = residue == 0 ? boxSize - 1 : residue - 1;
    for (long long y = first; y < FRows; y += 2LL * boxSize) {
        const uint64_t* row = BoxRow(static_cast<int>(y));
        if (y + boxSize >= FRows) {
            for (std::size_t w = 0; w < FWords; ++w)
                AddBits(row[w], FSums.data() + w, FWords, 0, FPlanes);
            continue;
        }
        const uint64_t* next = BoxRow(static_cast<int>(y + boxSize));
        for (std::size_t w = 0; w < FWords; ++w) {
            AddBits(row[w] ^ next[w], FSums.data() + w, FWords, 0, FPlanes);
            AddBits(row[w] & next[w], FSums.data() + w, FWords, 1, FPlanes);
        }
    }
}

// FTotals := FSums added up per offset: bit c of plane q is bit q of the total over
// the starts s with s mod d = c. Bit x belongs to offset (x + 1) mod d, so the d bits
// from x = k d - 1 on are offsets 0 to d - 1 in order: each such slice of each plane
// is added, at its plane's weight, into the totals.
void TOffsetCounter::AddUpOffsets(int boxSize)
{
    const long long rowBits = static_cast<long long>(FMask.Width()) + boxSize - 1;
    const std::size_t sliceWords = WordsFor(boxSize);
    const unsigned lastBits = static_cast<unsigned>(boxSize - 1) % 64 + 1;
    const uint64_t lastWordMask = ~uint64_t{0} >> (64 - lastBits);
    const std::size_t totalPlanes = FTotals.size();
    for (std::vector<uint64_t>& plane : FTotals)
        std::fill(plane.begin(), plane.end(), 0);
    for (std::size_t p = 0; p < FPlanes; ++p) {
        const uint64_t* plane = FSums.data() + p * FWords;
        for (long long first = -1; first < rowBits; first += boxSize)
            for (std::size_t j = 0; j < sliceWords; ++j) {
                uint64_t bits = BitsFrom(plane, FWords, first + static_cast<long long>(j) * 64);
                if (j + 1 == sliceWords)
                    bits &= lastWordMask;
                for (std::size_t q = p; bits != 0 && q < totalPlanes; ++q) {
                    const uint64_t carry = FTotals[q][j] & bits;
                    FTotals[q][j] ^= bits;
                    bits = carry;
                }
            }
    }
}

uint64_t TOffsetCounter::TotalOfFirstOffset() const
{
    uint64_t total = 0;
    for (std::size_t q = 0; q < FTotals.size(); ++q)
        total |= (FTotals[q][0] & 1u) << q;
    return total;
}

// The largest (or smallest) of the d totals, from the highest plane down: keep the
// offsets that have the bit wanted there, when any has.
uint64_t TOffsetCounter::ExtremeTotal(int boxSize, bool largest)
{
    const std::size_t words = WordsFor(boxSize);
    FCandidates.assign(words, ~uint64_t{0});
    FCandidates.back() = ~uint64_t{0} >> (63 - static_cast<unsigned>(boxSize - 1) % 64);
    uint64_t extreme = 0;
    for (std::size_t q = FTotals.size(); q-- > 0;) {
        uint64_t any = 0;
        for (std::size_t w = 0; w < words; ++w)
            any |= FCandidates[w] & (largest ? FTotals[q][w] : ~FTotals[q][w]);
        if ((any != 0) == largest)
            extreme |= uint64_t{1} << q;
        if (any != 0)
            for (std::size_t w = 0; w < words; ++w)
                FCandidates[w] &= largest ? FTotals[q][w] : ~FTotals[q][w];
    }
    return extreme;
}
