#include "app/engine/box_count_fit.h"
#include "app/engine/result_series.h"
#include "app/engine/result_texts.h"

#include <gtest/gtest.h>

#include <cmath>
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
    EXPECT_EQ(MakeResultTexts("", {stats, true}, ".").Dimension.Joined(), "D: 1.68");
    stats.Slope = -1.6;
    EXPECT_EQ(MakeResultTexts("", {stats, true}, ".").Dimension.Joined(), "D: 1.60");
    stats.Slope = 0.5;
    EXPECT_EQ(MakeResultTexts("", {stats, true}, ".").Dimension.Joined(), "D: -0.50");
    stats.Slope = 0.0;
    EXPECT_EQ(MakeResultTexts("", {stats, true}, ".").Dimension.Joined(), "D: 0.00");
}

TEST(ResultTexts, RowsCarryFileSlopeInterceptAndCorrelation)
{
    TCompStats stats;
    stats.Slope = -1.26185950714;
    stats.Intercept = 3.5;
    stats.R = -0.99987654321;
    const TResultTexts texts = MakeResultTexts("leaf.bmp", {stats, true}, ",");
    EXPECT_EQ(texts.File.Caption, "File: ");
    EXPECT_EQ(texts.File.Value, "leaf.bmp");
    EXPECT_EQ(texts.Slope.Joined(), "Slope: -1,2619");
    EXPECT_EQ(texts.Intercept.Joined(), "Intercept: 3,5000");
    EXPECT_EQ(texts.Correlation.Joined(), "Correlation coefficient (r): -0,9999");
}

TEST(BoxCountFit, RIsAbsentWithTwoSizesOrOneCountAndItsTextIsEmpty)
{
    const std::vector<TBoxCount> plane = {{10, 10000}, {100, 100}, {1000, 1}};
    const TBoxCountFit fit = FitBoxCounts(plane);
    EXPECT_TRUE(fit.HasCorrelation);
    EXPECT_NEAR(fit.Stats.R, -1.0, 1e-12);
    EXPECT_NEAR(fit.Stats.Slope, -2.0, 1e-12);
    EXPECT_EQ(MakeResultTexts("", fit, ".").Correlation.Value, "-1.0000");

    const std::vector<TBoxCount> twoSizes = {{10, 32}, {100, 3}};
    const std::vector<TBoxCount> sameCount = {{10, 1}, {20, 1}, {30, 1}};
    for (const auto& counts : {twoSizes, sameCount}) {
        const TBoxCountFit none = FitBoxCounts(counts);
        EXPECT_FALSE(none.HasCorrelation);
        EXPECT_EQ(none.Stats.R, 0.0);
        EXPECT_EQ(MakeResultTexts("", none, ".").Correlation.Joined(), "Correlation coefficient (r): ");
    }
    EXPECT_NEAR(FitBoxCounts(twoSizes).Stats.Slope, std::log10(3.0 / 32.0), 1e-12) << "the slope is still fitted";
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
