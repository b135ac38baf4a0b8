#include "app/picture/bmp_rows.h"

#include <climits>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/picture/bmp_direct_rows.h"
#include "app/picture/bmp_header.h"
#include "app/picture/bmp_run_lengths.h"
#include "app/picture/bmp_stored_rows.h"
#include "app/picture/indexed_mask.h"
#include "app/picture/picture_damage.h"

namespace {

// 1, 4 or 8 bits a pixel: the indices of the palette's colours.
class TPaletteRows : public TStreamedPicture, public TIndexedRows {
public:
    TPaletteRows(TRegularFile file, const TBmpHeader& header, std::vector<TArgb> palette)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FRows(std::move(file), header), FBits(static_cast<int>(header.BitsPerPixel)), FPalette(std::move(palette))
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
    TBmpStoredRows FRows;
    int FBits;
    std::vector<TArgb> FPalette;
};

// What Qt reads: its bits, compressions and sizes. Embedded JPEG or PNG is left to it.
bool Covered(const TBmpHeader& header)
{
    const uint32_t bits = header.BitsPerPixel;
    const bool indexed = bits == 1 || bits == 4 || bits == 8;
    const bool direct = bits == 16 || bits == 24 || bits == 32;
    const bool stored = header.Compression == 0 && (indexed || direct);
    const bool fields = header.Compression == kBmpBitFields && (bits == 16 || bits == 32);
    const bool runs = (header.Compression == kBmpRle8 && bits == 8) || (header.Compression == kBmpRle4 && bits == 4);
    const bool paletteFits = !indexed || header.ColoursUsed <= 256;
    return (stored || fields || runs) && paletteFits && header.Planes == 1 && header.Width > 0 && header.Width <= INT_MAX &&
           header.Height != 0 && std::llabs(header.Height) <= INT_MAX;
}

// Every colour an index of `bits` can name. Qt converts those past the stored palette to
// clear, but the second of a one-bit picture to white.
std::vector<TArgb> Palette(const TRegularFile& file, const TBmpHeader& header)
{
    const uint32_t colours = BmpPaletteColours(header);
    const std::size_t entry = BmpPaletteEntryBytes(header);
    const std::string table = ReadFileBytes(file, BmpTablesOffset(header), colours * entry);
    if (table.size() < colours * entry)
        ThrowDamaged(file.Name(), "its palette is cut short");
    std::vector<TArgb> palette(std::size_t{1} << header.BitsPerPixel, 0);
    if (header.BitsPerPixel == 1)
        palette[1] = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < std::min(palette.size(), std::size_t{colours}); ++i)
        palette[i] = 0xFF000000u | LittleEndian(table, i * entry, 3);
    return palette;
}

}  // namespace

std::unique_ptr<TStreamedPicture> BmpRows(TRegularFile file)
{
    const std::optional<TBmpHeader> header = ReadBmpHeader(file);
    if (!header)
        ThrowDamaged(file.Name(), "its header is cut short");
    if (!Covered(*header))
        return nullptr;
    const uint32_t bits = header->BitsPerPixel;
    std::vector<TArgb> palette = bits <= 8 ? Palette(file, *header) : std::vector<TArgb>{};
    if (header->Compression == kBmpRle8 || header->Compression == kBmpRle4)
        return BmpRunLengthRows(std::move(file), *header, std::move(palette));
    // Weighed before anything is decoded, so a header that lies costs no mask.
    const uint64_t rowBytes = (static_cast<uint64_t>(header->Width) * bits + 31) / 32 * 4;
    const uint64_t rowCount = static_cast<uint64_t>(std::llabs(header->Height));
    const uint64_t wholeRows = file.Size() > header->DataOffset ? (file.Size() - header->DataOffset) / rowBytes : 0;
    if (wholeRows < rowCount)
        ThrowDamaged(file.Name(), "its pixel data ends after " + std::to_string(wholeRows) + " of " + std::to_string(rowCount) + " rows");
    if (bits <= 8)
        return std::make_unique<TPaletteRows>(std::move(file), *header, std::move(palette));
    return BmpDirectRows(std::move(file), *header);
}
