#include "app/window/shape_overlay.h"

#include <algorithm>
#include <cstddef>

QImage ShapeOverlay(const TPixelMask& mask, QRgb colour)
{
    // In this format bit x % 8 of byte x / 8 is pixel x, the mask's order within a word
    // taken byte by byte from its low end.
    QImage overlay(mask.Width(), mask.Height(), QImage::Format_MonoLSB);
    overlay.setColorTable({qRgba(0, 0, 0, 0), colour});
    const std::size_t lineBytes = static_cast<std::size_t>(overlay.bytesPerLine());
    for (int y = 0; y < mask.Height(); ++y) {
        uchar* line = overlay.scanLine(y);
        const std::span<const uint64_t> row = mask.Row(y);
        const std::size_t bytes = std::min(lineBytes, row.size() * 8);
        for (std::size_t b = 0; b < bytes; ++b)
            line[b] = static_cast<uchar>(row[b / 8] >> (b % 8 * 8));
        std::fill(line + bytes, line + lineBytes, uchar{0});
    }
    return overlay;
}
