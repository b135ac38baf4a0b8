#include "app/picture/tiff_bands.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/picture/picture_damage.h"
#include "app/picture/tiff_file.h"

namespace {

// What uncompressed rows are read by at a time, at least: reads this long cost little
// more than one read of the whole file.
constexpr std::size_t kStoredBandBytes = std::size_t{1} << 20;

[[noreturn]] void Undecodable(const TRegularFile& file, const TTiffFile& opened)
{
    ThrowDamaged(file.Name(), opened.Error("its pixel data is corrupt or cut short"));
}

// Rows of one plane, one after the other.
using TPlaneBand = std::vector<uint8_t>;

void VisitBand(const TTiffLayout& layout, const std::vector<TPlaneBand>& band, uint32_t top, uint32_t rows,
               const TTiffRowVisit& visit)
{
    std::vector<const uint8_t*> planes(band.size());
    for (uint32_t i = 0; i < rows; ++i) {
        for (std::size_t p = 0; p < band.size(); ++p)
            planes[p] = band[p].data() + i * layout.RowBytes;
        visit(static_cast<int>(top + i), planes);
    }
}

// A row at a time: libtiff decodes a strip as far as the row asked for.
void ReadScanlines(TIFF* tiff, const TTiffLayout& layout, const TRegularFile& file, const TTiffFile& opened,
                   const TTiffRowVisit& visit)
{
    std::vector<uint8_t> row(layout.RowBytes);
    const uint8_t* planes[] = {row.data()};
    for (uint32_t y = 0; y < layout.Height; ++y) {
        if (TIFFReadScanline(tiff, row.data(), y, 0) < 0)
            Undecodable(file, opened);
        visit(static_cast<int>(y), planes);
    }
}

// Whether libtiff's rows are the stored bytes, with nothing to undo: no coding, no bits
// to reverse, no samples to swap.
bool StoredAsDecoded(TIFF* tiff, const TTiffLayout& layout)
{
    uint16_t compression = COMPRESSION_NONE;
    uint16_t fillOrder = FILLORDER_MSB2LSB;
    uint16_t bits = 1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_FILLORDER, &fillOrder);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    return !layout.Tiled && layout.Planes == 1 && compression == COMPRESSION_NONE && fillOrder == FILLORDER_MSB2LSB &&
           (bits <= 8 || !TIFFIsByteSwapped(tiff));
}

// Uncompressed rows read from the file a band at a time and handed where they lie, where
// libtiff would copy them a row at a time out of strips it reads 8 KiB at a time.
void ReadStoredRows(TIFF* tiff, const TTiffLayout& layout, const TRegularFile& file, const TTiffRowVisit& visit)
{
    const uint32_t stripRows = std::min(layout.RowsPerStrip, layout.Height);
    const auto bandRows = static_cast<uint32_t>(
        std::clamp<std::size_t>(kStoredBandBytes / std::max<std::size_t>(layout.RowBytes, 1), 1, stripRows));
    for (uint32_t strip = 0; strip * uint64_t{stripRows} < layout.Height; ++strip) {
        const uint32_t top = strip * stripRows;
        const uint32_t rows = std::min(stripRows, layout.Height - top);
        for (uint32_t first = 0; first < rows; first += bandRows) {
            const uint32_t count = std::min(bandRows, rows - first);
            const std::string band =
                ReadFileBytes(file, TIFFGetStrileOffset(tiff, strip) + uint64_t{first} * layout.RowBytes, count * layout.RowBytes);
            if (band.size() < count * layout.RowBytes)
                ThrowDamaged(file.Name(), "its pixel data ends after " +
                                    std::to_string(top + first + band.size() / layout.RowBytes) + " of " +
                                    std::to_string(layout.Height) + " rows");
            for (uint32_t i = 0; i < count; ++i) {
                const uint8_t* planes[] = {reinterpret_cast<const uint8_t*>(band.data()) + i * layout.RowBytes};
                visit(static_cast<int>(top + first + i), planes);
            }
        }
    }
}

