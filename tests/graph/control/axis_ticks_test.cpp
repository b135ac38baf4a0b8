#include <gtest/gtest.h>

#include <vector>

#include "graph/core/date_time.h"
#include "tests/graph/control/fake_graph_owner.h"

namespace {

struct TTick {
    double Value;
    bool Labelled;
};

std::vector<TTick> Walk(TAxis& axis)
{
    std::vector<TTick> ticks;
    axis.WalkTicks([&](double tick, bool labelled) { ticks.push_back({tick, labelled}); });
    return ticks;
}

class AxisTicks : public testing::Test {
protected:
    void Range(double min, double max)
    {
        axis.SetMin(min);
        axis.SetMax(max);
    }

    TFakeGraphOwner graph;
    TAxis& axis = graph.XAxis_;
};

TEST_F(AxisTicks, LinearTicksStartAtTheFirstMultipleOfTheStep)
{
    Range(-0.7, 1.05);
    axis.SetStepSize(0.5);
    const std::vector<TTick> ticks = Walk(axis);
    ASSERT_EQ(ticks.size(), 4u);
    EXPECT_CLOSE(ticks[0].Value, -0.5);
    EXPECT_CLOSE(ticks[3].Value, 1.0);
    EXPECT_EQ(axis.LabelDecimals(), 1); // from the step: AutoLabelDecimals is on
}

TEST_F(AxisTicks, LogWalkVisitsTheCycleOfEveryDecade)
{
    axis.SetLogScale(true);
    Range(1, 100);
    std::vector<TTick> ticks = Walk(axis);
    const std::vector<double> expected = {1, 2, 5, 10, 20, 50, 100};
    ASSERT_EQ(ticks.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_CLOSE(ticks[i].Value, expected[i]);
        EXPECT_TRUE(ticks[i].Labelled);
    }

}

TEST_F(AxisTicks, LogWalkLabelsOnlyDecadesWhenAskedTo)
{
    axis.SetLogScale(true);
    Range(1, 100);
    axis.SetLogCycleDivisions(9); // 2 decades x 9 is not below 10
    axis.UpdateLogLabelling();
    ASSERT_FALSE(axis.LabelAllLogTicks());
    std::vector<double> labelled;
    for (const TTick& tick : Walk(axis))
        if (tick.Labelled)
            labelled.push_back(tick.Value);
    ASSERT_EQ(labelled.size(), 3u);
    EXPECT_CLOSE(labelled[0], 1);
    EXPECT_CLOSE(labelled[1], 10);
    EXPECT_CLOSE(labelled[2], 100);
}

TEST_F(AxisTicks, AWalkDoesNotChangeTheAxisCycle)
{
    axis.SetLogScale(true);
    Range(0.05, 200);
    const auto before = axis.LogSteps();
    const std::vector<TTick> ticks = Walk(axis);
    EXPECT_CLOSE(ticks.front().Value, 0.05);
    EXPECT_CLOSE(ticks.back().Value, 200);
    EXPECT_EQ(axis.LogSteps(), before);
}

TEST_F(AxisTicks, AStepThatDoesNotAdvanceEndsTheWalk)
{
    Range(0, 1);
    axis.SetStepSize(0);
    EXPECT_LE(Walk(axis).size(), 1u);
    axis.SetStepSize(-0.1);
    EXPECT_LE(Walk(axis).size(), 1u);
}

TEST_F(AxisTicks, AutoDecimalsFollowTheStep)
{
    const auto decimals = [&](double step) {
        axis.SetStepSize(step);
        axis.AutoDecimals();
        return axis.LabelDecimals();
    };
    EXPECT_EQ(decimals(0.05), 2);
    EXPECT_EQ(decimals(0.2), 1);
    EXPECT_EQ(decimals(0.5), 1);
    EXPECT_EQ(decimals(1), 0);
    EXPECT_EQ(decimals(2.5), 0);
    EXPECT_EQ(decimals(20), 0);
    axis.SetAutoLabelDecimals(false);
    EXPECT_EQ(decimals(0.05), 0);
}

TEST_F(AxisTicks, LogDecimalsGiveOneMoreWithFineCycles)
{
    axis.LogDecimals(0.01);
    EXPECT_EQ(axis.LabelDecimals(), 2);
    axis.SetLogCycleDivisions(5);
    axis.LogDecimals(0.01);
    EXPECT_EQ(axis.LabelDecimals(), 3);
    axis.LogDecimals(1000);
    EXPECT_EQ(axis.LabelDecimals(), 0);
}

TEST_F(AxisTicks, LabelTextIsFixedNearZeroAndScientificForLargeAndTinyValues)
{
    Range(-1, 1);
    axis.SetLabelDecimals(1);
    EXPECT_EQ(axis.LabelText(0.0, "."), "0.0");
    EXPECT_EQ(axis.LabelText(0.0005, "."), "0.0"); // below a thousandth of the span
    EXPECT_EQ(axis.LabelText(0.5, ","), "0,5");
    EXPECT_EQ(axis.LabelText(12345, "."), "1.2E+4");
    EXPECT_EQ(axis.LabelText(-12345, "."), "-1.2E+4");
    axis.SetLabelDecimals(2);
    EXPECT_EQ(axis.LabelText(1234.5678, "."), "1234.60");
    Range(0, 0.1);
    EXPECT_EQ(axis.LabelText(0.0005, "."), "5.0E-4");
}

TEST_F(AxisTicks, DateLabelsFollowThePattern)
{
    axis.SetShowAsTime(true);
    EXPECT_EQ(axis.LabelText(EncodeDate(2026, 3, 4) + EncodeTime(10, 17, 0, 0), "."), "04-Mar");
    axis.SetDateTimeFormat("hh:nn");
    EXPECT_EQ(axis.LabelText(EncodeDate(2026, 3, 4) + EncodeTime(10, 17, 0, 0), "."), "10:17");
}

}  // namespace
