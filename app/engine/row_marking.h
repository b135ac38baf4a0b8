#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/engine/pixel_mask.h"

// Sets the bit of every pixel of `argbRow` that `test` accepts. A test answers for one
// pixel (`bool Matches(TArgb)`) and, where SSE2 is there, for four at once
// (`__m128i Matches(__m128i)`: the top bit of a 32-bit lane is set when it accepts that
// pixel, the rest is free); both must give the same answer. Whole words of 64 pixels
// go four at a time, the rest one by one.
template <typename TTest>
void MarkMatches(std::span<const TArgb> argbRow, std::span<uint64_t> maskRow, const TTest& test)
{
    const std::size_t width = argbRow.size();
    const std::size_t fullWords = width / 64;
    for (std::size_t w = 0; w < fullWords; ++w) {
        const TArgb* pixels = argbRow.data() + w * 64;
        uint64_t bits = 0;
#if defined(__SSE2__)
        // Sixteen pixels at a time: narrow the 32-bit answers to bytes, keeping their
        // signs, and take the top bit of each byte.
        for (unsigned i = 0; i < 64; i += 16) {
            const auto four = [&](unsigned at) {
                return test.Matches(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i + at)));
            };
            const __m128i low = _mm_packs_epi32(four(0), four(4));
            const __m128i high = _mm_packs_epi32(four(8), four(12));
            const auto sixteen = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)));
            bits |= uint64_t{sixteen} << i;
        }
#else
        for (unsigned i = 0; i < 64; ++i)
            bits |= uint64_t{test.Matches(pixels[i])} << i;
#endif
        maskRow[w] |= bits;
    }
    for (std::size_t x = fullWords * 64; x < width; ++x)
        maskRow[x / 64] |= uint64_t{test.Matches(argbRow[x])} << (x % 64);
}

// What the top byte of a pixel must be ORed with before it is read as alpha: all ones
// when it is unused, so such pixels count as opaque.
inline TArgb ForcedAlpha(TAlpha alpha)
{
    return alpha == TAlpha::Unused ? 0xFF000000u : 0u;
}
