#include "app/picture/png_chunk_filter.h"

#include <algorithm>
#include <cstring>

#include "app/picture/picture_damage.h"

namespace {

constexpr uint64_t kSignatureBytes = 8;
constexpr uint64_t kChunkFrameBytes = 12; // length, type and checksum
constexpr std::size_t kBufferBytes = std::size_t{1} << 16;

uint32_t BigEndian(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

}  // namespace

TPngChunkFilter::TPngChunkFilter(const TRegularFile& file) : FFile(file), FPassing(kSignatureBytes), FBuffer(kBufferBytes)
{
}

std::size_t TPngChunkFilter::ReadAt(uint64_t offset, std::span<uint8_t> bytes)
{
    if (offset < FBufferOffset || offset + bytes.size() > FBufferOffset + FBuffered) {
        if (bytes.size() >= FBuffer.size()) // large reads go straight to the caller
            return ReadFileInto(FFile, offset, bytes);
        FBufferOffset = offset;
        FBuffered = ReadFileInto(FFile, offset, FBuffer);
    }
    const std::size_t from = static_cast<std::size_t>(offset - FBufferOffset);
    const std::size_t count = std::min(bytes.size(), FBuffered - std::min(from, FBuffered));
    std::memcpy(bytes.data(), FBuffer.data() + from, count);
    return count;
}

void TPngChunkFilter::SkipLeftOutChunks()
{
    for (;;) {
        uint8_t head[8];
        if (ReadAt(FOffset, head) < sizeof head) {
            FPassing = sizeof head; // what is left, for libspng to find cut short
            return;
        }
        const uint32_t length = BigEndian(head);
        const bool ancillary = (head[4] & 0x20) != 0;
        // A length past 2^31 - 1 is libspng's to refuse.
        if (!ancillary || length > 0x7FFFFFFFu || std::memcmp(head + 4, "tRNS", 4) == 0) {
            FPassing = kChunkFrameBytes + length;
            return;
        }
        FOffset += kChunkFrameBytes + length;
    }
}

bool TPngChunkFilter::Read(std::span<uint8_t> bytes)
{
    while (!bytes.empty()) {
        if (FPassing == 0)
            SkipLeftOutChunks();
        const std::size_t wanted = static_cast<std::size_t>(std::min<uint64_t>(FPassing, bytes.size()));
        const std::size_t got = ReadAt(FOffset, bytes.first(wanted));
        FOffset += got;
        FPassing -= got;
        bytes = bytes.subspan(got);
        if (got < wanted)
            return false;
    }
    return true;
}
