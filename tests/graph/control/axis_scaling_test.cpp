#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graph/core/error.h"
#include "tests/graph/control/fake_graph_owner.h"
#include "tests/support/error_message.h"

namespace {

struct TRange {
    double Min, Max, Step;
};

class AxisScaling : public testing::Test {
protected:
    TRange Sized(double dataMin, double dataMax)
    {
        axis.oMin = dataMin;
        axis.oMax = dataMax;
        axis.SetMinMax();
        return {axis.Min(), axis.Max(), axis.StepSize()};
    }

    double StepFor(double range)
    {
        axis.SetMin(0);
        axis.SetMax(range);
        return axis.GetStep();
    }

    TFakeGraphOwner graph;
    TAxis& axis = graph.YAxis_;
};

void ExpectRange(const TRange& actual, double min, double max, double step)
{
    EXPECT_CLOSE(actual.Min, min);
    EXPECT_CLOSE(actual.Max, max);
    EXPECT_CLOSE(actual.Step, step);
}

TEST_F(AxisScaling, GetStepAimsForAtLeastMinStepsSteps)
{
    EXPECT_CLOSE(StepFor(1), 0.2);
    EXPECT_CLOSE(StepFor(10), 1);
    // The power of ten comes out a hair above 100, so 5 steps of 20 fall just short.
    EXPECT_CLOSE(StepFor(100), 10);
    EXPECT_CLOSE(StepFor(7.5), 1);
    EXPECT_CLOSE(StepFor(0.1), 0.01);
    EXPECT_EQ(MessageOf([&] { StepFor(0); }), "GetStep entered with bad range");
}

TEST_F(AxisScaling, SetMinMaxRoundsOutwardsByWholeSteps)
{
    axis.SetAutoStepping(true);
    ExpectRange(Sized(0, 1), -0.2, 1.2, 0.2); // 0 lies inside the margin of a hundredth of a step
    ExpectRange(Sized(2, 9.5), 0, 10, 1);     // anchored at zero: 2 / 9 < 0.25
    ExpectRange(Sized(80, 100), 78, 102, 2);
    ExpectRange(Sized(2, 100), 0, 110, 10);
    ExpectRange(Sized(-7.3, 4.2), -8, 6, 2);
}

TEST_F(AxisScaling, SetMinMaxWithEqualDataOpensARangeFromZero)
{
    ExpectRange(Sized(5, 5), 0, 6, 1);
    ExpectRange(Sized(0, 0), -1, 1, 0.2);
    ExpectRange(Sized(-3, -3), -3.6, 0, 0.5);
    EXPECT_EQ(MessageOf([&] { Sized(2, 1); }), "Impossible: oMin > oMax in SetMinMax!");
}

TEST_F(AxisScaling, SetMinMaxKeepsAGivenStepUnlessItMakesTooManySteps)
{
    axis.SetStepSize(0.5);
    ExpectRange(Sized(0, 10), -0.5, 10.5, 0.5); // 20 steps: kept
    axis.SetStepSize(0.1);
    ExpectRange(Sized(0, 10), -1, 11, 1); // 100 steps: replaced
}

TEST_F(AxisScaling, LogSizingRoundsToTheDecadeSteps)
{
    axis.SetLogScale(true);
    const auto sized = [&](double dataMin, double dataMax) {
        axis.oMin = dataMin;
        axis.oMax = dataMax;
        axis.SetLogMinMax();
        return std::pair{axis.Min(), axis.Max()};
    };
    EXPECT_EQ(axis.LogCycleDivisions(), 2);
    auto [min, max] = sized(3, 70);
    EXPECT_CLOSE(min, 2);
    EXPECT_CLOSE(max, 100);
    std::tie(min, max) = sized(20, 500); // the mantissa of 20 comes out a hair below 2
    EXPECT_CLOSE(min, 10);
    EXPECT_CLOSE(max, 500);
    std::tie(min, max) = sized(1, 10);
    EXPECT_CLOSE(min, 1);
    EXPECT_CLOSE(max, 10);
    std::tie(min, max) = sized(1, 1000);
    EXPECT_CLOSE(min, 1);
    EXPECT_CLOSE(max, 1000);
    EXPECT_FALSE(axis.LinearFallback());

    axis.SetAutoStepping(true);
    std::tie(min, max) = sized(2, 6); // ratio 3: linear
    EXPECT_TRUE(axis.LinearFallback());
    EXPECT_TRUE(axis.LabelAllLogTicks());
    EXPECT_CLOSE(min, 1.5);
    EXPECT_CLOSE(max, 6.5);
    EXPECT_CLOSE(axis.StepSize(), 0.5);
}

TEST_F(AxisScaling, LogCycleDivisionsAreNormalised)
{
    axis.SetLogCycleDivisions(4);
    EXPECT_EQ(axis.LogCycleDivisions(), 5);
    EXPECT_EQ(axis.LogSteps()[3], 3.0);
    EXPECT_EQ(axis.LogSteps()[6], 10.0);
    axis.SetLogCycleDivisions(12);
    EXPECT_EQ(axis.LogCycleDivisions(), 9);
    axis.SetLogCycleDivisions(3);
    EXPECT_EQ(axis.LogCycleDivisions(), 2);
    axis.SetLogCycleDivisions(8);
    EXPECT_EQ(axis.LogCycleDivisions(), 7);
}

TEST_F(AxisScaling, AutoLogDivisionsThinOutOverManyDecades)
{
    axis.SetMin(1);
    axis.SetMax(10);
    axis.AutoLogDivisions();
    EXPECT_EQ(axis.LogCycleDivisions(), 2);
    axis.SetMax(1000);
    axis.AutoLogDivisions(); // x = 5 / 3
    EXPECT_EQ(axis.LogCycleDivisions(), 0);
    axis.UpdateLogLabelling();
    EXPECT_TRUE(axis.LabelAllLogTicks());
}

TEST_F(AxisScaling, WithoutDataTheAxisMakesARangeOfItsLimits)
{
    graph.HasData = false;
    axis.SetAutoSizing(true);
    axis.SetMin(-3);
    axis.SetMax(-3);
    EXPECT_TRUE(axis.CheckScale());
    EXPECT_CLOSE(axis.Min(), -3);
    EXPECT_CLOSE(axis.Max(), 0);
    EXPECT_CLOSE(axis.StepSize(), 0.5);

    axis.SetLogScale(true);
    axis.SetMin(5);
    axis.SetMax(-1);
    EXPECT_TRUE(axis.CheckScale()); // swapped
    EXPECT_CLOSE(axis.Min(), 0.1 * 5);
    EXPECT_CLOSE(axis.Max(), 5);
}

TEST_F(AxisScaling, CheckScaleLeavesALogAxisAloneWhenTheDataReachZero)
{
    axis.SetLogScale(true);
    axis.SetMin(1);
    axis.SetMax(10);
    axis.SetAutoSizing(true);
    axis.oMin = 0;
    axis.oMax = 50;
    EXPECT_FALSE(axis.CheckScale());
    EXPECT_EQ(axis.Max(), 10);
    axis.oMin = 3;
    axis.oMax = 70;
    EXPECT_TRUE(axis.CheckScale());
    EXPECT_CLOSE(axis.Max(), 100);
}

TEST_F(AxisScaling, CheckScaleWidensToTheMinimumScaleLength)
{
    axis.SetAutoSizing(true);
    axis.SetAutoStepping(true);
    axis.SetMinScaleLength(10);
    axis.oMin = 4;
    axis.oMax = 5;
    axis.CheckScale();
    EXPECT_EQ(axis.oMax, 14);
    EXPECT_CLOSE(axis.Min(), 3);
    EXPECT_CLOSE(axis.Max(), 15);
}

TEST_F(AxisScaling, ValidityAndMetrics)
{
    axis.SetMin(2);
    axis.SetMax(2);
    EXPECT_FALSE(axis.CheckValid());
    EXPECT_EQ(MessageOf([&] { axis.CalcMetrics(); }), "Y axisCalcMetrics: XMin>=XMax");

    axis.SetMax(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(axis.CheckValid());

    axis.SetMin(0);
    axis.SetMax(10);
    EXPECT_TRUE(axis.CheckValid());
    axis.CalcMetrics(); // height 200 less margins 30 and 40
    EXPECT_CLOSE(axis.PixelsPerUnit(), 13);
    graph.XAxis_.SetMax(5);
    graph.XAxis_.CalcMetrics(); // width 200 less margins 40 and 15
    EXPECT_CLOSE(graph.XAxis_.PixelsPerUnit(), 29);

    axis.SetLogScale(true);
    axis.SetMin(0);
    EXPECT_FALSE(axis.CheckValid());
    axis.SetMin(1);
    axis.CalcMetrics();
    EXPECT_CLOSE(axis.PixelsPerUnit(), 130 / std::log(10.0));
}

TEST_F(AxisScaling, LimitSettersSwitchAutomaticSizingOffAndNoticeOnlyChanges)
{
    axis.SetAutoSizing(true);
    axis.SetAutoStepping(true);
    graph.Rescales = 0;
    axis.SetMin(-1);
    EXPECT_FALSE(axis.AutoSizing());
    EXPECT_EQ(graph.Rescales, 1);
    axis.SetAutoSizing(true);
    axis.SetMin(-1); // unchanged: off again, but no notice
    EXPECT_FALSE(axis.AutoSizing());
    EXPECT_EQ(graph.Rescales, 1);
    axis.SetStepSize(0.25);
    EXPECT_FALSE(axis.AutoStepping());
    EXPECT_EQ(graph.Rescales, 2);
}

TEST_F(AxisScaling, MinScaleLengthRepaintsOnlyWhenItMatters)
{
    graph.Paints = 0;
    axis.SetMinScaleLength(0.5); // range 1
    EXPECT_EQ(graph.Paints, 0);
    axis.SetMinScaleLength(2);
    EXPECT_EQ(graph.Paints, 1);
    axis.SetMinScaleLength(1);
    axis.SetMinScaleLength(0.5); // the old value equalled the range
    EXPECT_EQ(graph.Paints, 2);
}

}  // namespace
