#include "app/picture/bmp_stored_rows.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"

TBmpStoredRows::TBmpStoredRows(TRegularFile file, const TBmpHeader& header)
    : FFile(std::move(file)), FRowBytes((static_cast<std::size_t>(header.Width) * header.BitsPerPixel + 31) / 32 * 4),
      FHeight(static_cast<int>(std::llabs(header.Height))), FTopDown(header.Height < 0), FDataOffset(header.DataOffset)
{
}

void TBmpStoredRows::ForEach(const std::function<void(int y, std::span<const uint8_t> stored)>& visit) const
{
    const std::size_t bandRows = std::max<std::size_t>(1, kStreamedBandBytes / FRowBytes);
    // Words, so that rows of 32-bit pixels may be read as such.
    std::vector<uint32_t> words(bandRows * FRowBytes / 4);
    const std::span<uint8_t> band(reinterpret_cast<uint8_t*>(words.data()), words.size() * 4);
    for (int first = 0; first < FHeight; first += static_cast<int>(bandRows)) {
        const std::size_t rows = std::min(bandRows, static_cast<std::size_t>(FHeight - first));
        const std::size_t got = ReadFileInto(FFile, FDataOffset + uint64_t(first) * FRowBytes, band.first(rows * FRowBytes));
        if (got < rows * FRowBytes)
            ThrowDamaged(FFile.Name(), "its pixel data ends after " +
                                std::to_string(first + got / FRowBytes) + " of " + std::to_string(FHeight) + " rows");
        for (std::size_t r = 0; r < rows; ++r) {
            const int stored = first + static_cast<int>(r);
            visit(FTopDown ? stored : FHeight - 1 - stored, band.subspan(r * FRowBytes, FRowBytes));
        }
    }
}
