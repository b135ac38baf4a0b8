#pragma once

#include <array>
#include <cstdint>

// The 80-bit extended floating-point format of stored values: 8 bytes of mantissa
// with an explicit integer bit, then 2 bytes of sign and exponent (bias 16383), all
// little-endian. Converted by code, so the result does not depend on the compiler's
// long double.
using TExtendedBytes = std::array<uint8_t, 10>;

// Exact for every double, including subnormals, infinities and NaN.
TExtendedBytes ToExtended(double value);
// Rounds to the nearest double, halves to even; values beyond the double range
// become infinities, values below it zero (both with their sign).
double FromExtended(const TExtendedBytes& bytes);
