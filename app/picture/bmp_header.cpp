#include "app/picture/bmp_header.h"

#include "app/picture/picture_damage.h"

uint32_t LittleEndian(const std::string& bytes, std::size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::optional<TBmpHeader> ReadBmpHeader(const TRegularFile& file)
{
    const std::string header = ReadFileBytes(file, 0, kBmpFileHeaderSize + 40);
    if (header.size() < kBmpFileHeaderSize + 4)
        return std::nullopt;
    TBmpHeader result;
    result.InfoSize = LittleEndian(header, kBmpFileHeaderSize, 4);
    const bool core = result.InfoSize == kBmpCoreHeaderSize;
    if (header.size() < kBmpFileHeaderSize + (core ? kBmpCoreHeaderSize : 40))
        return std::nullopt;
    const std::size_t at = kBmpFileHeaderSize + 4;
    // Signed 32 bits: a negative height is a picture stored top down.
    result.Width = core ? int64_t{LittleEndian(header, at, 2)} : int64_t{static_cast<int32_t>(LittleEndian(header, at, 4))};
    result.Height = core ? int64_t{LittleEndian(header, at + 2, 2)} : int64_t{static_cast<int32_t>(LittleEndian(header, at + 4, 4))};
    result.Planes = LittleEndian(header, core ? at + 4 : at + 8, 2);
    result.BitsPerPixel = LittleEndian(header, core ? at + 6 : at + 10, 2);
    result.Compression = core ? 0 : LittleEndian(header, at + 12, 4);
    result.ColoursUsed = core ? 0 : LittleEndian(header, at + 28, 4);
    result.StatedOffset = LittleEndian(header, 10, 4);
    result.DataOffset = std::max<uint64_t>(result.StatedOffset, kBmpFileHeaderSize + result.InfoSize);
    return result;
}
