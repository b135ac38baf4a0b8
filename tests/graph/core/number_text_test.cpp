#include "graph/core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

long double Log10(long double v)
{
    return std::log(v) / std::log(10.0L);
}

TEST(FormatFixed, WritesLogarithmsWithTwelveDecimals)
{
    EXPECT_EQ(FormatFixed(Log10(2), 18, 12, "."), "0.301029995664");
    EXPECT_EQ(FormatFixed(Log10(10), 18, 12, "."), "1.000000000000");
    EXPECT_EQ(FormatFixed(Log10(100), 18, 12, "."), "2.000000000000");
    EXPECT_EQ(FormatFixed(Log10(1), 18, 12, "."), "0.000000000000");
}

TEST(FormatFixed, RoundsAtTheDecimalsOrTheSignificantDigitsWhicheverComesFirst)
{
    EXPECT_EQ(FormatFixed(2.25, 12, 4, "."), "2.2500");
    EXPECT_EQ(FormatFixed(-1.0 / 3.0, 12, 4, "."), "-0.3333");
    EXPECT_EQ(FormatFixed(123.456789, 4, 4, "."), "123.5000");
    EXPECT_EQ(FormatFixed(0.000123456, 2, 6, "."), "0.000120");
    EXPECT_EQ(FormatFixed(3.7, 12, 0, "."), "4");
    EXPECT_EQ(FormatFixed(2.0, 4, 2, "."), "2.00");
}

TEST(FormatFixed, RoundsExactHalvesAwayFromZero)
{
    EXPECT_EQ(FormatFixed(0.125, 12, 2, "."), "0.13");
    EXPECT_EQ(FormatFixed(-1.125, 4, 2, "."), "-1.13");
    EXPECT_EQ(FormatFixed(2.5, 12, 0, "."), "3");
    // 0.145 is stored a hair below the half, so it goes down.
    EXPECT_EQ(FormatFixed(0.145, 12, 2, "."), "0.14");
}

TEST(FormatFixed, CarriesIntoNewDigitsAndDropsTheSignOfZero)
{
    EXPECT_EQ(FormatFixed(9.996, 12, 2, "."), "10.00");
    EXPECT_EQ(FormatFixed(0.006, 12, 2, "."), "0.01");
    EXPECT_EQ(FormatFixed(0.004, 12, 2, "."), "0.00");
    EXPECT_EQ(FormatFixed(-0.00001, 12, 4, "."), "0.0000");
    EXPECT_EQ(FormatFixed(-0.0, 12, 4, "."), "0.0000");
}

TEST(FormatFixed, UsesScientificFormBeyondThePrecision)
{
    EXPECT_EQ(FormatFixed(123456.0, 4, 2, "."), "1.235E+5");
    EXPECT_EQ(FormatFixed(-123456.0, 4, 2, "."), "-1.235E+5");
    EXPECT_EQ(FormatFixed(9999.6, 4, 2, "."), "1E+4");
    EXPECT_EQ(FormatFixed(1e20, 12, 4, "."), "1E+20");
    EXPECT_EQ(FormatFixed(9999.4, 4, 2, "."), "9999.00");
}

TEST(FormatFixed, WritesTheGivenDecimalSeparator)
{
    EXPECT_EQ(FormatFixed(-2.25, 12, 4, ","), "-2,2500");
    EXPECT_EQ(FormatFixed(123456.0, 4, 2, ","), "1,235E+5");
}

TEST(FormatFixed, NamesValuesThatAreNotNumbers)
{
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 12, 4, "."), "NAN");
    EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 12, 4, "."), "INF");
    EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 12, 4, "."), "-INF");
}

TEST(FormatExponent, KeepsTheDigitsAndTheShortestExponent)
{
    EXPECT_EQ(FormatExponent(12345, 2, "."), "1.2E+4");
    EXPECT_EQ(FormatExponent(0.00012, 2, ","), "1,2E-4");
    EXPECT_EQ(FormatExponent(-0.0005, 2, "."), "-5.0E-4");
    EXPECT_EQ(FormatExponent(99999, 2, "."), "1.0E+5"); // the carry moves the exponent
    EXPECT_EQ(FormatExponent(1.25, 2, "."), "1.3E+0");  // halves away from zero
    EXPECT_EQ(FormatExponent(0, 2, "."), "0.0E+0");
}

}  // namespace
