#include "app/engine/crop_mask.h"

#include <string>

#include "graph/core/error.h"

namespace {

std::string RegionText(const TMaskRect& region)
{
    return std::to_string(region.X) + "," + std::to_string(region.Y) + "," + std::to_string(region.Width) + "," +
           std::to_string(region.Height);
}

std::string PictureSizeText(const TPixelMask& mask)
{
    return std::to_string(mask.Width()) + " x " + std::to_string(mask.Height()) + " pixels";
}

void RefuseOutside(const TPixelMask& mask, const TMaskRect& region)
{
    if (region.Width <= 0 || region.Height <= 0)
        throw TVandrelError("The region " + RegionText(region) + " is empty (the picture is " +
                            PictureSizeText(mask) + ")");
    // In 64 bits, so that a corner far outside cannot wrap around into the picture.
    const long long right = static_cast<long long>(region.X) + region.Width;
    const long long bottom = static_cast<long long>(region.Y) + region.Height;
    if (region.X < 0 || region.Y < 0 || right > mask.Width() || bottom > mask.Height())
        throw TVandrelError("The region " + RegionText(region) + " does not lie inside the picture (" +
                            PictureSizeText(mask) + ")");
}

}  // namespace

TPixelMask CropMask(const TPixelMask& mask, const TMaskRect& region)
{
    RefuseOutside(mask, region);
    TPixelMask cropped(region.Width, region.Height);
    const std::size_t firstWord = static_cast<std::size_t>(region.X) / 64;
    const unsigned shift = static_cast<unsigned>(region.X) % 64;
    const std::size_t words = cropped.WordsPerRow();
    // Bits past the region's right edge come along with the last word; clear them.
    const unsigned tailBits = static_cast<unsigned>(region.Width) % 64;
    const uint64_t lastWordMask = tailBits == 0 ? ~uint64_t{0} : (uint64_t{1} << tailBits) - 1;
    for (int y = 0; y < region.Height; ++y) {
        const std::span<const uint64_t> source = mask.Row(region.Y + y).subspan(firstWord);
        const std::span<uint64_t> target = cropped.Row(y);
        for (std::size_t w = 0; w < words; ++w) {
            uint64_t word = source[w] >> shift;
            if (shift != 0 && w + 1 < source.size())
                word |= source[w + 1] << (64 - shift);
            target[w] = word;
        }
        target[words - 1] &= lastWordMask;
    }
    return cropped;
}
