// Whether a BMP's pixel data is all in the file.
#include <cstdlib>

#include "app/picture/picture_damage.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12; // OS/2 1.x: 16-bit width and height
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;

uint32_t LittleEndian(const std::string& bytes, std::size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// Walks the run-length codes from `offset`. Whole when the end-of-picture code or the
// end of the last row comes before the end of the file.
std::optional<std::string> RunLengthDamage(const TRegularFile& file, uint64_t offset, uint64_t rows, bool fourBits)
{
    const uint64_t size = file.Size();
    if (offset >= size)
        return "its run-length data is missing";
    const std::string data = ReadFileBytes(file, offset, static_cast<std::size_t>(size - offset));
    uint64_t row = 0;
    std::size_t at = 0;
    while (at + 2 <= data.size()) {
        const auto count = static_cast<unsigned char>(data[at]);
        const auto code = static_cast<unsigned char>(data[at + 1]);
        at += 2;
        if (count != 0)
            continue; // a run of one value
        if (code == 0) { // end of a row
            if (++row >= rows)
                return std::nullopt;
        } else if (code == 1) { // end of the picture
            return std::nullopt;
        } else if (code == 2) { // a move right and down
            if (at + 2 > data.size())
                break;
            row += static_cast<unsigned char>(data[at + 1]);
            at += 2;
            if (row >= rows)
                return std::nullopt;
        } else { // `code` pixels as they are, padded to a 16-bit boundary
            const std::size_t bytes = fourBits ? (code + 1u) / 2 : code;
            at += bytes + bytes % 2;
            if (at > data.size())
                break;
        }
    }
    return "its run-length data ends after " + std::to_string(row) + " of " + std::to_string(rows) + " rows";
}

}  // namespace

std::optional<std::string> BmpDamage(const TRegularFile& file)
{
    const std::string header = ReadFileBytes(file, 0, kFileHeaderSize + 40);
    if (header.size() < kFileHeaderSize + 4)
        return "its header is cut short";
    const uint32_t infoSize = LittleEndian(header, kFileHeaderSize, 4);
    const bool core = infoSize == kCoreHeaderSize;
    if (header.size() < kFileHeaderSize + (core ? kCoreHeaderSize : 40))
        return "its header is cut short";
    const std::size_t at = kFileHeaderSize + 4;
    const int64_t width = core ? LittleEndian(header, at, 2) : static_cast<int32_t>(LittleEndian(header, at, 4));
    const int64_t height = core ? LittleEndian(header, at + 2, 2) : static_cast<int32_t>(LittleEndian(header, at + 4, 4));
    const uint32_t bitsPerPixel = LittleEndian(header, core ? at + 6 : at + 10, 2);
    const uint32_t compression = core ? 0 : LittleEndian(header, at + 12, 4);
    if (width <= 0 || height == 0 || bitsPerPixel == 0)
        return std::nullopt; // Qt refuses these itself
    const uint64_t rows = static_cast<uint64_t>(std::llabs(height));
    uint64_t dataOffset = LittleEndian(header, 10, 4);
    if (dataOffset < kFileHeaderSize + infoSize)
        dataOffset = kFileHeaderSize + infoSize;

    if (compression == kRle8 || compression == kRle4)
        return RunLengthDamage(file, dataOffset, rows, compression == kRle4);
    if (compression != 0 && compression != 3 && compression != 6)
        return std::nullopt; // embedded JPEG or PNG, which Qt does not read
    // Each row is padded to whole 32-bit words.
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const uint64_t wholeRows = file.Size() > dataOffset ? (file.Size() - dataOffset) / rowBytes : 0;
    if (wholeRows >= rows)
        return std::nullopt;
    return "its pixel data ends after " + std::to_string(wholeRows) + " of " + std::to_string(rows) + " rows";
}
