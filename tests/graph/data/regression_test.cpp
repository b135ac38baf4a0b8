#include "graph/data/regression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graph/core/error.h"
#include "graph/core/number_text.h"
#include "graph/data/data_series.h"

namespace {

void AddPoints(TDataSeries& series, std::initializer_list<std::pair<double, double>> points)
{
    for (const auto& [x, y] : points)
        series.AddPoint(x, y);
}

std::vector<double> FitsOf(const TDataSeries& series)
{
    std::vector<double> fits;
    for (const TDataPoint& point : series.Points())
        fits.push_back(point.Fit);
    return fits;
}

std::string MessageOf(TDataSeries& series)
{
    try {
        series.GetCompStats();
    } catch (const TVandrelError& error) {
        return error.what();
    }
    return "";
}

TEST(Regression, LeastSquaresLineThroughThreePoints)
{
    TDataSeries series;
    series.SetRegressionType(rtLeastSquaresLine);
    AddPoints(series, {{1, 2}, {2, 4}, {3, 6.5}});
    const TCompStats stats = series.GetCompStats();
    EXPECT_DOUBLE_EQ(stats.Slope, 2.25);
    EXPECT_NEAR(stats.Intercept, -1.0 / 3.0, 1e-15);
    EXPECT_EQ(stats.Quadratic, 0);
    const std::vector<double> fits = FitsOf(series);
    EXPECT_NEAR(fits[0], 23.0 / 12.0, 1e-14);
    EXPECT_NEAR(fits[1], 50.0 / 12.0, 1e-14);
    EXPECT_NEAR(fits[2], 77.0 / 12.0, 1e-14);
}

TEST(Regression, LeastSquaresLineOfASquarePatternGivesDimensionTwo)
{
    TDataSeries series;
    series.SetRegressionType(rtLeastSquaresLine);
    for (const int d : {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}) {
        const long double logD = std::log(static_cast<long double>(d)) / std::log(10.0L);
        series.AddPoint(static_cast<double>(logD), static_cast<double>(4 - 2 * logD));
    }
    const TCompStats stats = series.GetCompStats();
    EXPECT_NEAR(stats.Slope, -2, 1e-14);
    EXPECT_NEAR(stats.Intercept, 4, 1e-14);
    EXPECT_EQ(FormatFixed(-stats.Slope, 4, 2, "."), "2.00");
    EXPECT_EQ(stats.R, -1);
}

TEST(Regression, LinesWithoutSpreadInXAreFlatAndZero)
{
    TDataSeries series;
    series.SetDuplicatesAllowed(true);
    series.SetRegressionType(rtLeastSquaresLine);
    AddPoints(series, {{2, 1}, {2, 5}, {2, 9}});
    const TCompStats stats = series.GetCompStats();
    EXPECT_EQ(stats.Slope, 0);
    EXPECT_EQ(stats.Intercept, 0);
    EXPECT_EQ(FitsOf(series), (std::vector<double>{0, 0, 0}));
}

TEST(Regression, MedianOfPairwiseSlopes)
{
    TDataSeries series;
    series.SetRegressionType(rtMedianSlopeLine);
    AddPoints(series, {{1, 1}, {2, 2}, {3, 10}});
    const TCompStats stats = series.GetCompStats();
    EXPECT_EQ(stats.Slope, 1);     // 1, 4.5, 8: position 1 of 3
    EXPECT_EQ(stats.Intercept, 0); // 0, 0, 7: position 1 of 3
    EXPECT_EQ(stats.Quadratic, 0);
    EXPECT_DOUBLE_EQ(stats.SlopeVariance, 12.25);
    EXPECT_DOUBLE_EQ(stats.InterceptVariance, 49.0 / 3.0);
    EXPECT_EQ(FitsOf(series), (std::vector<double>{1, 2, 3}));
}

TEST(Regression, LeastSquaresParabola)
{
    TDataSeries series;
    series.SetRegressionType(rtLeastSquaresParabola);
    AddPoints(series, {{0, 1}, {1, 3}, {2, 7}, {3, 13}});
    const TCompStats stats = series.GetCompStats();
    EXPECT_NEAR(stats.Quadratic, 1, 1e-14);
    EXPECT_NEAR(stats.Slope, 1, 1e-14);
    EXPECT_NEAR(stats.Intercept, 1, 1e-14);
    EXPECT_NEAR(FitsOf(series)[3], 13, 1e-13);
}

TEST(Regression, AParabolaThroughTwoDistinctXIsADivisionByZero)
{
    TDataSeries series;
    series.SetDuplicatesAllowed(true);
    series.SetRegressionType(rtLeastSquaresParabola);
    AddPoints(series, {{0.1, 0}, {0.1, 1}, {0.7, 2}, {0.7, 0.3}});
    EXPECT_EQ(MessageOf(series), "Floating point division by zero");
    EXPECT_FALSE(series.RegressionDirty()); // not retried until something changes
    EXPECT_EQ(MessageOf(series), "");
}

TEST(Regression, SplineBuildsItsCurveByRepeatedSteps)
{
    TDataSeries series;
    series.SetRegressionType(rtCubicSpline);
    series.SetRegressionControlValue1(100);
    AddPoints(series, {{0, 0}, {2.5, 4}, {4, 1}, {7, 3}, {10, 2}});
    series.ComputeRegression();
    const auto curve = series.Curve();
    ASSERT_EQ(curve.size(), 101u);
    EXPECT_EQ(curve[0].X, 0);
    EXPECT_NEAR(curve[100].X, 10, 1e-12);
    EXPECT_NEAR(curve[40].X, 4, 1e-12);
    // The spline passes through the points.
    EXPECT_NEAR(curve[40].Fit, 1, 1e-9);
    EXPECT_NEAR(curve[100].Fit, 2, 1e-9);
}

TEST(Regression, SplineOfALineIsTheLineForMatchingAndNaturalEnds)
{
    for (const double endSlope : {2.0, 1e31}) {
        TDataSeries series;
        series.SetRegressionType(rtCubicSpline);
        series.SetRegressionControlValue1(7);
        series.SetRegressionControlValue2(endSlope);
        AddPoints(series, {{1, 3}, {2, 5}, {4, 9}, {5, 11}});
        series.ComputeRegression();
        ASSERT_EQ(series.Curve().size(), 8u);
        for (const TCurveNode& node : series.Curve())
            EXPECT_NEAR(node.Fit, 2 * node.X + 1, 1e-12) << "end slope " << endSlope << " at " << node.X;
    }
}

TEST(Regression, CurvesWithoutIntervalsAreEmptyEvenForNegativeCounts)
{
    for (const uint8_t type : {rtCubicSpline, rtLocalLinear}) {
        TDataSeries series;
        series.SetRegressionType(type);
        AddPoints(series, {{0, 0}, {1, 1}, {2, 0}});
        series.SetRegressionControlValue1(-5);
        series.ComputeRegression();
        EXPECT_TRUE(series.Curve().empty());
    }
}

TEST(Regression, LocalLinesReproduceAStraightLine)
{
    TDataSeries series;
    series.SetRegressionType(rtLocalLinear);
    series.SetRegressionControlValue1(10);
    AddPoints(series, {{-2, -3}, {0, 1}, {1, 3}, {3, 7}, {8, 17}});
    series.ComputeRegression();
    ASSERT_EQ(series.Curve().size(), 11u);
    for (const TCurveNode& node : series.Curve())
        EXPECT_NEAR(node.Fit, 2 * node.X + 1, 1e-9);
}

TEST(Regression, LocalLinesWithoutWeightConstantDivideByZeroAtAPoint)
{
    TDataSeries series;
    series.SetRegressionType(rtLocalLinear);
    series.SetRegressionControlValue1(4);
    series.SetRegressionControlValue2(0);
    AddPoints(series, {{0, 0}, {1, 1}, {4, 0}});
    EXPECT_EQ(MessageOf(series), "Floating point division by zero");
}

TEST(Regression, ExponentialSmoothing)
{
    TDataSeries series;
    series.SetRegressionType(rtExponentialSmoothing);
    series.SetRegressionControlValue2(0.5);
    AddPoints(series, {{1, 2}, {2, 4}, {3, 6}});
    series.ComputeRegression();
    EXPECT_EQ(FitsOf(series), (std::vector<double>{2, 3, 4.5}));
}

TEST(Regression, RunningAverageOverAWindowOfTwo)
{
    TDataSeries series;
    series.SetRegressionType(rtRunningAverage);
    series.SetRegressionControlValue2(0.5);
    AddPoints(series, {{1, 1}, {2, 3}, {3, 5}, {4, 7}});
    series.ComputeRegression();
    EXPECT_EQ(FitsOf(series), (std::vector<double>{1, 2, 4, 6}));
}

// The window length, read off the last fit of y = 1, 2, ..., 40: the mean of the
// last L values is 40 - (L - 1) / 2.
int WindowLengthFor(double controlValue)
{
    TDataSeries series;
    series.SetRegressionType(rtRunningAverage);
    series.SetRegressionControlValue2(controlValue);
    for (int i = 1; i <= 40; ++i)
        series.AddPoint(i, i);
    series.ComputeRegression();
    return static_cast<int>(std::lround(2 * (40 - series.Points().back().Fit) + 1));
}

TEST(Regression, RunningAverageWindowIsTheIntegerPartOfTheReciprocal)
{
    EXPECT_EQ(WindowLengthFor(0.25), 4);
    EXPECT_EQ(WindowLengthFor(0.05), 19);
    EXPECT_EQ(WindowLengthFor(0.1), 9);
    EXPECT_EQ(WindowLengthFor(0.2), 4);
    EXPECT_EQ(WindowLengthFor(1e-6), 40); // longer than the series: all points
}

TEST(Regression, RunningAverageRefusesWindowsShorterThanTwo)
{
    for (const double controlValue : {0.6, -0.1}) {
        TDataSeries series;
        series.SetRegressionType(rtRunningAverage);
        series.SetRegressionControlValue2(controlValue);
        AddPoints(series, {{1, 1}, {2, 3}});
        EXPECT_EQ(MessageOf(series), "Invalid Running Average limit");
        EXPECT_EQ(FitsOf(series), (std::vector<double>{0, 0}));
    }
    TDataSeries series;
    series.SetRegressionType(rtRunningAverage);
    series.SetRegressionControlValue2(0);
    AddPoints(series, {{1, 1}});
    EXPECT_EQ(MessageOf(series), "Floating point division by zero");
}

TEST(Regression, ASettingMarksTheRegressionForOneRecomputation)
{
    TDataSeries series;
    series.SetRegressionType(rtCubicSpline);
    AddPoints(series, {{0, 0}, {1, 1}, {2, 0}});
    series.GetCompStats();
    EXPECT_EQ(series.Curve().size(), 101u);
    EXPECT_FALSE(series.RegressionDirty());

    series.SetRegressionControlValue1(4);
    EXPECT_TRUE(series.RegressionDirty());
    series.GetCompStats();
    EXPECT_EQ(series.Curve().size(), 5u);
    EXPECT_FALSE(series.RegressionDirty());
}

TEST(Regression, TypesOutsideOneToSevenAreErrors)
{
    TDataSeries none;
    none.AddPoint(1, 1);
    EXPECT_NO_THROW(none.GetCompStats()); // no regression asked for
    EXPECT_TRUE(none.RegressionDirty());
    try {
        none.ComputeRegression();
        FAIL();
    } catch (const TVandrelError& error) {
        EXPECT_STREQ(error.what(), "internal error: regression");
    }

    TDataSeries unknown;
    unknown.SetRegressionType(8);
    unknown.AddPoint(1, 1);
    EXPECT_EQ(MessageOf(unknown), "Unknown regression type");
}

}  // namespace
