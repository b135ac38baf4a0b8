#include "app/picture/bmp_direct_rows.h"

#include <array>
#include <bit>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/picture/bmp_stored_rows.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

namespace {

// Red, green, blue and alpha; an alpha of 0 is none: the pixels are opaque.
using TMasks = std::array<uint32_t, 4>;

constexpr TMasks kRgb = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
constexpr uint32_t kTopByte = 0xFF000000;
// Stored 32-bit pixels are read as words where they lie on a little-endian machine.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// One channel of a pixel: its bits under the mask, scaled as Qt scales them.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Scale = 1;

    static std::optional<TChannel> Of(uint32_t mask)
    {
        const int shift = mask == 0 ? 0 : std::countr_zero(mask);
        const uint64_t levels = uint64_t{mask >> shift} + 1;
        if (levels > uint64_t{UINT32_MAX})
            return std::nullopt; // a mask of all 32 bits, which Qt refuses
        return TChannel{mask, shift, static_cast<uint32_t>(256 / levels)};
    }
    uint32_t Value(uint32_t pixel) const { return ((pixel & Mask) >> Shift) * Scale & 0xFF; }
};

// Stored pixels to Qt's 0xAARRGGBB, a row at a time. The common layouts have loops of
// their own; 32-bit pixels with alpha in the top byte are Qt's already.
class TConversion {
public:
    TConversion(int bits, const TMasks& masks, TChannel red, TChannel green, TChannel blue, std::optional<TChannel> alpha)
        : FBits(bits), FRgb(masks[0] == kRgb[0] && masks[1] == kRgb[1] && masks[2] == kRgb[2]),
          FAlphaOnTop(masks[3] == kTopByte), FRed(red), FGreen(green), FBlue(blue), FAlpha(alpha)
    {
    }

    // The pixels of the `stored` row, in `pixels` unless they can be read where they lie.
    std::span<const TArgb> Row(std::span<const uint8_t> stored, std::vector<TArgb>& pixels) const
    {
        const std::size_t width = pixels.size();
        if (kLittleEndian && FBits == 32 && FRgb && FAlphaOnTop)
            return {reinterpret_cast<const TArgb*>(stored.data()), width};
        if (kLittleEndian && FBits == 32 && FRgb && !FAlpha) {
            const auto* words = reinterpret_cast<const TArgb*>(stored.data());
            for (std::size_t x = 0; x < width; ++x)
                pixels[x] = words[x] | kTopByte;
        } else if (FBits == 24) {
            const uint8_t* at = stored.data();
            for (std::size_t x = 0; x < width; ++x, at += 3)
                pixels[x] = kTopByte | uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0];
        } else if (FBits == 16) {
            Convert<2>(stored, pixels);
        } else {
            Convert<4>(stored, pixels);
        }
        return pixels;
    }

private:
    template <std::size_t Bytes>
    void Convert(std::span<const uint8_t> stored, std::vector<TArgb>& pixels) const
    {
        for (std::size_t x = 0; x < pixels.size(); ++x) {
            const uint8_t* at = stored.data() + x * Bytes;
            uint32_t word = 0;
            for (std::size_t i = Bytes; i-- > 0;)
                word = word << 8 | at[i];
            const uint32_t alpha = FAlpha ? FAlpha->Value(word) : 0xFFu;
            pixels[x] = alpha << 24 | FRed.Value(word) << 16 | FGreen.Value(word) << 8 | FBlue.Value(word);
        }
    }

    int FBits;
    bool FRgb;
    bool FAlphaOnTop;
    TChannel FRed;
    TChannel FGreen;
    TChannel FBlue;
    std::optional<TChannel> FAlpha;
};

class TDirectRows : public TStreamedPicture {
public:
    TDirectRows(TRegularFile file, const TBmpHeader& header, TConversion conversion)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FRows(std::move(file), header), FConversion(conversion)
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return RunsMask(*this, Width(), Height(), rule); }

    void ForEachRun(const TVisit& visit) override
    {
        std::vector<TArgb> pixels(static_cast<std::size_t>(Width()));
        FRows.ForEach([&](int y, std::span<const uint8_t> stored) { visit(y, 0, 1, FConversion.Row(stored, pixels)); });
    }

private:
    TBmpStoredRows FRows;
    TConversion FConversion;
};

// The masks as Qt takes them: fixed ones without bit fields (though a 32-bit picture
// with a header of version 4 or 5 may keep alpha in its top byte), else those after a
// shorter header or inside a longer one.
TMasks MasksOf(const TRegularFile& file, const TBmpHeader& header)
{
    const uint32_t bits = header.BitsPerPixel;
    const bool longHeader = header.InfoSize >= kBmpInfoSizeV4;
    if (header.Compression != kBmpBitFields && bits == 16)
        return {0x7C00, 0x03E0, 0x001F, 0}; // 5-5-5
    const uint64_t at = longHeader ? kBmpFileHeaderSize + 40 : BmpTablesOffset(header);
    const std::size_t count = longHeader ? 4 : header.Compression == kBmpBitFields ? 3 : 0;
    const std::string fields = ReadFileBytes(file, at, count * 4);
    if (fields.size() < count * 4)
        throw TVandrelError("The picture is damaged or incomplete: " + file.Name() + " (its header is cut short)");
    TMasks masks{};
    for (std::size_t i = 0; i < count; ++i)
        masks[i] = LittleEndian(fields, i * 4, 4);
    if (header.Compression == kBmpBitFields)
        return masks;
    return {kRgb[0], kRgb[1], kRgb[2], bits == 32 && masks[3] == kTopByte ? kTopByte : 0};
}

}  // namespace

std::unique_ptr<TStreamedPicture> BmpDirectRows(TRegularFile file, const TBmpHeader& header)
{
    const TMasks masks = MasksOf(file, header);
    const std::optional<TChannel> red = TChannel::Of(masks[0]), green = TChannel::Of(masks[1]),
                                  blue = TChannel::Of(masks[2]), alpha = TChannel::Of(masks[3]);
    if (!red || !green || !blue || !alpha)
        return nullptr;
    const TConversion conversion(static_cast<int>(header.BitsPerPixel), masks, *red, *green, *blue,
                                 masks[3] != 0 ? alpha : std::nullopt);
    return std::make_unique<TDirectRows>(std::move(file), header, conversion);
}
