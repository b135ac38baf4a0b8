#include "app/picture/bmp_rows.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/picture/bmp_header.h"
#include "app/picture/bmp_run_lengths.h"
#include "app/picture/indexed_mask.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"
#include "graph/core/error.h"

namespace {

constexpr uint32_t kInfoSize = 40;
constexpr uint32_t kInfoSizeV4 = 108;
constexpr uint32_t kInfoSizeV5 = 124;

[[noreturn]] void Damaged(const TRegularFile& file, const std::string& reason)
{
    throw TVandrelError("The picture is damaged or incomplete: " + file.Name() + " (" + reason + ")");
}

// One channel of a pixel of 16 or 32 bits: its bits under the mask, scaled as Qt scales them.
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

// The rows of an uncompressed BMP as stored, each padded to whole 32-bit words.
class TStoredRows {
public:
    TStoredRows(TRegularFile file, const TBmpHeader& header, uint64_t dataOffset)
        : FFile(std::move(file)), FWidth(static_cast<std::size_t>(header.Width)),
          FHeight(static_cast<int>(std::llabs(header.Height))), FBits(header.BitsPerPixel), FTopDown(header.Height < 0),
          FDataOffset(dataOffset)
    {
    }

    // Reads the rows a band at a time and hands each to `visit` with its place from the top.
    void ForEach(const std::function<void(int y, std::span<const uint8_t> stored)>& visit) const
    {
        const std::size_t rowBytes = (FWidth * FBits + 31) / 32 * 4;
        const std::size_t bandRows = std::max<std::size_t>(1, kStreamedBandBytes / rowBytes);
        for (int first = 0; first < FHeight; first += static_cast<int>(bandRows)) {
            const std::size_t rows = std::min(bandRows, static_cast<std::size_t>(FHeight - first));
            const std::string band = ReadFileBytes(FFile, FDataOffset + uint64_t(first) * rowBytes, rows * rowBytes);
            if (band.size() < rows * rowBytes)
                Damaged(FFile, "its pixel data ends after " + std::to_string(first + band.size() / rowBytes) + " of " +
                                   std::to_string(FHeight) + " rows");
            for (std::size_t r = 0; r < rows; ++r) {
                const int stored = first + static_cast<int>(r);
                visit(FTopDown ? stored : FHeight - 1 - stored,
                      std::span(reinterpret_cast<const uint8_t*>(band.data()) + r * rowBytes, rowBytes));
            }
        }
    }

private:
    TRegularFile FFile;
    std::size_t FWidth;
    int FHeight;
    std::size_t FBits;
    bool FTopDown;
    uint64_t FDataOffset;
};

// 1, 4 or 8 bits a pixel: the indices of the palette's colours.
class TPaletteRows : public TStreamedPicture, public TIndexedRows {
public:
    TPaletteRows(TRegularFile file, const TBmpHeader& header, uint64_t dataOffset, std::vector<TArgb> palette)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FRows(std::move(file), header, dataOffset), FBits(static_cast<int>(header.BitsPerPixel)),
          FPalette(std::move(palette))
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return IndexedMask(*this, Width(), Height(), rule); }
    const std::vector<TArgb>& Colours() const override { return FPalette; }
    int Bits() const override { return FBits; }
    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        FRows.ForEach(visit);
    }
    void ForEachRun(const TVisit& visit) override { ForEachIndexedRun(*this, Width(), visit); }

private:
    TStoredRows FRows;
    int FBits;
    std::vector<TArgb> FPalette;
};

// 16, 24 or 32 bits a pixel, its channels under masks.
class TDirectRows : public TStreamedPicture {
public:
    TDirectRows(TRegularFile file, const TBmpHeader& header, uint64_t dataOffset, TChannel red, TChannel green,
                TChannel blue, std::optional<TChannel> alpha)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FRows(std::move(file), header, dataOffset), FBytes(header.BitsPerPixel / 8), FRed(red), FGreen(green),
          FBlue(blue), FAlpha(alpha)
    {
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return RunsMask(*this, Width(), Height(), rule); }

    void ForEachRun(const TVisit& visit) override
    {
        std::vector<TArgb> pixels(static_cast<std::size_t>(Width()));
        FRows.ForEach([&](int y, std::span<const uint8_t> stored) {
            for (std::size_t x = 0; x < pixels.size(); ++x) {
                const uint8_t* at = stored.data() + x * FBytes;
                uint32_t word = 0;
                for (std::size_t i = FBytes; i-- > 0;)
                    word = word << 8 | at[i];
                const uint32_t alpha = FAlpha ? FAlpha->Value(word) : 0xFFu;
                pixels[x] = alpha << 24 | FRed.Value(word) << 16 | FGreen.Value(word) << 8 | FBlue.Value(word);
            }
            visit(y, 0, 1, pixels);
        });
    }

private:
    TStoredRows FRows;
    std::size_t FBytes;
    TChannel FRed;
    TChannel FGreen;
    TChannel FBlue;
    std::optional<TChannel> FAlpha;
};

