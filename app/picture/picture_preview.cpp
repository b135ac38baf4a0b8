#include "app/picture/picture_preview.h"

#include <algorithm>
#include <cmath>

#include "app/picture/packed_indices.h"

namespace {

uint64_t BlocksAlong(int length, int scale)
{
    return (static_cast<uint64_t>(length) + static_cast<uint64_t>(scale) - 1) / static_cast<uint64_t>(scale);
}

// A picture read by its colours' indices needs only its sampled pixels looked up.
void SampleIndices(TIndexedRows& rows, int width, int scale, QImage& preview, bool& opaque)
{
    const int bits = rows.Bits();
    const std::vector<TArgb>& colours = rows.Colours();
    rows.ForEachRow([&](int y, std::span<const uint8_t> packed) {
        if (y % scale != 0)
            return;
        auto* line = reinterpret_cast<QRgb*>(preview.scanLine(y / scale));
        for (std::size_t x = 0; x < static_cast<std::size_t>(width); x += static_cast<std::size_t>(scale)) {
            const TArgb pixel = colours[PackedIndex(packed, x, bits)];
            opaque = opaque && qAlpha(pixel) == 255;
            line[x / static_cast<std::size_t>(scale)] = qPremultiply(pixel);
        }
    });
}

}  // namespace

int PreviewScale(QSize size, uint64_t mostPixels)
{
    const auto pixels = static_cast<double>(size.width()) * size.height();
    // The square root is a lower bound; rounding up the blocks at the edges may need more.
    int scale = std::max(1, static_cast<int>(std::sqrt(pixels / static_cast<double>(std::max<uint64_t>(mostPixels, 1)))));
    while (BlocksAlong(size.width(), scale) * BlocksAlong(size.height(), scale) > std::max<uint64_t>(mostPixels, 1))
        ++scale;
    return scale;
}

QImage PreviewOf(TStreamedPicture& picture, int scale)
{
    QImage preview(static_cast<int>(BlocksAlong(picture.Width(), scale)),
                   static_cast<int>(BlocksAlong(picture.Height(), scale)), QImage::Format_ARGB32_Premultiplied);
    bool opaque = true;
    if (auto* indexed = dynamic_cast<TIndexedRows*>(&picture); indexed && !indexed->Colours().empty()) {
        SampleIndices(*indexed, picture.Width(), scale, preview, opaque);
        return opaque ? preview.convertToFormat(QImage::Format_RGB32) : preview;
    }
    picture.ForEachRun([&](int y, int firstX, int step, std::span<const TArgb> pixels) {
        if (y % scale != 0)
            return;
        auto* line = reinterpret_cast<QRgb*>(preview.scanLine(y / scale));
        const auto put = [&](int x, TArgb pixel) {
            opaque = opaque && qAlpha(pixel) == 255;
            line[x / scale] = qPremultiply(pixel);
        };
        const int end = firstX + static_cast<int>(pixels.size()) * step;
        if (step == 1) { // straight to the multiples of `scale`
            for (int x = (firstX + scale - 1) / scale * scale; x < end; x += scale)
                put(x, pixels[static_cast<std::size_t>(x - firstX)]);
            return;
        }
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (const int x = firstX + static_cast<int>(i) * step; x % scale == 0)
                put(x, pixels[i]);
    });
    // Opaque premultiplied pixels are RGB32's.
    return opaque ? preview.convertToFormat(QImage::Format_RGB32) : preview;
}
