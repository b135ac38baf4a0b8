#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "graph/stream/extended_float.h"

namespace {

using Limits = std::numeric_limits<double>;
constexpr uint64_t kOne = uint64_t{1} << 63; // the integer bit

TExtendedBytes Extended(uint64_t mantissa, unsigned signAndExponent)
{
    TExtendedBytes bytes{};
    for (std::size_t i = 0; i < 8; ++i)
        bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
    bytes[8] = static_cast<uint8_t>(signAndExponent);
    bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
    return bytes;
}

uint64_t Bits(double value)
{
    return std::bit_cast<uint64_t>(value);
}

TEST(ExtendedFloat, WidensExactly)
{
    EXPECT_EQ(ToExtended(0.05),
              (TExtendedBytes{0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFA, 0x3F}));
    EXPECT_EQ(ToExtended(-0.0), Extended(0, 0x8000));
    EXPECT_EQ(ToExtended(Limits::denorm_min()), Extended(kOne, 16383 - 1074));

    std::vector<double> values = {0.0, -0.0, Limits::max(), -Limits::max(), Limits::min(),
                                  Limits::min() - Limits::denorm_min(), Limits::infinity(),
                                  -Limits::infinity(), Limits::quiet_NaN(),
                                  std::bit_cast<double>(uint64_t{0x7FF0000000000001})};
    std::mt19937_64 random(20240517);
    for (int i = 0; i < 200000; ++i)
        values.push_back(std::bit_cast<double>(random()));
    for (int i = 0; i < 20000; ++i) // subnormals of both signs
        values.push_back(std::bit_cast<double>(random() & 0x800FFFFFFFFFFFFF));
    for (const double value : values)
        ASSERT_EQ(Bits(FromExtended(ToExtended(value))), Bits(value)) << Bits(value);
}

TEST(ExtendedFloat, NarrowsToNearestEvenAndSaturates)
{
    const struct {
        uint64_t Mantissa;
        unsigned Exponent;
        double Expected;
    } cases[] = {
        {kOne | (uint64_t{1} << 10), 16383, 1.0},                        // a tie stays even
        {kOne | (uint64_t{3} << 10), 16383, 1.0 + std::ldexp(1.0, -51)}, // a tie goes up to even
        {kOne | (uint64_t{1} << 10) | 1, 16383, 1.0 + std::ldexp(1.0, -52)},
        {~uint64_t{0}, 16383 + 1023, Limits::infinity()}, // rounds past the largest double
        {kOne, 0x7FFE | 0x8000, -Limits::infinity()},
        {kOne, 16383 - 1075, 0.0}, // half the least subnormal
        {kOne | 1, 16383 - 1075, Limits::denorm_min()},
        {kOne, 1 | 0x8000, -0.0},
        {~uint64_t{0}, 16383 - 1023, Limits::min()}, // a subnormal rounding up to normal
        {0, 0x7FFF, Limits::infinity()},             // pseudo-infinity
        {uint64_t{1} << 62, 16384, 1.0},             // unnormal: taken at face value
        {kOne, 0, 0.0},                              // pseudo-denormal
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bits(FromExtended(Extended(c.Mantissa, c.Exponent))), Bits(c.Expected))
            << std::hex << c.Mantissa << " " << c.Exponent;
    // A NaN whose payload lies below a double's bits stays a NaN.
    EXPECT_TRUE(std::isnan(FromExtended(Extended(kOne | 1, 0x7FFF))));
}

// Where long double is the x87 format, the hardware conversion is the reference.
TEST(ExtendedFloat, AgreesWithTheX87)
{
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "long double is not the 80-bit format";
    } else {
        std::mt19937_64 random(7);
        for (int i = 0; i < 200000; ++i) {
            // Exponents around the double range; the x87 refuses unnormals, so none here.
            const unsigned exponent = 16383 - 1100 + static_cast<unsigned>(random() % 2200);
            const TExtendedBytes bytes =
                Extended(random() | kOne, exponent | ((random() & 1) != 0 ? 0x8000 : 0));
            long double hardware = 0;
            std::memcpy(&hardware, bytes.data(), bytes.size());
            ASSERT_EQ(Bits(FromExtended(bytes)), Bits(static_cast<double>(hardware))) << exponent;
        }
    }
}

} // namespace
