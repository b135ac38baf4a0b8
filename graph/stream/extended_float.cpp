#include "graph/stream/extended_float.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr uint64_t kFractionMask = (uint64_t{1} << 52) - 1;
constexpr uint64_t kDoubleSignBit = uint64_t{1} << 63;
constexpr uint64_t kDoubleInfinity = uint64_t{0x7FF} << 52;

TExtendedBytes Pack(uint64_t mantissa, unsigned exponent, bool negative)
{
    TExtendedBytes bytes{};
    for (int i = 0; i < 8; ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(mantissa >> (8 * i));
    const unsigned signAndExponent = (negative ? 0x8000u : 0u) | exponent;
    bytes[8] = static_cast<uint8_t>(signAndExponent);
    bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
    return bytes;
}

// Shifts right by `shift`, rounding to nearest with ties to even.
uint64_t ShiftRounded(uint64_t value, int shift)
{
    if (shift <= 0)
        return value;
    if (shift > 64)
        return 0; // below half of the last unit kept
    const uint64_t kept = shift == 64 ? 0 : value >> shift;
    const uint64_t dropped = shift == 64 ? value : value & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (dropped > half || (dropped == half && (kept & 1) != 0))
        return kept + 1;
    return kept;
}

} // namespace

TExtendedBytes ToExtended(double value)
{
    const auto bits = std::bit_cast<uint64_t>(value);
    const bool negative = (bits & kDoubleSignBit) != 0;
    const auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const uint64_t fraction = bits & kFractionMask;

    if (exponent == 0x7FF) // infinity, or NaN with its payload kept
        return Pack(kIntegerBit | (fraction << 11), 0x7FFF, negative);
    if (exponent == 0) {
        if (fraction == 0)
            return Pack(0, 0, negative);
        // A subnormal double is a normal extended: move its leading one to the
        // integer bit and lower the exponent to match.
        const int leadingZeros = std::countl_zero(fraction);
        const int extendedExponent = kExtendedBias + 63 - 1074 - leadingZeros;
        return Pack(fraction << leadingZeros, static_cast<unsigned>(extendedExponent), negative);
    }
    return Pack(kIntegerBit | (fraction << 11),
                static_cast<unsigned>(exponent - kDoubleBias + kExtendedBias), negative);
}

double FromExtended(const TExtendedBytes& bytes)
{
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[static_cast<std::size_t>(i)];
    const unsigned signAndExponent = bytes[8] | (unsigned{bytes[9]} << 8);
    const uint64_t sign = (signAndExponent & 0x8000u) != 0 ? kDoubleSignBit : 0;
    const auto exponent = static_cast<int>(signAndExponent & 0x7FFF);

    if (exponent == 0x7FFF) {
        // The integer bit is ignored here: a "pseudo" infinity or NaN reads as the real one.
        if ((mantissa & ~kIntegerBit) == 0)
            return std::bit_cast<double>(sign | kDoubleInfinity);
        uint64_t fraction = (mantissa >> 11) & kFractionMask;
        if (fraction == 0) // the payload sat in bits a double lacks: keep it a NaN
            fraction = uint64_t{1} << 51;
        return std::bit_cast<double>(sign | kDoubleInfinity | fraction);
    }
    if (mantissa == 0)
        return std::bit_cast<double>(sign);

    // Every other pattern is taken at its face value, mantissa * 2^(exponent - 16383 - 63),
    // with exponent 0 counting as 1. That is the value of normals and denormals, gives
    // pseudo-denormals (exponent 0, integer bit set) their meaning on the x87, and reads
    // unnormals (integer bit clear, exponent not 0), which the x87 refuses, as the value
    // their digits spell instead of failing.
    const int leadingZeros = std::countl_zero(mantissa);
    mantissa <<= leadingZeros;
    const int power = std::max(exponent, 1) - leadingZeros - kExtendedBias; // of the leading one
    if (power > kDoubleBias)
        return std::bit_cast<double>(sign | kDoubleInfinity);

    // Keep 53 bits, or fewer when the result is subnormal. Adding the rounded mantissa,
    // leading one included, to the biased exponent less one lets a carry from rounding
    // step into the next binade, up to infinity, or from subnormal to normal.
    const int keptPower = std::max(power, 1 - kDoubleBias);
    const uint64_t rounded = ShiftRounded(mantissa, 11 + (keptPower - power));
    const auto biasedLessOne = static_cast<uint64_t>(keptPower + kDoubleBias - 1);
    return std::bit_cast<double>(sign | ((biasedLessOne << 52) + rounded));
}
