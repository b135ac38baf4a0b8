#include "app/picture/colour_mask.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kConvertedBandRows = 64;

std::span<const TArgb> ArgbLine(const QImage& image, int y)
{
    return {reinterpret_cast<const TArgb*>(image.constScanLine(y)), static_cast<std::size_t>(image.width())};
}

}  // namespace

TPixelMask MaskOfColour(const QImage& image, uint32_t rgb)
{
    TPixelMask mask(image.width(), image.height());
    switch (image.format()) {
    case QImage::Format_RGB32: // 0x??RRGGBB: every pixel is opaque, whatever its top byte
        for (int y = 0; y < image.height(); ++y)
            MarkColour(ArgbLine(image, y), rgb, mask.Row(y), TAlpha::Unused);
        break;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: // an opaque pixel is stored unchanged
        for (int y = 0; y < image.height(); ++y)
            MarkColour(ArgbLine(image, y), rgb, mask.Row(y));
        break;
    default:
        for (int top = 0; top < image.height(); top += kConvertedBandRows) {
            const int rows = std::min(kConvertedBandRows, image.height() - top);
            const QImage band = image.copy(0, top, image.width(), rows).convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < rows; ++y)
                MarkColour(ArgbLine(band, y), rgb, mask.Row(top + y));
        }
        break;
    }
    return mask;
}

std::string ColourText(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0x00FFFFFFu));
    return text;
}

std::string ColourNowhereText(uint32_t rgb)
{
    return "The colour " + ColourText(rgb) + " occurs nowhere in the picture";
}
