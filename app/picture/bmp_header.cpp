#include "app/picture/bmp_header.h"

#include "app/picture/picture_damage.h"

namespace {

constexpr uint32_t kInfoSize = 40;

// Read field by field; shorter or unknown headers keep only their first fields.
bool FullInfo(uint32_t infoSize)
{
    return infoSize == kInfoSize || infoSize == 64 || infoSize == kBmpInfoSizeV4 || infoSize == 124;
}

}  // namespace

uint32_t LittleEndian(const std::string& bytes, std::size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

uint64_t BmpTablesOffset(const TBmpHeader& header)
{
    return kBmpFileHeaderSize + uint64_t{header.InfoSize};
}

uint32_t BmpPaletteColours(const TBmpHeader& header)
{
    if (header.BitsPerPixel > 8)
        return 0;
    return header.ColoursUsed != 0 ? header.ColoursUsed : 1u << header.BitsPerPixel;
}

uint32_t BmpPaletteEntryBytes(const TBmpHeader& header)
{
    return header.InfoSize == kBmpCoreHeaderSize ? 3 : 4;
}

uint32_t BmpFieldBytes(const TBmpHeader& header)
{
    const bool fields = header.Compression == kBmpBitFields && (header.BitsPerPixel == 16 || header.BitsPerPixel == 32);
    return fields && header.InfoSize < kBmpInfoSizeV4 ? 12 : 0;
}

std::optional<TBmpHeader> ReadBmpHeader(const TRegularFile& file)
{
    const std::string header = ReadFileBytes(file, 0, kBmpFileHeaderSize + kInfoSize);
    if (header.size() < kBmpFileHeaderSize + 4)
        return std::nullopt;
    TBmpHeader result;
    result.InfoSize = LittleEndian(header, kBmpFileHeaderSize, 4);
    const bool full = FullInfo(result.InfoSize);
    if (header.size() < kBmpFileHeaderSize + (full ? kInfoSize : kBmpCoreHeaderSize))
        return std::nullopt;
    const std::size_t at = kBmpFileHeaderSize + 4;
    // Signed: a negative height is a picture stored top down.
    result.Width = full ? int64_t{static_cast<int32_t>(LittleEndian(header, at, 4))}
                        : int64_t{static_cast<int16_t>(LittleEndian(header, at, 2))};
    result.Height = full ? int64_t{static_cast<int32_t>(LittleEndian(header, at + 4, 4))}
                         : int64_t{static_cast<int16_t>(LittleEndian(header, at + 2, 2))};
    result.Planes = LittleEndian(header, full ? at + 8 : at + 4, 2);
    result.BitsPerPixel = LittleEndian(header, full ? at + 10 : at + 6, 2);
    result.Compression = full ? LittleEndian(header, at + 12, 4) : 0;
    result.ColoursUsed = full ? LittleEndian(header, at + 28, 4) : 0;
    result.StatedOffset = LittleEndian(header, 10, 4);
    const uint64_t tablesEnd = BmpTablesOffset(result) + BmpFieldBytes(result) +
                               uint64_t{BmpPaletteColours(result)} * BmpPaletteEntryBytes(result);
    result.DataOffset = std::max<uint64_t>(result.StatedOffset, tablesEnd);
    return result;
}
