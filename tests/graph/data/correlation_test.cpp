#include "graph/data/correlation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graph/core/error.h"
#include "graph/data/data_series.h"
#include "graph/data/incomplete_beta.h"

namespace {

constexpr double kPi = std::numbers::pi;

TCompStats CorrelationOf(std::initializer_list<std::pair<double, double>> points)
{
    TDataSeries series;
    for (const auto& [x, y] : points)
        series.AddPoint(x, y);
    return series.GetCompStats();
}

// Student's t of r with n - 2 degrees of freedom.
double TOf(double r, int n)
{
    return r * std::sqrt((n - 2) / (1 - r * r));
}

TEST(Correlation, OfThreePointsWithoutConfidenceLimits)
{
    const TCompStats stats = CorrelationOf({{1, 2}, {2, 4}, {3, 6.5}});
    EXPECT_TRUE(stats.Valid);
    EXPECT_FALSE(stats.Failed);
    EXPECT_NEAR(stats.R, 0.9979487157886733, 1e-15);
    EXPECT_NEAR(stats.RSquared, stats.R * stats.R, 1e-15);
    EXPECT_EQ(stats.RLow, 0);
    EXPECT_EQ(stats.RHigh, 0);
    EXPECT_EQ(stats.RLowSquared, 0);
    // With one degree of freedom t follows Cauchy's law: p = 1 - 2 atan|t| / pi.
    const double p = 1 - 2 * std::atan(std::fabs(TOf(stats.R, 3))) / kPi;
    EXPECT_NEAR(stats.Significance, p, 1e-7);
}

TEST(Correlation, SignificanceMatchesTheClosedFormForTwoDegreesOfFreedom)
{
    const TCompStats stats = CorrelationOf({{1, 3}, {2, 1}, {3, 4}, {4, 2.5}});
    const double t = TOf(stats.R, 4);
    EXPECT_NEAR(stats.Significance, 1 - std::fabs(t) / std::sqrt(2 + t * t), 1e-7);
}

TEST(Correlation, TenPointsOrMoreGetFisherConfidenceLimits)
{
    TDataSeries series;
    const double ys[] = {1.2, 1.9, 3.4, 3.8, 5.3, 5.7, 7.4, 7.8, 9.5, 9.9, 11.6, 11.8};
    for (int i = 0; i < 12; ++i)
        series.AddPoint(i + 1, ys[i]);
    const TCompStats stats = series.GetCompStats();
    const double z = std::atanh(stats.R);
    const double g = 1.96 / std::sqrt(9.0);
    EXPECT_NEAR(stats.RLow, std::tanh(z - g), 1e-12);
    EXPECT_NEAR(stats.RHigh, std::tanh(z + g), 1e-12);
    EXPECT_NEAR(stats.RHighSquared, stats.RHigh * stats.RHigh, 1e-15);
    EXPECT_LT(stats.RLow, stats.R);
    EXPECT_GT(stats.RHigh, stats.R);
}

TEST(Correlation, APerfectLineOfTenOrMorePointsHasLimitsAtR)
{
    TDataSeries rising, falling;
    for (int i = 0; i < 12; ++i) {
        rising.AddPoint(i, 3 + 2 * i);
        falling.AddPoint(i * 0.5, 4 - i);
    }
    const TCompStats up = rising.GetCompStats();
    EXPECT_EQ(up.R, 1);
    EXPECT_EQ(up.RLow, 1);
    EXPECT_EQ(up.RHigh, 1);
    EXPECT_LT(up.Significance, 1e-9);
    const TCompStats down = falling.GetCompStats();
    EXPECT_EQ(down.R, -1);
    EXPECT_EQ(down.RLow, -1);
    EXPECT_EQ(down.RHigh, -1);
}

TEST(Correlation, FailuresLeaveTheNumbersAndTheMessageOutlivesASuccess)
{
    TDataSeries series;
    series.AddPoint(1, 2);
    series.AddPoint(2, 4);
    TCompStats stats = series.GetCompStats();
    EXPECT_TRUE(stats.Failed);
    EXPECT_EQ(stats.Msg, "No Correlation available unless at least 3 points exist");

    series.AddPoint(3, 6.5);
    stats = series.GetCompStats();
    EXPECT_FALSE(stats.Failed);
    EXPECT_EQ(stats.Msg, "No Correlation available unless at least 3 points exist");
    const double r = stats.R;

    series.Clear();
    for (int i = 0; i < 4; ++i)
        series.AddPoint(i, 5); // a horizontal line
    stats = series.GetCompStats();
    EXPECT_FALSE(stats.Failed);
    EXPECT_EQ(stats.Msg, "Invalid Correlation due to lack of variance in a variable");
    EXPECT_EQ(stats.R, r);
}

TEST(IncompleteBeta, AgreesWithClosedForms)
{
    EXPECT_NEAR(IncompleteBeta(1, 1, 0.3), 0.3, 1e-7);
    EXPECT_NEAR(IncompleteBeta(3, 1, 0.6), std::pow(0.6, 3), 1e-7);
    EXPECT_NEAR(IncompleteBeta(2.5, 2.5, 0.5), 0.5, 1e-7);
    EXPECT_EQ(IncompleteBeta(2, 3, 0), 0);
    EXPECT_EQ(IncompleteBeta(2, 3, 1), 1);
    EXPECT_NEAR(LnGamma(5), std::log(24.0), 1e-9);
}

TEST(IncompleteBeta, RaisesItsTwoMessages)
{
    try {
        IncompleteBeta(1, 1, 1.5);
        FAIL();
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(), "Invalid internal data, Correlation");
    }
    EXPECT_THROW(IncompleteBeta(1, 1, -0.1), TVandrelError);
    EXPECT_THROW(IncompleteBeta(1, 1, std::nan("")), TVandrelError);
    // Huge parameters need far more than 100 steps of the fraction.
    try {
        IncompleteBeta(1e6, 1e6, 0.4999);
        FAIL();
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(), "internal data error in correlation");
    }
}

}  // namespace
