#include "python/strided_pixels.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "app/engine/luminance.h"
#include "app/engine/otsu_threshold.h"
#include "graph/core/error.h"

namespace {

// Hands every row of `pixels` to `visit` as 0xAARRGGBB values, one row buffer reused.
void ForEachRow(const TStridedBytes& pixels, const std::function<void(int y, std::span<const TArgb> row)>& visit)
{
    std::vector<TArgb> row(static_cast<std::size_t>(pixels.Width));
    const std::ptrdiff_t c = pixels.ChannelStride;
    for (int y = 0; y < pixels.Height; ++y) {
        for (int x = 0; x < pixels.Width; ++x) {
            const uint8_t* p = pixels.At(x, y);
            const TArgb alpha = pixels.Channels == 4 ? p[3 * c] : 0xFFu;
            row[static_cast<std::size_t>(x)] = alpha << 24 | TArgb{p[0]} << 16 | TArgb{p[c]} << 8 | TArgb{p[2 * c]};
        }
        visit(y, row);
    }
}

}  // namespace

TPixelMask MaskOfCells(const TStridedBytes& cells)
{
    TPixelMask mask(cells.Width, cells.Height);
    for (int y = 0; y < cells.Height; ++y) {
        const std::span<uint64_t> words = mask.Row(y);
        for (int x = 0; x < cells.Width; ++x) {
            const uint8_t value = *cells.At(x, y);
            if (value > 1)
                throw TVandrelError("the mask holds " + std::to_string(value) + " at row " + std::to_string(y) +
                                    ", column " + std::to_string(x) +
                                    "; a mask holds only 0 and 1 (compare a grey picture with a level to make one)");
            words[static_cast<std::size_t>(x) / 64] |= uint64_t{value} << (x % 64);
        }
    }
    return mask;
}

TForegroundMask MaskOfPixels(const TStridedBytes& pixels, const TForegroundRule& rule)
{
    TForegroundRule resolved = rule;
    if (rule.LevelPending()) {
        TLuminanceHistogram histogram{};
        ForEachRow(pixels, [&](int, std::span<const TArgb> row) { AddLuminances(row, histogram); });
        resolved = rule.WithOtsuLevel(OtsuThreshold(histogram));
    }
    TForegroundMask result{TPixelMask(pixels.Width, pixels.Height), resolved};
    ForEachRow(pixels, [&](int y, std::span<const TArgb> row) { MarkForeground(row, resolved, result.Mask.Row(y)); });
    return result;
}
