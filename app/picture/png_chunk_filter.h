#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app/picture/regular_file.h"

// A PNG file read as libspng is to read it: the signature, the critical chunks and tRNS,
// the only ones that decide its pixels. The other ancillary chunks (text, colour
// profiles, private data, of any size or number) are passed over unread, as if absent:
// libspng would keep them in memory or refuse the picture for them, where Qt's reader
// sets them aside and shows it.
class TPngChunkFilter {
public:
    explicit TPngChunkFilter(const TRegularFile& file);

    // Fills `bytes` with what follows; false when the file ends first.
    bool Read(std::span<uint8_t> bytes);

private:
    // Up to `bytes.size()` bytes of the file from `offset`, through a buffer.
    std::size_t ReadAt(uint64_t offset, std::span<uint8_t> bytes);
    // Moves past the chunks to be left out that start here, to the next one to hand on.
    void SkipLeftOutChunks();

    const TRegularFile& FFile;
    uint64_t FOffset = 0;
    uint64_t FPassing;           // bytes still to hand on before the next chunk starts
    std::vector<uint8_t> FBuffer;
    uint64_t FBufferOffset = 0;  // of the buffer's first byte in the file
    std::size_t FBuffered = 0;
};
