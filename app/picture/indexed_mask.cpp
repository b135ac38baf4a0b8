#include "app/picture/indexed_mask.h"

#include <array>
#include <utility>
#include <vector>

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"

namespace {

using TIndexCounts = std::array<uint64_t, 256>;

// The index of pixel `j` of a byte that packs pixels of `bits` bits, leftmost highest.
unsigned IndexIn(unsigned byte, int j, int bits)
{
    return byte >> (8 - bits * (j + 1)) & ((1u << bits) - 1);
}

// The mask bits of eight bytes of pixels, looked up apart so that the lookups overlap.
template <std::size_t PerByte>
uint64_t EightBytesMarks(const uint8_t* bytes, const std::array<uint8_t, 256>& maskBits)
{
    return [&]<std::size_t... J>(std::index_sequence<J...>) {
        return ((uint64_t{maskBits[bytes[J]]} << (J * PerByte)) | ...);
    }(std::make_index_sequence<8>{});
}

// Marks the pixels of `packed` (whole pixels of the row) that fill whole words of `row`,
// each word made in a register and stored once; returns the bytes taken.
template <std::size_t PerByte>
std::size_t MarkWholeWords(std::span<const uint8_t> packed, const std::array<uint8_t, 256>& maskBits, std::span<uint64_t> row)
{
    constexpr std::size_t wordBytes = 64 / PerByte;
    const std::size_t words = packed.size() / wordBytes;
    for (std::size_t word = 0; word < words; ++word) {
        const uint8_t* bytes = packed.data() + word * wordBytes;
        uint64_t marks = 0;
        for (std::size_t k = 0; k < wordBytes; k += 8)
            marks |= EightBytesMarks<PerByte>(bytes + k, maskBits) << (k * PerByte);
        row[word] = marks;
    }
    return words * wordBytes;
}

TIndexCounts IndexCounts(TIndexedRows& rows, int width)
{
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    const auto wholeBytes = static_cast<std::size_t>(width / perByte);
    const int rest = width % perByte;
    // Whole bytes are counted as they are and split into their pixels at the end.
    TIndexCounts bytes{};
    TIndexCounts counts{};
    rows.ForEachRow([&](int, std::span<const uint8_t> packed) {
        for (std::size_t i = 0; i < wholeBytes; ++i)
            ++bytes[packed[i]];
        for (int j = 0; j < rest; ++j)
            ++counts[IndexIn(packed[wholeBytes], j, bits)];
    });
    for (unsigned byte = 0; byte < 256; ++byte)
        for (int j = 0; j < perByte && bytes[byte] != 0; ++j)
            counts[IndexIn(byte, j, bits)] += bytes[byte];
    return counts;
}

TForegroundRule Resolved(TIndexedRows& rows, int width, const TForegroundRule& rule)
{
    if (!rule.LevelPending())
        return rule;
    const TIndexCounts counts = IndexCounts(rows, width);
    TLuminanceHistogram histogram{};
    for (std::size_t index = 0; index < rows.Colours().size(); ++index) {
        TLuminanceHistogram one{};
        AddLuminances(std::span<const TArgb>(&rows.Colours()[index], 1), one);
        for (std::size_t level = 0; level < one.size(); ++level)
            histogram[level] += one[level] * counts[index];
    }
    return rule.WithOtsuLevel(OtsuThreshold(histogram));
}

}  // namespace

TForegroundMask IndexedMask(TIndexedRows& rows, int width, int height, const TForegroundRule& rule)
{
    TForegroundMask result{TPixelMask(width, height), Resolved(rows, width, rule)};
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    std::array<uint64_t, 4> taken{}; // a bit for each of up to 256 colours
    MarkForeground(rows.Colours(), result.Rule, std::span<uint64_t>(taken).first((rows.Colours().size() + 63) / 64));
    const auto takes = [&](unsigned index) { return (taken[index / 64] >> (index % 64) & 1u) != 0; };
    // The mask bits of every byte's pixels, the leftmost lowest as the mask holds them.
    std::array<uint8_t, 256> maskBits{};
    for (unsigned byte = 0; byte < 256; ++byte)
        for (int j = 0; j < perByte; ++j)
            if (takes(IndexIn(byte, j, bits)))
                maskBits[byte] |= static_cast<uint8_t>(1u << j);
    const auto wholeBytes = static_cast<std::size_t>(width / perByte);
    const int rest = width % perByte;
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        const std::span<uint64_t> row = result.Mask.Row(y);
        // A word of the mask holds a whole number of bytes' pixels.
        const std::span<const uint8_t> whole = packed.first(wholeBytes);
        std::size_t i = perByte == 1   ? MarkWholeWords<1>(whole, maskBits, row)
                        : perByte == 2 ? MarkWholeWords<2>(whole, maskBits, row)
                        : perByte == 4 ? MarkWholeWords<4>(whole, maskBits, row)
                                       : MarkWholeWords<8>(whole, maskBits, row);
        for (; i < wholeBytes; ++i) {
            const std::size_t x = i * static_cast<std::size_t>(perByte);
            row[x / 64] |= uint64_t{maskBits[packed[i]]} << (x % 64);
        }
        for (int j = 0; j < rest; ++j)
            if (takes(IndexIn(packed[wholeBytes], j, bits)))
                result.Mask.Set(static_cast<int>(wholeBytes) * perByte + j, y);
    });
    return result;
}

void ForEachIndexedRun(TIndexedRows& rows, int width, const TArgbRuns::TVisit& visit)
{
    const int bits = rows.Bits();
    const int perByte = 8 / bits;
    const std::vector<TArgb>& colours = rows.Colours();
    std::vector<TArgb> pixels(static_cast<std::size_t>(width));
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(x)] = colours[IndexIn(packed[static_cast<std::size_t>(x / perByte)], x % perByte, bits)];
        visit(y, 0, 1, pixels);
    });
}
