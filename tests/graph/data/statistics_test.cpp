#include <gtest/gtest.h>

#include <initializer_list>

#include "graph/data/data_series.h"

namespace {

// A series whose x values are the given ones (y = x), in the order given.
void AddXs(TDataSeries& series, std::initializer_list<double> xs)
{
    for (const double x : xs)
        series.AddPoint(x, x);
}

// A series whose y values are the given ones, at x = 0, 1, 2, ...
void AddYs(TDataSeries& series, std::initializer_list<double> ys)
{
    for (const double y : ys)
        series.AddPoint(series.Count(), y);
}

TEST(Statistics, OfOneTwoThreeFour)
{
    TDataSeries series;
    AddXs(series, {1, 2, 3, 4});
    const TDataStats stats = series.GetXStats();
    EXPECT_TRUE(stats.Valid);
    EXPECT_FALSE(stats.Failed);
    EXPECT_EQ(stats.Msg, "");
    EXPECT_EQ(stats.Count, 4);
    EXPECT_EQ(stats.Sum, 10);
    EXPECT_EQ(stats.Mean, 2.5);
    EXPECT_DOUBLE_EQ(stats.Variance, 5.0 / 3.0);
    EXPECT_EQ(stats.Median, 2);
    EXPECT_EQ(stats.LowQuartile, 1);
    EXPECT_EQ(stats.HighQuartile, 3);
    EXPECT_EQ(stats.HighFifth, 4);
    EXPECT_EQ(stats.LowFifth, 0); // position 0: left as it was
    EXPECT_EQ(stats.Mode, 1);
    EXPECT_NEAR(stats.Skew, 0, 1e-15);
    EXPECT_NEAR(stats.Kurtosis, -2.0775, 1e-12);
}

TEST(Statistics, PositionsCountFromOneInAscendingOrder)
{
    TDataSeries series;
    AddXs(series, {1, 5, 9});
    EXPECT_EQ(series.GetXStats().Median, 1);

    // The y values are sorted before the walk.
    TDataSeries ys;
    AddYs(ys, {9, 1, 7, 3, 5});
    const TDataStats stats = ys.GetYStats();
    EXPECT_EQ(stats.Median, 3);
    EXPECT_EQ(stats.LowFifth, 1);
    EXPECT_EQ(stats.HighFifth, 7);
}

TEST(Statistics, ModeIsTheEndOfTheLongestRunAndTheEarlierRunWinsATie)
{
    TDataSeries twoTwos;
    AddYs(twoTwos, {1, 2, 2});
    EXPECT_EQ(twoTwos.GetYStats().Mode, 1);

    TDataSeries threeTwos;
    AddYs(threeTwos, {1, 2, 2, 2});
    EXPECT_EQ(threeTwos.GetYStats().Mode, 2);

    TDataSeries close;
    close.SetNumericalTolerance(0.1);
    close.SetDuplicatesAllowed(true);
    AddXs(close, {1, 3, 3.05, 3.08, 5});
    EXPECT_EQ(close.GetXStats().Mode, 3.08);
}

TEST(Statistics, EqualValuesHaveNoVarianceSkewOrKurtosis)
{
    TDataSeries series;
    for (int i = 0; i < 3; ++i)
        series.AddPoint(i, 2);
    const TDataStats stats = series.GetYStats();
    EXPECT_EQ(stats.Variance, 0);
    EXPECT_EQ(stats.Msg, "No skew/kurtosis are available because there is no deviance in the data");
    EXPECT_FALSE(stats.Failed);
    EXPECT_EQ(stats.Skew, 0);
    EXPECT_EQ(stats.Kurtosis, 0);

    // Thousands of a value that binary cannot hold exactly: a mean off by a hair
    // must not invent a spread.
    TDataSeries many;
    many.SetMaxPoints(0);
    for (int i = 0; i < 5000; ++i)
        many.AddPoint(i, 0.1);
    EXPECT_EQ(many.GetYStats().Variance, 0);
}

TEST(Statistics, TooFewValuesFailWithoutTouchingTheNumbers)
{
    TDataSeries series;
    AddXs(series, {1, 3});
    EXPECT_EQ(series.GetXStats().Mean, 2);
    series.Clear();
    series.AddPoint(5, 5);
    TDataStats stats = series.GetXStats();
    EXPECT_TRUE(stats.Failed);
    EXPECT_EQ(stats.Msg, "No Statistics are available unless more than one point exists");
    EXPECT_EQ(stats.Mean, 2);

    series.Clear();
    stats = series.GetXStats();
    EXPECT_EQ(stats.Count, 0);
    EXPECT_EQ(stats.Sum, 0);
    EXPECT_TRUE(stats.Failed); // as the last computation left it
}

TEST(Statistics, AreRecomputedAfterEveryNewPoint)
{
    TDataSeries series;
    AddXs(series, {1, 2});
    const TDataStats before = series.GetXStats();
    series.AddPoint(6, 6);
    EXPECT_EQ(before.Count, 2);
    EXPECT_EQ(series.GetXStats().Count, 3);
    EXPECT_EQ(series.GetXStats().Mean, 3);
}

}  // namespace
