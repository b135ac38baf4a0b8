#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "app/picture/bmp_header.h"
#include "app/picture/regular_file.h"

// The rows of an uncompressed BMP as stored, each padded to whole 32-bit words.
class TBmpStoredRows {
public:
    TBmpStoredRows(TRegularFile file, const TBmpHeader& header);

    // Reads the rows a band at a time into one buffer and hands each to `visit` with its
    // place from the top. A row starts on a 4-byte boundary, so 32-bit pixels can be read
    // in place. Raises "The picture is damaged or incomplete: ..." when the file ends early.
    void ForEach(const std::function<void(int y, std::span<const uint8_t> stored)>& visit) const;

private:
    TRegularFile FFile;
    std::size_t FRowBytes;
    int FHeight;
    bool FTopDown;
    uint64_t FDataOffset;
};
