#include "graph/data/incomplete_beta.h"

#include <cmath>

#include "graph/core/error.h"

namespace {

// The continued fraction of I_x(a, b), evaluated by its even and odd recurrences,
// renormalised at every step so that nothing overflows.
double BetaContinuedFraction(double a, double b, double x)
{
    constexpr int kMaxSteps = 100;
    constexpr double kEpsilon = 3e-7;
    const double qab = a + b;
    const double qap = a + 1.0;
    const double qam = a - 1.0;
    double am = 1.0, bm = 1.0, az = 1.0;
    double bz = 1.0 - qab * x / qap;
    for (int m = 1; m <= kMaxSteps; ++m) {
        const double em = m;
        const double tem = 2.0 * em;
        double d = em * (b - em) * x / ((qam + tem) * (a + tem));
        const double ap = az + d * am;
        const double bp = bz + d * bm;
        d = -(a + em) * (qab + em) * x / ((a + tem) * (qap + tem));
        const double app = ap + d * az;
        const double bpp = bp + d * bz;
        const double aold = az;
        am = ap / bpp;
        bm = bp / bpp;
        az = app / bpp;
        bz = 1.0;
        if (std::fabs(az - aold) < kEpsilon * std::fabs(az))
            return az;
    }
    throw TVandrelError(kCorrelationDidNotConverge);
}

}  // namespace

double LnGamma(double x)
{
    static constexpr double kCoefficients[] = {76.18009173,  -86.50532033,  24.01409822,
                                               -1.231739516, 0.120858003e-2, -0.536382e-5};
    double y = x - 1.0;
    double tmp = y + 5.5;
    tmp = (y + 0.5) * std::log(tmp) - tmp;
    double series = 1.0;
    for (const double coefficient : kCoefficients) {
        y += 1.0;
        series += coefficient / y;
    }
    return tmp + std::log(2.50662827465 * series);
}

double IncompleteBeta(double a, double b, double x)
{
    if (!(x >= 0.0 && x <= 1.0))
        throw TVandrelError(kInvalidCorrelationData);
    const double prefactor =
        (x == 0.0 || x == 1.0)
            ? 0.0
            : std::exp(LnGamma(a + b) - LnGamma(a) - LnGamma(b) + a * std::log(x) + b * std::log(1.0 - x));
    // The fraction converges fast only on its own side of the mean; the other side
    // comes from the symmetry I_x(a, b) = 1 - I_(1-x)(b, a).
    if (x < (a + 1.0) / (a + b + 2.0))
        return prefactor * BetaContinuedFraction(a, b, x) / a;
    return 1.0 - prefactor * BetaContinuedFraction(b, a, 1.0 - x) / b;
}
