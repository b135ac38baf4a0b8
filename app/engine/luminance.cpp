#include "app/engine/luminance.h"

#include <algorithm>

#include "app/engine/row_marking.h"

namespace {

// 1000 times the luminance before rounding.
uint32_t WeightedSum(TArgb pixel)
{
    return 299 * ((pixel >> 16) & 0xFF) + 587 * ((pixel >> 8) & 0xFF) + 114 * (pixel & 0xFF);
}

#if defined(__SSE2__)
// WeightedSum of four pixels by two multiply-adds of 16-bit lanes: blue and red in
// one, green and alpha (weighed 0) in the other.
__m128i WeightedSums(__m128i four)
{
    const __m128i blueRed = _mm_and_si128(four, _mm_set1_epi32(0x00FF00FF));
    const __m128i greenAlpha = _mm_srli_epi16(four, 8);
    return _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi32(299 << 16 | 114)),
                         _mm_madd_epi16(greenAlpha, _mm_set1_epi32(587)));
}

// All ones in the lanes whose alpha is 0xFF: shifting in copies of the top bit makes
// those lanes -1 and no others.
__m128i Opaque(__m128i four)
{
    return _mm_cmpeq_epi32(_mm_srai_epi32(four, 24), _mm_set1_epi32(-1));
}
#endif

// A pixel is dark when its weighted sum is at most `Limit`, which is where rounding to
// even keeps the luminance at the level. The side and whether alpha is stored are
// fixed at compile time, which keeps the vector tests to a few instructions.
template <bool Dark, bool AlphaStored>
struct TLuminanceTest {
    int Limit;

    bool Matches(TArgb pixel) const
    {
        const bool dark = static_cast<int>(WeightedSum(pixel)) <= Limit;
        return (!AlphaStored | (pixel >> 24 == 0xFF)) & (dark == Dark);
    }
#if defined(__SSE2__)
    __m128i MatchesFour(__m128i four) const
    {
        const __m128i sum = WeightedSums(four);
        // Negative exactly on the side asked for: the sums are far from overflow.
        const __m128i side = Dark ? _mm_sub_epi32(sum, _mm_set1_epi32(Limit + 1))
                                  : _mm_sub_epi32(_mm_set1_epi32(Limit), sum);
        if constexpr (!AlphaStored)
            return side;
        // The top byte of a lane is all ones only when alpha is 0xFF.
        return _mm_and_si128(side, _mm_cmpeq_epi8(four, _mm_set1_epi32(-1)));
    }
#endif
#if defined(__x86_64__)
    // The same eight at a time: the two multiply-adds of four pixels take about twice
    // as long as the exact colour's comparison.
    __attribute__((target("avx2"))) __m256i MatchesEight(__m256i eight) const
    {
        const __m256i blueRed = _mm256_and_si256(eight, _mm256_set1_epi32(0x00FF00FF));
        const __m256i greenAlpha = _mm256_srli_epi16(eight, 8);
        const __m256i sum = _mm256_add_epi32(_mm256_madd_epi16(blueRed, _mm256_set1_epi32(299 << 16 | 114)),
                                             _mm256_madd_epi16(greenAlpha, _mm256_set1_epi32(587)));
        // Negative exactly on the side asked for: the sums are far from overflow.
        const __m256i side = Dark ? _mm256_sub_epi32(sum, _mm256_set1_epi32(Limit + 1))
                                  : _mm256_sub_epi32(_mm256_set1_epi32(Limit), sum);
        if constexpr (!AlphaStored)
            return side;
        // The top byte of a lane is all ones only when alpha is 0xFF.
        return _mm256_and_si256(side, _mm256_cmpeq_epi8(eight, _mm256_set1_epi32(-1)));
    }
#endif
};

template <bool Dark>
void MarkSide(std::span<const TArgb> argbRow, int limit, std::span<uint64_t> maskRow, TAlpha alpha)
{
    if (alpha == TAlpha::Stored)
        MarkMatches(argbRow, maskRow, TLuminanceTest<Dark, true>{limit});
    else
        MarkMatches(argbRow, maskRow, TLuminanceTest<Dark, false>{limit});
}

}  // namespace

int Luminance(TArgb pixel)
{
    const uint32_t sum = WeightedSum(pixel);
    const uint32_t rounded = (sum + 500) / 1000;
    const bool half = sum % 1000 == 500;
    return static_cast<int>(rounded - (half & rounded & 1u));
}

void MarkLuminance(std::span<const TArgb> argbRow, int level, TLuminanceSide side, std::span<uint64_t> maskRow,
                   TAlpha alpha)
{
    // Luminance <= level exactly when the sum is below 1000 level + 500, or equal to it
    // with an even level (a half rounds to even). Levels past either end take all
    // pixels or none, as those ends do.
    const int clamped = std::clamp(level, -1, 255);
    const int limit = 1000 * clamped + 500 - (clamped & 1);
    if (side == TLuminanceSide::Dark)
        MarkSide<true>(argbRow, limit, maskRow, alpha);
    else
        MarkSide<false>(argbRow, limit, maskRow, alpha);
}

void AddLuminances(std::span<const TArgb> argbRow, TLuminanceHistogram& histogram, TAlpha alpha)
{
    const TArgb forced = ForcedAlpha(alpha);
    std::array<uint64_t, 257> counts{}; // the last bin takes the transparent pixels
    std::size_t x = 0;
#if defined(__SSE2__)
    // Four luminances at a time: the weighted sums divided by 1000 in single precision,
    // which is exact enough (a half is exactly representable, anything else lies at
    // least 0.001 from one), and rounded half to even by the conversion to integers.
    const __m128i forced4 = _mm_set1_epi32(static_cast<int>(forced));
    for (; x + 4 <= argbRow.size(); x += 4) {
        const __m128i four = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(argbRow.data() + x)), forced4);
        const __m128i level =
            _mm_cvtps_epi32(_mm_div_ps(_mm_cvtepi32_ps(WeightedSums(four)), _mm_set1_ps(1000.0f)));
        const __m128i opaque = Opaque(four);
        alignas(16) uint32_t bins[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(bins),
                        _mm_or_si128(_mm_and_si128(opaque, level), _mm_andnot_si128(opaque, _mm_set1_epi32(256))));
        for (const uint32_t bin : bins)
            ++counts[bin];
    }
#endif
    for (; x < argbRow.size(); ++x)
        ++counts[((argbRow[x] | forced) >> 24) == 0xFF ? static_cast<std::size_t>(Luminance(argbRow[x])) : 256];
    for (std::size_t level = 0; level < histogram.size(); ++level)
        histogram[level] += counts[level];
}
