// Whether a TIFF's first picture lies whole inside the file, read with libtiff.
#include "app/picture/picture_damage.h"
#include "app/picture/tiff_file.h"

namespace {

// The most decoded bytes a coded byte can stand for, for the codings that have such a
// bound; 0 for the rest. Deflate shrinks data at most 1032 times; an LZW code of at
// least 9 bits stands for at most 4096 bytes; a PackBits run of 2 bytes for 128; a fax
// coded row takes at least a bit.
uint64_t MostDecodedPerByte(uint16_t compression, uint64_t rowBytes)
{
    switch (compression) {
    case COMPRESSION_NONE:
        return 1;
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return 1032;
    case COMPRESSION_LZW:
        return 4096;
    case COMPRESSION_PACKBITS:
        return 64;
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
        return 8 * rowBytes;
    default:
        return 0;
    }
}

}  // namespace

std::optional<std::string> TiffDamage(const TRegularFile& file)
{
    const TTiffFile opened(file);
    TIFF* const tiff = opened.Get();
    if (!tiff)
        return opened.Error("its header cannot be read");
    const bool tiled = TIFFIsTiled(tiff) != 0;
    std::span<const uint64_t> offsets;
    std::span<const uint64_t> counts;
    if (!TiffPieces(tiff, offsets, counts))
        return opened.Error("it says nowhere where its pixels are");

    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    uint32_t height = 0;
    uint32_t rowsPerStrip = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    const uint64_t perCodedByte =
        MostDecodedPerByte(compression, static_cast<uint64_t>(tiled ? TIFFTileRowSize64(tiff) : TIFFScanlineSize64(tiff)));
    // Pictures with one plane per colour have a strip series for each plane.
    const uint64_t stripsPerPlane = rowsPerStrip == 0 ? 1 : (uint64_t{height} + rowsPerStrip - 1) / rowsPerStrip;
    const std::size_t pieces = offsets.size();
    for (std::size_t piece = 0; piece < pieces; ++piece) {
        if (offsets[piece] > file.Size() || counts[piece] > file.Size() - offsets[piece])
            return "its pixel data ends before piece " + std::to_string(piece + 1) + " of " + std::to_string(pieces);
        if (perCodedByte == 0)
            continue;
        // Each piece must be long enough to hold its pixels, exactly when uncompressed;
        // the last strip may have fewer rows.
        const uint64_t strip = stripsPerPlane == 0 ? 0 : piece % stripsPerPlane;
        const uint64_t rows = strip + 1 < stripsPerPlane ? rowsPerStrip : height - strip * rowsPerStrip;
        const auto needed = static_cast<uint64_t>(
            tiled ? TIFFTileSize64(tiff) : TIFFVStripSize64(tiff, static_cast<uint32_t>(rows)));
        if (counts[piece] < needed / perCodedByte + (needed % perCodedByte != 0))
            return "its pixel data is shorter than its header says";
    }
    return std::nullopt;
}
