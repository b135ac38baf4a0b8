// Whether a BMP's pixel data is all in the file.
#include <cstdlib>

#include "app/picture/bmp_header.h"
#include "app/picture/picture_damage.h"

namespace {

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
    const std::optional<TBmpHeader> header = ReadBmpHeader(file);
    if (!header)
        return "its header is cut short";
    if (header->Width <= 0 || header->Height == 0 || header->BitsPerPixel == 0)
        return std::nullopt; // Qt refuses these itself
    const uint64_t rows = static_cast<uint64_t>(std::llabs(header->Height));
    const uint64_t dataOffset = header->DataOffset;
    if (header->Compression == kBmpRle8 || header->Compression == kBmpRle4)
        return RunLengthDamage(file, dataOffset, rows, header->Compression == kBmpRle4);
    if (header->Compression != 0 && header->Compression != kBmpBitFields && header->Compression != 6)
        return std::nullopt; // embedded JPEG or PNG, which Qt does not read
    // Each row is padded to whole 32-bit words.
    const uint64_t rowBytes = (static_cast<uint64_t>(header->Width) * header->BitsPerPixel + 31) / 32 * 4;
    const uint64_t wholeRows = file.Size() > dataOffset ? (file.Size() - dataOffset) / rowBytes : 0;
    if (wholeRows >= rows)
        return std::nullopt;
    return "its pixel data ends after " + std::to_string(wholeRows) + " of " + std::to_string(rows) + " rows";
}
