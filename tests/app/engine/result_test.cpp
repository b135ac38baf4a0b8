#include "app/engine/result_series.h"
#include "app/engine/result_texts.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/engine/decimal_log.h"
#include "graph/core/error.h"
#include "graph/data/regression.h"

namespace {

TEST(ResultTexts, LogarithmCellsHaveTwelveDecimals)
{
    EXPECT_EQ(LogCellText(Log10(10), "."), "1.000000000000");
    EXPECT_EQ(LogCellText(Log10(2), "."), "0.301029995664");
    EXPECT_EQ(LogCellText(Log10(1), "."), "0.000000000000");
    EXPECT_EQ(LogCellText(Log10(100), ","), "2,000000000000");
}

TEST(ResultTexts, DimensionIsTheNegatedSlopeWithTwoDecimals)
{
    TCompStats stats;
    stats.Slope = -1.6789;
    EXPECT_EQ(MakeResultTexts("", stats, ".").Dimension.Joined(), "D: 1.68");
    stats.Slope = -1.6;
    EXPECT_EQ(MakeResultTexts("", stats, ".").Dimension.Joined(), "D: 1.60");
    stats.Slope = 0.5;
    EXPECT_EQ(MakeResultTexts("", stats, ".").Dimension.Joined(), "D: -0.50");
    stats.Slope = 0.0;
    EXPECT_EQ(MakeResultTexts("", stats, ".").Dimension.Joined(), "D: 0.00");
}

TEST(ResultTexts, RowsCarryFileSlopeInterceptAndCorrelation)
{
    TCompStats stats;
    stats.Slope = -1.26185950714;
    stats.Intercept = 3.5;
    stats.R = -0.99987654321;
    const TResultTexts texts = MakeResultTexts("leaf.bmp", stats, ",");
    EXPECT_EQ(texts.File.Caption, "File: ");
    EXPECT_EQ(texts.File.Value, "leaf.bmp");
    EXPECT_EQ(texts.Slope.Joined(), "Slope: -1,2619");
    EXPECT_EQ(texts.Intercept.Joined(), "Intercept: 3,5000");
    EXPECT_EQ(texts.Correlation.Joined(), "Correlation coefficient (r): -0,9999");
}

TEST(ResultSeries, PointsAreTheLogarithmsAndTheFitGivesTheDimension)
{
    // N(d) = 10^6 / d^2: a filled plane, D = 2.
    const std::vector<TBoxCount> counts = {{10, 10000}, {100, 100}, {1000, 1}};
    TDataSeries series;
    series.SetRegressionType(rtLeastSquaresLine);
    series.AddPoint(5, 5); // emptied first
    const TResultAxisLimits limits = FillResultSeries(series, counts);
    ASSERT_EQ(series.Count(), 3);
    EXPECT_DOUBLE_EQ(series.Points()[0].X, 1.0);
    EXPECT_DOUBLE_EQ(series.Points()[0].Y, 4.0);
    const TCompStats stats = series.GetCompStats();
    EXPECT_NEAR(stats.Slope, -2.0, 1e-15);
    EXPECT_NEAR(stats.Intercept, 6.0, 1e-14);
    EXPECT_EQ(limits.XMax, 4.0);
    EXPECT_EQ(limits.XMin, 0.0);
    EXPECT_EQ(limits.YMax, 5.0);
    EXPECT_EQ(limits.YMin, -2.0);
}

TEST(ResultSeries, LimitsRoundToTheNearestWholeNumber)
{
    // log10 32 = 1.505 and log10 3 = 0.477: YMax = round(2.505), YMin = round(-1.523).
    const std::vector<TBoxCount> counts = {{10, 32}, {100, 3}};
    TDataSeries series;
    const TResultAxisLimits limits = FillResultSeries(series, counts);
    EXPECT_EQ(limits.YMax, 3.0);
    EXPECT_EQ(limits.YMin, -2.0);
}

TEST(ResultSeries, NoCountsLeaveTheStartingExtremes)
{
    TDataSeries series;
    series.AddPoint(1, 1);
    const TResultAxisLimits limits = FillResultSeries(series, {});
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(limits.XMax, 1.0);
    EXPECT_EQ(limits.YMax, 1.0);
    EXPECT_EQ(limits.XMin, 99.0);
    EXPECT_EQ(limits.YMin, 98.0);
}

TEST(ResultSeries, ACountOfZeroStopsWithDivisionByZeroAfterTheEarlierPoints)
{
    const std::vector<TBoxCount> counts = {{10, 4}, {20, 0}, {30, 1}};
    TDataSeries series;
    try {
        FillResultSeries(series, counts);
        FAIL() << "no error";
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(), "Floating point division by zero");
    }
    EXPECT_EQ(series.Count(), 1);
}

}  // namespace
