#pragma once

#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "app/picture/regular_file.h"

// How the decoded samples of a TIFF's first picture lie.
struct TTiffLayout {
    uint32_t Width = 0;
    uint32_t Height = 0;
    // 1, or the samples of a pixel when each is stored in a plane of its own.
    int Planes = 1;
    // The bytes of a decoded row of one plane; of tiles, as wide as the tiles that cover
    // the picture.
    std::size_t RowBytes = 0;
    bool Tiled = false;
    uint32_t TileWidth = 0;
    uint32_t TileLength = 0;
    uint32_t RowsPerStrip = 0;
};

TTiffLayout TiffLayout(TIFF* tiff);

// What ForEachTiffRow holds at once beside a row of pixels: the coded strip or tile that
// libtiff reads whole (its largest), the codec's state and the band of rows (a row of
// tiles, a strip of each plane, a band of uncompressed rows). `largestPiece`: the most bytes a strip or tile is coded in.
uint64_t TiffBandBytes(TIFF* tiff, const TTiffLayout& layout, uint64_t largestPiece);

// Decodes the first picture of the TIFF `file`, a band of rows at a time, and hands every
// row to `visit` top to bottom as the decoded bytes of each of its planes. Raises "The
// picture is damaged or incomplete: <name> (<libtiff's reason>)" when libtiff cannot
// decode a piece.
using TTiffRowVisit = std::function<void(int y, std::span<const uint8_t* const> planes)>;
void ForEachTiffRow(const TRegularFile& file, const TTiffLayout& layout, const TTiffRowVisit& visit);
