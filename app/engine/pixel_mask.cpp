#include "app/engine/pixel_mask.h"

#include <algorithm>
#include <bit>

#include "app/engine/row_marking.h"
#include "graph/core/error.h"

TPixelMask::TPixelMask(int width, int height)
    : FWidth(width), FHeight(height)
{
    if (width < 0 || height < 0)
        throw TVandrelError("A picture cannot have a negative size");
    FWordsPerRow = (static_cast<std::size_t>(width) + 63) / 64;
    FBits.assign(FWordsPerRow * static_cast<std::size_t>(height), 0);
}

bool TPixelMask::Empty() const
{
    return std::all_of(FBits.begin(), FBits.end(), [](uint64_t word) { return word == 0; });
}

uint64_t TPixelMask::SetCount() const
{
    uint64_t count = 0;
    for (const uint64_t word : FBits)
        count += static_cast<uint64_t>(std::popcount(word));
    return count;
}

namespace {

// A pixel that, with the bits of `Forced` set, is `Target` exactly.
struct TExactColour {
    TArgb Target;
    TArgb Forced;

    bool Matches(TArgb pixel) const { return (pixel | Forced) == Target; }
#if defined(__SSE2__)
    __m128i MatchesFour(__m128i four) const
    {
        return _mm_cmpeq_epi32(_mm_or_si128(four, _mm_set1_epi32(static_cast<int>(Forced))),
                               _mm_set1_epi32(static_cast<int>(Target)));
    }
#endif
};

}  // namespace

void MarkColour(std::span<const TArgb> argbRow, uint32_t rgb, std::span<uint64_t> maskRow, TAlpha alpha)
{
    MarkMatches(argbRow, maskRow, TExactColour{0xFF000000u | (rgb & 0x00FFFFFFu), ForcedAlpha(alpha)});
}