bool Covered(const TBmpHeader& header)
{
    const uint32_t bits = header.BitsPerPixel;
    const bool knownInfo = header.InfoSize == kBmpCoreHeaderSize || header.InfoSize == kInfoSize ||
                           header.InfoSize == kInfoSizeV4 || header.InfoSize == kInfoSizeV5;
    const bool indexed = bits == 1 || bits == 4 || bits == 8;
    const bool direct = bits == 16 || bits == 24 || bits == 32;
    const bool stored = header.Compression == 0 && (indexed || direct);
    const bool fields = header.Compression == kBmpBitFields && (bits == 16 || bits == 32);
    const bool runs = (header.Compression == kBmpRle8 && bits == 8) || (header.Compression == kBmpRle4 && bits == 4);
    // Qt reads the palette of a version 4 or 5 header from inside that header.
    const bool oddPalette = indexed && header.InfoSize >= kInfoSizeV4;
    return knownInfo && (stored || fields || runs) && !oddPalette && header.Planes == 1 && header.Width > 0 &&
           header.Width <= INT_MAX && header.Height != 0 && std::llabs(header.Height) <= INT_MAX;
}

}  // namespace

std::unique_ptr<TStreamedPicture> BmpRows(TRegularFile file)
{
    const std::optional<TBmpHeader> header = ReadBmpHeader(file);
    if (!header)
        Damaged(file, "its header is cut short");
    if (!Covered(*header))
        return nullptr;
    const uint32_t bits = header->BitsPerPixel;
    const std::size_t headerEnd = kBmpFileHeaderSize + std::min(header->InfoSize, kInfoSize);

    std::vector<TArgb> palette;
    std::size_t paletteBytes = 0;
    if (bits <= 8) {
        const uint32_t colours = header->ColoursUsed ? header->ColoursUsed : 1u << bits;
        if (colours > 256 || (bits == 1 && colours != 2))
            return nullptr;
        const std::size_t entry = header->InfoSize == kBmpCoreHeaderSize ? 3 : 4;
        paletteBytes = colours * entry;
        const std::string table = ReadFileBytes(file, headerEnd, paletteBytes);
        if (table.size() < paletteBytes)
            Damaged(file, "its palette is cut short");
        for (std::size_t i = 0; i < colours; ++i)
            palette.push_back(0xFF000000u | LittleEndian(table, i * entry, 3));
        palette.resize(std::size_t{1} << bits, 0xFF000000u); // indices past the palette: opaque black
    }
    // Pixels start where the file header says, or right after the palette if it says less.
    const uint64_t dataOffset = std::max<uint64_t>(header->StatedOffset, headerEnd + paletteBytes);
    if (header->Compression == kBmpRle8 || header->Compression == kBmpRle4)
        return BmpRunLengthRows(std::move(file), *header, dataOffset, std::move(palette));
    // Weighed before anything is decoded, so a header that lies costs no mask.
    const uint64_t rowBytes = (static_cast<uint64_t>(header->Width) * bits + 31) / 32 * 4;
    const uint64_t rowCount = static_cast<uint64_t>(std::llabs(header->Height));
    const uint64_t wholeRows = file.Size() > dataOffset ? (file.Size() - dataOffset) / rowBytes : 0;
    if (wholeRows < rowCount)
        Damaged(file, "its pixel data ends after " + std::to_string(wholeRows) + " of " + std::to_string(rowCount) + " rows");
    if (bits <= 8)
        return std::make_unique<TPaletteRows>(std::move(file), *header, dataOffset, std::move(palette));

    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (bits == 16) { // 5-5-5
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    if (header->Compression == kBmpBitFields) {
        const std::string fields = ReadFileBytes(file, kBmpFileHeaderSize + kInfoSize, 16);
        if (fields.size() < 16)
            Damaged(file, "its header is cut short");
        const int count = header->InfoSize >= kInfoSizeV4 ? 4 : 3;
        for (int i = 0; i < count; ++i)
            masks[i] = LittleEndian(fields, static_cast<std::size_t>(i) * 4, 4);
    }
    const std::optional<TChannel> red = TChannel::Of(masks[0]), green = TChannel::Of(masks[1]),
                                  blue = TChannel::Of(masks[2]), alpha = TChannel::Of(masks[3]);
    if (!red || !green || !blue || !alpha)
        return nullptr;
    return std::make_unique<TDirectRows>(std::move(file), *header, dataOffset, *red, *green, *blue,
                                         masks[3] != 0 ? alpha : std::nullopt);
}