// A strip of every plane at a time, so that each plane is decoded once from its start.
void ReadPlaneStrips(TIFF* tiff, const TTiffLayout& layout, const TRegularFile& file, const TTiffFile& opened,
                     const TTiffRowVisit& visit)
{
    const uint32_t stripRows = std::min(layout.RowsPerStrip, layout.Height);
    std::vector<TPlaneBand> band(static_cast<std::size_t>(layout.Planes), TPlaneBand(stripRows * layout.RowBytes));
    for (uint32_t top = 0; top < layout.Height; top += stripRows) {
        const uint32_t rows = std::min(stripRows, layout.Height - top);
        const auto bytes = static_cast<tmsize_t>(rows * layout.RowBytes);
        for (int p = 0; p < layout.Planes; ++p)
            if (TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, static_cast<uint16_t>(p)), band[std::size_t(p)].data(),
                                     bytes) != bytes)
                Undecodable(file, opened);
        VisitBand(layout, band, top, rows, visit);
    }
}

// A row of tiles of every plane at a time, pieced together into whole rows (which reach
// as far as the tiles of the right edge do, past the picture).
void ReadTiles(TIFF* tiff, const TTiffLayout& layout, const TRegularFile& file, const TTiffFile& opened,
               const TTiffRowVisit& visit)
{
    const uint32_t bandRows = std::min(layout.TileLength, layout.Height);
    const auto tileRowBytes = static_cast<std::size_t>(TIFFTileRowSize64(tiff));
    std::vector<uint8_t> tile(static_cast<std::size_t>(TIFFTileSize64(tiff)));
    std::vector<TPlaneBand> band(static_cast<std::size_t>(layout.Planes), TPlaneBand(bandRows * layout.RowBytes));
    for (uint32_t top = 0; top < layout.Height; top += layout.TileLength) {
        const uint32_t rows = std::min(layout.TileLength, layout.Height - top);
        for (int p = 0; p < layout.Planes; ++p) {
            std::size_t offset = 0;
            for (uint32_t x = 0; x < layout.Width; x += layout.TileWidth, offset += tileRowBytes) {
                if (TIFFReadTile(tiff, tile.data(), x, top, 0, static_cast<uint16_t>(p)) < 0)
                    Undecodable(file, opened);
                for (uint32_t i = 0; i < rows; ++i)
                    std::copy_n(tile.data() + i * tileRowBytes, tileRowBytes, band[std::size_t(p)].data() + i * layout.RowBytes + offset);
            }
        }
        VisitBand(layout, band, top, rows, visit);
    }
}

}  // namespace

TTiffLayout TiffLayout(TIFF* tiff)
{
    TTiffLayout layout;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.Width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.Height);
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t samples = 1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    layout.Planes = planar == PLANARCONFIG_SEPARATE ? samples : 1;
    layout.RowBytes = static_cast<std::size_t>(TIFFScanlineSize64(tiff));
    layout.Tiled = TIFFIsTiled(tiff) != 0;
    if (layout.Tiled) {
        TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &layout.TileWidth);
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &layout.TileLength);
        layout.RowBytes = static_cast<std::size_t>(TIFFTileRowSize64(tiff)) *
                          ((layout.Width + layout.TileWidth - 1) / std::max(layout.TileWidth, 1u));
    } else {
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &layout.RowsPerStrip);
    }
    return layout;
}

uint64_t TiffBandBytes(TIFF* tiff, const TTiffLayout& layout, uint64_t largestPiece)
{
    // A codec's own state: LZW's table, deflate's window.
    constexpr uint64_t kCodecBytes = uint64_t{1} << 18;
    const uint64_t held = largestPiece + kCodecBytes;
    if (layout.Tiled)
        return held + static_cast<uint64_t>(TIFFTileSize64(tiff)) +
               uint64_t{layout.TileLength} * layout.RowBytes * static_cast<uint64_t>(layout.Planes);
    if (layout.Planes == 1)
        return held + std::max<uint64_t>(layout.RowBytes, kStoredBandBytes);
    return held + uint64_t{std::min(layout.RowsPerStrip, layout.Height)} * layout.RowBytes * static_cast<uint64_t>(layout.Planes);
}

void ForEachTiffRow(const TRegularFile& file, const TTiffLayout& layout, const TTiffRowVisit& visit)
{
    const TTiffFile opened(file);
    TIFF* const tiff = opened.Get();
    if (!tiff)
        Undecodable(file, opened);
    if (layout.Tiled)
        ReadTiles(tiff, layout, file, opened, visit);
    else if (layout.Planes > 1)
        ReadPlaneStrips(tiff, layout, file, opened, visit);
    else if (StoredAsDecoded(tiff, layout))
        ReadStoredRows(tiff, layout, file, visit);
    else
        ReadScanlines(tiff, layout, file, opened, visit);
}
