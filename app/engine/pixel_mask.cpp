#include "app/engine/pixel_mask.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// The bits of 64 pixels: bit i set when pixel i, with the bits of `forced` set, is the
// target.
uint64_t MatchWord(const TArgb* pixels, TArgb target, TArgb forced)
{
#if defined(__SSE2__)
    // Sixteen pixels at a time: compare, narrow the 32-bit answers to bytes, and take
    // one bit of each byte.
    const __m128i wanted = _mm_set1_epi32(static_cast<int>(target));
    const __m128i force = _mm_set1_epi32(static_cast<int>(forced));
    uint64_t bits = 0;
    for (unsigned i = 0; i < 64; i += 16) {
        const auto equal = [&](unsigned at) {
            const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i + at));
            return _mm_cmpeq_epi32(_mm_or_si128(four, force), wanted);
        };
        const __m128i low = _mm_packs_epi32(equal(0), equal(4));
        const __m128i high = _mm_packs_epi32(equal(8), equal(12));
        const auto sixteen = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
        bits |= uint64_t{sixteen} << i;
    }
    return bits;
#else
    uint64_t bits = 0;
    for (unsigned i = 0; i < 64; ++i)
        bits |= uint64_t{(pixels[i] | forced) == target} << i;
    return bits;
#endif
}

}  // namespace

void MarkColour(std::span<const TArgb> argbRow, uint32_t rgb, std::span<uint64_t> maskRow, TAlpha alpha)
{
    const TArgb target = 0xFF000000u | (rgb & 0x00FFFFFFu);
    const TArgb forced = alpha == TAlpha::Unused ? 0xFF000000u : 0u;
    const std::size_t width = argbRow.size();
    const std::size_t fullWords = width / 64;
    for (std::size_t w = 0; w < fullWords; ++w)
        maskRow[w] |= MatchWord(argbRow.data() + w * 64, target, forced);
    for (std::size_t x = fullWords * 64; x < width; ++x)
        if ((argbRow[x] | forced) == target)
            maskRow[x / 64] |= uint64_t{1} << (x % 64);
}
