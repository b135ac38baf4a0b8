#pragma once

inline constexpr const char* kInvalidCorrelationData = "Invalid internal data, Correlation";
inline constexpr const char* kCorrelationDidNotConverge = "internal data error in correlation";

// The regularized incomplete beta function I_x(a, b), by its continued fraction.
// Raises kInvalidCorrelationData when x lies outside 0 to 1 (or is NaN) and
// kCorrelationDidNotConverge when the fraction has not settled in 100 steps.
double IncompleteBeta(double a, double b, double x);

// ln Gamma(x) for x > 0, by Lanczos' series (about ten significant digits).
double LnGamma(double x);
