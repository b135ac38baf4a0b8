#include "app/picture/bmp_direct_rows.h"

#include <array>
#include <bit>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/engine/row_marking.h" // HasAvx2
#include "app/picture/bmp_stored_rows.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"

namespace {

// Red, green, blue and alpha; an alpha of 0 is none: the pixels are opaque.
using TMasks = std::array<uint32_t, 4>;

constexpr TMasks kRgb = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
constexpr uint32_t kTopByte = 0xFF000000;
// Stored 32-bit pixels are read as words where they lie on a little-endian machine.
constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// One channel of a pixel: its bits under the mask, scaled as Qt scales them. A mask of
// 0 gives 0.
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

// Pixels of three bytes, blue first, to opaque 0xAARRGGBB from `x` on.
void ExpandRgb(std::span<const uint8_t> stored, std::span<TArgb> pixels, std::size_t x)
{
    for (const uint8_t* at = stored.data() + x * 3; x < pixels.size(); ++x, at += 3)
        pixels[x] = kTopByte | uint32_t{at[2]} << 16 | uint32_t{at[1]} << 8 | at[0];
}

#if defined(__x86_64__)
// Eight pixels at a time: the 24 bytes spread over the two halves of a register, each
// pixel's three bytes shuffled into a word of their own. Returns how many it converted.
__attribute__((target("avx2"))) std::size_t ExpandRgbByAvx2(std::span<const uint8_t> stored, std::span<TArgb> pixels)
{
    const __m256i halves = _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6);
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1, 0, 1, 2, -1, 3, 4, 5, -1,
                                            6, 7, 8, -1, 9, 10, 11, -1);
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(kTopByte));
    std::size_t x = 0;
    // Each step loads 32 bytes, 8 more than it converts.
    for (; x + 8 <= pixels.size() && x * 3 + 32 <= stored.size(); x += 8) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(stored.data() + x * 3));
        const __m256i words = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, halves), spread);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels.data() + x), _mm256_or_si256(words, opaque));
    }
    return x;
}
#endif

// Stored pixels to Qt's 0xAARRGGBB, a row at a time, by the quickest way their layout
// allows.
class TConversion {
public:
    // Nothing when Qt refuses a mask.
    static std::optional<TConversion> Of(uint32_t bits, const TMasks& masks)
    {
        TConversion result;
        for (std::size_t i = 0; i < masks.size(); ++i) {
            const std::optional<TChannel> channel = TChannel::Of(masks[i]);
            if (!channel)
                return std::nullopt;
            result.FChannels[i] = *channel;
        }
        result.FOpaque = masks[3] == 0 ? kTopByte : 0;
        const bool rgb = masks[0] == kRgb[0] && masks[1] == kRgb[1] && masks[2] == kRgb[2];
        if (bits == 24)
            result.FLayout = TLayout::Rgb24;
        else if (bits == 16)
            result.FLayout = TLayout::Table16;
        else if (kLittleEndian && rgb && (masks[3] == 0 || masks[3] == kTopByte))
            result.FLayout = masks[3] == 0 ? TLayout::Opaque32 : TLayout::InPlace32;
        if (result.FLayout == TLayout::Table16) {
            // Every 16-bit pixel converted once: a lookup is quicker than four channels.
            result.FTable.resize(std::size_t{1} << 16);
            for (uint32_t word = 0; word < result.FTable.size(); ++word)
                result.FTable[word] = result.Converted(word);
        }
        return result;
    }

    // The pixels of the `stored` row to be judged, and how their top byte is read: where
    // they lie when the rule can read them so, else as Row gives them.
    std::pair<std::span<const TArgb>, TAlpha> Judged(std::span<const uint8_t> stored, std::span<TArgb> pixels) const
    {
        if (FLayout == TLayout::Opaque32)
            return {{reinterpret_cast<const TArgb*>(stored.data()), pixels.size()}, TAlpha::Unused};
        return {Row(stored, pixels), TAlpha::Stored};
    }

    // The pixels of the `stored` row, in `pixels` unless they can be read where they lie.
    std::span<const TArgb> Row(std::span<const uint8_t> stored, std::span<TArgb> pixels) const
    {
        const std::size_t width = pixels.size();
        const uint8_t* bytes = stored.data();
        switch (FLayout) {
        case TLayout::InPlace32:
            return {reinterpret_cast<const TArgb*>(bytes), width};
        case TLayout::Opaque32:
            for (std::size_t x = 0; x < width; ++x)
                pixels[x] = reinterpret_cast<const TArgb*>(bytes)[x] | kTopByte;
            break;
        case TLayout::Rgb24:
#if defined(__x86_64__)
            if (HasAvx2()) {
                ExpandRgb(stored, pixels, ExpandRgbByAvx2(stored, pixels));
                break;
            }
#endif
            ExpandRgb(stored, pixels, 0);
            break;
        case TLayout::Table16:
            for (std::size_t x = 0; x < width; ++x)
                pixels[x] = FTable[uint32_t{bytes[2 * x + 1]} << 8 | bytes[2 * x]];
            break;
        case TLayout::Fields32:
            for (std::size_t x = 0; x < width; ++x)
                pixels[x] = Converted(uint32_t{bytes[4 * x + 3]} << 24 | uint32_t{bytes[4 * x + 2]} << 16 |
                                      uint32_t{bytes[4 * x + 1]} << 8 | bytes[4 * x]);
            break;
        }
        return pixels;
    }

private:
    enum class TLayout { InPlace32, Opaque32, Rgb24, Table16, Fields32 };

    TArgb Converted(uint32_t word) const
    {
        return FOpaque | FChannels[3].Value(word) << 24 | FChannels[0].Value(word) << 16 | FChannels[1].Value(word) << 8 |
               FChannels[2].Value(word);
    }

    TLayout FLayout = TLayout::Fields32;
    std::array<TChannel, 4> FChannels; // red, green, blue, alpha
    uint32_t FOpaque = 0;              // alpha when there is none
    std::vector<TArgb> FTable;         // of every 16-bit pixel
};

class TDirectRows : public TStreamedPicture {
public:
    TDirectRows(TRegularFile file, const TBmpHeader& header, TConversion conversion)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FRows(std::move(file), header), FConversion(std::move(conversion))
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override
    {
        TForegroundMask result{TPixelMask(Width(), Height()), ResolvedRule(*this, rule)};
        std::vector<TArgb> pixels(static_cast<std::size_t>(Width()));
        FRows.ForEach([&](int y, std::span<const uint8_t> stored) {
            const auto [row, alpha] = FConversion.Judged(stored, pixels);
            MarkForeground(row, result.Rule, result.Mask.Row(y), alpha);
        });
        return result;
    }

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
        ThrowDamaged(file.Name(), "its header is cut short");
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
    std::optional<TConversion> conversion = TConversion::Of(header.BitsPerPixel, MasksOf(file, header));
    if (!conversion)
        return nullptr;
    return std::make_unique<TDirectRows>(std::move(file), header, std::move(*conversion));
}
