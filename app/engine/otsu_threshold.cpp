#include "app/engine/otsu_threshold.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "graph/core/error.h"

namespace {

constexpr uint64_t kMostPixels = uint64_t{1} << 40;

using TUnsigned128 = unsigned __int128;

// An unsigned number of four 64-bit words, least significant first: room for the
// products that compare two variances (below 2^252 up to kMostPixels pixels).
using TWide = std::array<uint64_t, 4>;

TWide Wide(TUnsigned128 value)
{
    return {static_cast<uint64_t>(value), static_cast<uint64_t>(value >> 64), 0, 0};
}

// a times b, of which the caller knows it fits.
TWide Times(const TWide& a, const TWide& b)
{
    TWide product{};
    for (std::size_t i = 0; i < 4; ++i) {
        TUnsigned128 carry = 0;
        for (std::size_t j = 0; i + j < 4; ++j) {
            carry += static_cast<TUnsigned128>(a[i]) * b[j] + product[i + j];
            product[i + j] = static_cast<uint64_t>(carry);
            carry >>= 64;
        }
    }
    return product;
}

bool Greater(const TWide& a, const TWide& b)
{
    return std::lexicographical_compare(b.rbegin(), b.rend(), a.rbegin(), a.rend());
}

// The variance between the classes, times n squared, is D^2 / (w0 w1) with
// D = n s0 - S w0 (w0 pixels below the split summing to s0; n pixels summing to S in
// all; w1 = n - w0). Kept as that fraction so that it compares exactly.
struct TBetweenVariance {
    TUnsigned128 Numerator;   // |D|
    TUnsigned128 Denominator; // w0 w1

    bool Exceeds(const TBetweenVariance& other) const
    {
        const TWide mine = Times(Times(Wide(Numerator), Wide(Numerator)), Wide(other.Denominator));
        const TWide theirs = Times(Times(Wide(other.Numerator), Wide(other.Numerator)), Wide(Denominator));
        return Greater(mine, theirs);
    }
};

}  // namespace

int OtsuThreshold(const TLuminanceHistogram& histogram)
{
    uint64_t n = 0;
    TUnsigned128 sum = 0;
    for (std::size_t level = 0; level < histogram.size(); ++level) {
        if (histogram[level] > kMostPixels - n)
            throw TVandrelError("Too many pixels for Otsu's method");
        n += histogram[level];
        sum += static_cast<TUnsigned128>(histogram[level]) * level;
    }
    const auto darkest = std::find_if(histogram.begin(), histogram.end(), [](uint64_t count) { return count > 0; });
    if (darkest == histogram.end())
        return 0;

    int best = static_cast<int>(darkest - histogram.begin());
    TBetweenVariance bestVariance{0, 1};
    uint64_t below = 0;
    TUnsigned128 belowSum = 0;
    for (int level = 0; level < 255; ++level) {
        below += histogram[static_cast<std::size_t>(level)];
        belowSum += static_cast<TUnsigned128>(histogram[static_cast<std::size_t>(level)]) * level;
        if (below == 0 || below == n)
            continue;
        const TUnsigned128 left = belowSum * n, right = sum * below;
        const TBetweenVariance variance{left > right ? left - right : right - left,
                                        static_cast<TUnsigned128>(below) * (n - below)};
        if (variance.Exceeds(bestVariance)) {
            best = level;
            bestVariance = variance;
        }
    }
    // Every split across the empty levels after the best gives the same variance; the
    // middle of them stays clear of both classes, where the darker end would take
    // nothing of what blur or compression moved off the dark grey.
    const auto next = std::find_if(histogram.begin() + best + 1, histogram.end(), [](uint64_t count) { return count > 0; });
    return next == histogram.end() ? best : (best + static_cast<int>(next - histogram.begin()) - 1) / 2;
}
