#include "app/picture/bmp_run_lengths.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/picture/indexed_mask.h"
#include "app/picture/picture_damage.h"
#include "app/picture/streamed_mask.h"

namespace {

// The file's bytes from an offset, read a chunk at a time.
class TByteReader {
public:
    TByteReader(const TRegularFile& file, uint64_t offset) : FFile(file), FOffset(offset) {}

    bool Next(uint8_t& byte)
    {
        if (FAt == FChunk.size()) {
            FChunk = ReadFileBytes(FFile, FOffset, kStreamedBandBytes);
            FOffset += FChunk.size();
            FAt = 0;
            if (FChunk.empty())
                return false;
        }
        byte = static_cast<uint8_t>(FChunk[FAt++]);
        return true;
    }

private:
    const TRegularFile& FFile;
    uint64_t FOffset;
    std::string FChunk;
    std::size_t FAt = 0;
};

class TRunLengthRows : public TStreamedPicture, public TIndexedRows {
public:
    TRunLengthRows(TRegularFile file, const TBmpHeader& header, std::vector<TArgb> palette)
        : TStreamedPicture(static_cast<int>(header.Width), static_cast<int>(std::llabs(header.Height))),
          FFile(std::move(file)), FFourBits(header.Compression == kBmpRle4), FTopDown(header.Height < 0),
          FDataOffset(header.DataOffset), FColours(std::move(palette))
    {
        FColours.resize(256, 0); // indices past the palette: clear, as Qt converts them
    }

    TForegroundMask Mask(const TForegroundRule& rule) override { return IndexedMask(*this, Width(), Height(), rule); }
    const std::vector<TArgb>& Colours() const override { return FColours; }
    int Bits() const override { return 8; }
    void ForEachRun(const TVisit& visit) override { ForEachIndexedRun(*this, Width(), visit); }

    void ForEachRow(const std::function<void(int y, std::span<const uint8_t> packed)>& visit) override
    {
        const int width = Width();
        std::vector<uint8_t> row(static_cast<std::size_t>(width), 0);
        int stored = 0; // rows from the first stored, the bottom one unless top down
        int x = 0;
        // Hands the row being decoded on, and every row skipped up to `next`, cleared.
        const auto moveTo = [&](int next) {
            for (; stored < next; ++stored) {
                visit(FTopDown ? stored : Height() - 1 - stored, row);
                std::ranges::fill(row, 0);
            }
        };
        const auto put = [&](uint8_t index) {
            if (x < width)
                row[static_cast<std::size_t>(x++)] = index;
        };
        TByteReader in(FFile, FDataOffset);
        bool ended = false;   // by its code
        bool pastEnd = false; // moved past the last row, which Qt then stays on
        uint8_t count = 0;
        uint8_t code = 0;
        while (stored < Height() && !ended && in.Next(count) && in.Next(code)) {
            if (count != 0) { // a run of one index, or of two alternating
                for (int i = 0; i < count; ++i)
                    put(FFourBits ? (i % 2 ? code & 0x0F : code >> 4) : code);
            } else if (code == 0) { // end of the row
                x = 0;
                moveTo(stored + 1);
            } else if (code == 1) { // end of the picture
                ended = true;
            } else if (code == 2) { // a move right and up the rows
                uint8_t right = 0;
                uint8_t up = 0;
                if (!in.Next(right) || !in.Next(up))
                    break;
                x = std::min(x + right, width - 1);
                pastEnd = pastEnd || stored + up >= Height();
                moveTo(std::min(stored + up, Height() - 1));
            } else { // `code` indices as they are, padded to a 16-bit boundary
                const int bytes = FFourBits ? (code + 1) / 2 : code;
                uint8_t byte = 0;
                for (int i = 0; i < bytes; ++i) {
                    if (!in.Next(byte))
                        break;
                    put(FFourBits ? byte >> 4 : byte);
                    if (FFourBits && 2 * i + 1 < code)
                        put(byte & 0x0F);
                }
                if (bytes % 2 == 1)
                    in.Next(byte);
            }
        }
        if (stored < Height() && !ended && !pastEnd)
            ThrowDamaged(FFile.Name(), "its run-length data ends after " +
                                std::to_string(stored) + " of " + std::to_string(Height()) + " rows");
        moveTo(Height());
    }

private:
    TRegularFile FFile;
    bool FFourBits;
    bool FTopDown;
    uint64_t FDataOffset;
    std::vector<TArgb> FColours;
};

}  // namespace

std::unique_ptr<TStreamedPicture> BmpRunLengthRows(TRegularFile file, const TBmpHeader& header, std::vector<TArgb> palette)
{
    return std::make_unique<TRunLengthRows>(std::move(file), header, std::move(palette));
}
