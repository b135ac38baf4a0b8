#include "app/picture/indexed_mask.h"

#include <array>
#include <vector>

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"
#include "app/picture/indexed_row_marking.h"
#include "app/picture/packed_indices.h"

namespace {

using TIndexCounts = std::array<uint64_t, 256>;

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
    std::array<uint64_t, 4> taken{}; // a bit for each of up to 256 colours
    MarkForeground(rows.Colours(), result.Rule, std::span<uint64_t>(taken).first((rows.Colours().size() + 63) / 64));
    const TIndexedRowMarker marker(rows.Bits(), taken);
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) { marker.Mark(packed, width, result.Mask.Row(y)); });
    return result;
}

void ForEachIndexedRun(TIndexedRows& rows, int width, const TArgbRuns::TVisit& visit)
{
    const int bits = rows.Bits();
    const std::vector<TArgb>& colours = rows.Colours();
    std::vector<TArgb> pixels(static_cast<std::size_t>(width));
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(x)] = colours[PackedIndex(packed, static_cast<std::size_t>(x), bits)];
        visit(y, 0, 1, pixels);
    });
}
