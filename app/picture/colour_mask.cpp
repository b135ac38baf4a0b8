#include "app/picture/colour_mask.h"

#include "app/picture/argb_rows.h"

TPixelMask MaskOfColour(const QImage& image, uint32_t rgb)
{
    TPixelMask mask(image.width(), image.height());
    ForEachArgbRow(image, [&](int y, std::span<const TArgb> row, TAlpha alpha) {
        MarkColour(row, rgb, mask.Row(y), alpha);
    });
    return mask;
}

std::string ColourNowhereText(uint32_t rgb)
{
    return "The colour " + ColourText(rgb) + " occurs nowhere in the picture";
}
