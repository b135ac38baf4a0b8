#include "app/engine/student_t.h"

#include <array>
#include <cmath>

#include "graph/core/error.h"
#include "graph/data/incomplete_beta.h"

namespace {

// Beyond this the incomplete beta's fraction converges slowly, and the expansion
// below is already exact to about 1e-7.
constexpr int kExpansionFrom = 200;

// Cornish and Fisher's expansion of t's quantile in powers of 1/ν around the normal one.
long double ExpandedT(long double z, long double v)
{
    const long double z2 = z * z;
    return z + z * (z2 + 1) / (4 * v) + z * ((5 * z2 + 16) * z2 + 3) / (96 * v * v) +
           z * (((3 * z2 + 19) * z2 + 17) * z2 - 15) / (384 * v * v * v);
}

// P(|T| > t) = I_x(ν/2, 1/2) with x = ν / (ν + t²), which rises with x: find the x
// where it is 0.05 by halving.
long double QuantileByHalving(int degreesOfFreedom)
{
    const long double v = degreesOfFreedom;
    double low = 0.0, high = 1.0;
    for (int step = 0; step < 60; ++step) {
        const double middle = (low + high) / 2;
        if (IncompleteBeta(v / 2, 0.5, middle) < 0.05)
            low = middle;
        else
            high = middle;
    }
    const long double x = (static_cast<long double>(low) + high) / 2;
    return std::sqrt(v * (1 - x) / x);
}

}  // namespace

long double StudentT95(int degreesOfFreedom)
{
    if (degreesOfFreedom < 1)
        throw TVandrelError("Student's t needs at least one degree of freedom");
    if (degreesOfFreedom > kExpansionFrom)
        return ExpandedT(1.959963984540054L, degreesOfFreedom);
    // Every fit asks for one of these, and measuring thousands of pieces of a picture
    // fits thousands of lines: find each once.
    static const std::array<long double, kExpansionFrom + 1> quantiles = [] {
        std::array<long double, kExpansionFrom + 1> table{};
        for (int v = 1; v <= kExpansionFrom; ++v)
            table[static_cast<std::size_t>(v)] = QuantileByHalving(v);
        return table;
    }();
    return quantiles[static_cast<std::size_t>(degreesOfFreedom)];
}
