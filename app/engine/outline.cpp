#include "app/engine/outline.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

TPixelMask OutlineOf(const TPixelMask& mask)
{
    TPixelMask outline(mask.Width(), mask.Height());
    const std::size_t words = mask.WordsPerRow();
    // Outside the picture counts as clear: a row of zeros above the first row and below
    // the last, zero carries at both ends of a row (the bits past the width are clear).
    const std::vector<uint64_t> clear(words, 0);
    for (int y = 0; y < mask.Height(); ++y) {
        const std::span<const uint64_t> row = mask.Row(y);
        const uint64_t* above = y > 0 ? mask.Row(y - 1).data() : clear.data();
        const uint64_t* below = y + 1 < mask.Height() ? mask.Row(y + 1).data() : clear.data();
        const std::span<uint64_t> out = outline.Row(y);
        for (std::size_t w = 0; w < words; ++w) {
            // Bit x of leftSet holds pixel x - 1, of rightSet pixel x + 1, carried across
            // the words.
            const uint64_t previous = w > 0 ? row[w - 1] : 0;
            const uint64_t next = w + 1 < words ? row[w + 1] : 0;
            const uint64_t leftSet = row[w] << 1 | previous >> 63;
            const uint64_t rightSet = row[w] >> 1 | next << 63;
            out[w] = row[w] & ~(leftSet & rightSet & above[w] & below[w]);
        }
    }
    return outline;
}
