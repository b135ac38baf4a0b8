#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/picture/regular_file.h"

// The fields of a BMP's headers that say how its pixels are stored, read as Qt reads
// them: info headers of 40, 64, 108 and 124 bytes in full, any other size as the
// 12-byte OS/2 1.x header (signed 16-bit sizes, no compression).
struct TBmpHeader {
    uint32_t InfoSize = 0;
    int64_t Width = 0;
    int64_t Height = 0;         // negative when the rows are stored top down
    uint32_t Planes = 0;
    uint32_t BitsPerPixel = 0;
    uint32_t Compression = 0;   // 0 none, 1 and 2 run-length coded, 3 bit fields
    uint32_t ColoursUsed = 0;
    uint32_t StatedOffset = 0;  // of the pixel data, as the file header says
    uint64_t DataOffset = 0;    // the stated one, but never inside the headers, masks or palette
};

inline constexpr std::size_t kBmpFileHeaderSize = 14;
inline constexpr uint32_t kBmpCoreHeaderSize = 12;
inline constexpr uint32_t kBmpInfoSizeV4 = 108;
inline constexpr uint32_t kBmpRle8 = 1;
inline constexpr uint32_t kBmpRle4 = 2;
inline constexpr uint32_t kBmpBitFields = 3;

// The headers of the BMP `file`; nothing when they are cut short.
std::optional<TBmpHeader> ReadBmpHeader(const TRegularFile& file);

// Where the palette, or the bit fields of a header shorter than version 4, start.
uint64_t BmpTablesOffset(const TBmpHeader& header);
// The colours of the palette (0 above 8 bits a pixel), each of PaletteEntryBytes.
uint32_t BmpPaletteColours(const TBmpHeader& header);
uint32_t BmpPaletteEntryBytes(const TBmpHeader& header);
// The bytes of red, green and blue masks after a header shorter than version 4.
uint32_t BmpFieldBytes(const TBmpHeader& header);

// The `width` bytes (1 to 4) of `bytes` from `at`, least significant first.
uint32_t LittleEndian(const std::string& bytes, std::size_t at, int width);
