#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "app/engine/pixel_mask.h"

// The walk of a row kernel: it sets the bit of every pixel of a row that a test
// accepts. A test answers for one pixel (`bool Matches(TArgb)`) and may also answer for
// four (`__m128i MatchesFour(__m128i)`, SSE2) or eight (`__m256i MatchesEight(__m256i)`,
// declared __attribute__((target("avx2")))), setting the top bit of the 32-bit lane of
// each pixel it accepts; the rest of the lane is free. Every form must give the same
// answers. Whole words of 64 pixels go by the widest form the processor runs, the
// pixels past them one by one.

#if defined(__x86_64__)
// Asked once: the processor's answer does not change while the program runs. The
// environment variable VANDREL_NO_AVX2 (any value) makes the kernels walk as on a
// processor without AVX2, so that those forms can be checked and timed too.
inline bool HasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2") && std::getenv("VANDREL_NO_AVX2") == nullptr;
    return has;
}

template <typename TTest>
__attribute__((target("avx2"))) void MarkWordsByEight(const TArgb* pixels, std::size_t words, uint64_t* maskWords,
                                                      const TTest& test)
{
    for (std::size_t w = 0; w < words; ++w, pixels += 64) {
        uint64_t bits = 0;
        for (unsigned i = 0; i < 64; i += 8) {
            const __m256i eight = test.MatchesEight(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + i)));
            bits |= uint64_t{static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(eight)))} << i;
        }
        maskWords[w] |= bits;
    }
}
#endif

#if defined(__SSE2__)
template <typename TTest>
void MarkWordsByFour(const TArgb* pixels, std::size_t words, uint64_t* maskWords, const TTest& test)
{
    for (std::size_t w = 0; w < words; ++w, pixels += 64) {
        uint64_t bits = 0;
        // Sixteen pixels at a time: narrow the 32-bit answers to bytes, keeping their
        // signs, and take the top bit of each byte.
        for (unsigned i = 0; i < 64; i += 16) {
            const auto four = [&](unsigned at) {
                return test.MatchesFour(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + i + at)));
            };
            const __m128i low = _mm_packs_epi32(four(0), four(4));
            const __m128i high = _mm_packs_epi32(four(8), four(12));
            bits |= uint64_t{static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(low, high)))} << i;
        }
        maskWords[w] |= bits;
    }
}
#endif

// Whole words only, by the widest form of the test that the processor runs.
template <typename TTest>
void MarkWords(const TArgb* pixels, std::size_t words, uint64_t* maskWords, const TTest& test)
{
#if defined(__x86_64__)
    if constexpr (requires { &TTest::MatchesEight; })
        if (HasAvx2()) {
            MarkWordsByEight(pixels, words, maskWords, test);
            return;
        }
#endif
#if defined(__SSE2__)
    if constexpr (requires(__m128i four) { test.MatchesFour(four); }) {
        MarkWordsByFour(pixels, words, maskWords, test);
        return;
    }
#endif
    for (std::size_t w = 0; w < words; ++w, pixels += 64) {
        uint64_t bits = 0;
        for (unsigned i = 0; i < 64; ++i)
            bits |= uint64_t{test.Matches(pixels[i])} << i;
        maskWords[w] |= bits;
    }
}

// `maskRow` must hold a bit for every pixel of `argbRow`.
template <typename TTest>
void MarkMatches(std::span<const TArgb> argbRow, std::span<uint64_t> maskRow, const TTest& test)
{
    const std::size_t fullWords = argbRow.size() / 64;
    MarkWords(argbRow.data(), fullWords, maskRow.data(), test);
    for (std::size_t x = fullWords * 64; x < argbRow.size(); ++x)
        maskRow[x / 64] |= uint64_t{test.Matches(argbRow[x])} << (x % 64);
}

// What the top byte of a pixel must be ORed with before it is read as alpha: all ones
// when it is unused, so such pixels count as opaque.
inline TArgb ForcedAlpha(TAlpha alpha)
{
    return alpha == TAlpha::Unused ? 0xFF000000u : 0u;
}
