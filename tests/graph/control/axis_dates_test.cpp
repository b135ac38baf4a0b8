#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graph/core/date_time.h"
#include "tests/graph/control/fake_graph_owner.h"

// Dates are compared to well under a second (1e-9 days).

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, 0);
}

class DateAxis : public testing::Test {
protected:
    void Size(Dateticks type, TDateTime first, TDateTime last)
    {
        axis.SetShowAsTime(true);
        axis.SetDateTickType(type);
        axis.oMin = first;
        axis.oMax = last;
        axis.SetDateMinMax();
    }

    TFakeGraphOwner graph;
    TAxis& axis = graph.XAxis_;
};

TEST_F(DateAxis, DailyAxisRunsFromMidnightToTheMidnightAfterTheData)
{
    Size(dt_daily, At(2026, 3, 4, 10, 17), At(2026, 3, 9, 8, 0));
    EXPECT_NEAR(axis.Min(), At(2026, 3, 4), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 3, 10), 1e-9);
    std::vector<double> ticks;
    axis.WalkTicks([&](double tick, bool) { ticks.push_back(tick); });
    ASSERT_EQ(ticks.size(), 7u);
    for (int day = 0; day < 7; ++day)
        EXPECT_NEAR(ticks[static_cast<std::size_t>(day)], At(2026, 3, 4 + day), 1e-9);
}

TEST_F(DateAxis, CalendarUnitsRoundOutwards)
{
    Size(dt_2monthly, At(2026, 4, 20), At(2026, 11, 15));
    EXPECT_NEAR(axis.Min(), At(2026, 3, 1), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2027, 1, 1), 1e-9);
    Size(dt_quarterly, At(2026, 6, 2), At(2026, 7, 1));
    EXPECT_NEAR(axis.Min(), At(2026, 4, 1), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 7, 1), 1e-9); // the data end on a quarter's first midnight
    Size(dt_decade, At(1999, 5, 5), At(2005, 6, 1));
    EXPECT_NEAR(axis.Min(), At(1990, 1, 1), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2010, 1, 1), 1e-9);
    Size(dt_annually, At(2024, 2, 2), At(2026, 1, 1));
    EXPECT_NEAR(axis.Min(), At(2024, 1, 1), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 1, 1), 1e-9);
    Size(dt_weekly, At(2026, 3, 4), At(2026, 3, 8)); // a Wednesday to a Sunday
    EXPECT_NEAR(axis.Min(), At(2026, 3, 1), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 3, 15), 1e-9);
    Size(dt_5minute, At(2026, 3, 4, 10, 17, 30), At(2026, 3, 4, 10, 40));
    EXPECT_NEAR(axis.Min(), At(2026, 3, 4, 10, 15), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 3, 4, 10, 40), 1e-9);
    Size(dt_halfhourly, At(2026, 3, 4, 10, 17), At(2026, 3, 4, 11, 45));
    EXPECT_NEAR(axis.Min(), At(2026, 3, 4, 10, 0), 1e-9);
    EXPECT_NEAR(axis.Max(), At(2026, 3, 4, 12, 0), 1e-9);
}

TEST_F(DateAxis, NothingChangesForAnEmptyRangeOrOneBeforeDayOne)
{
    axis.SetMin(5);
    axis.SetMax(6);
    Size(dt_daily, 0.5, 3);
    EXPECT_EQ(axis.Min(), 5);
    Size(dt_daily, 10, 10);
    EXPECT_EQ(axis.Max(), 6);
}

TEST_F(DateAxis, MonthlyTicksFallOnTheFirstOfEachMonth)
{
    axis.SetShowAsTime(true);
    axis.SetDateTickType(dt_monthly);
    axis.SetMin(At(2026, 11, 15));
    axis.SetMax(At(2027, 2, 1));
    std::vector<double> ticks;
    axis.WalkTicks([&](double tick, bool) { ticks.push_back(tick); });
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[0], At(2026, 12, 1), 1e-9);
    EXPECT_NEAR(ticks[2], At(2027, 2, 1), 1e-9);
}

TEST_F(DateAxis, WithoutDataTheAxisShowsFiveStepsEndingNow)
{
    graph.HasData = false;
    axis.SetShowAsTime(true);
    axis.SetDateTickType(dt_hourly);
    const TDateTime before = Now();
    axis.CheckScale();
    EXPECT_GE(axis.Max(), before);
    EXPECT_LE(axis.Max(), Now());
    EXPECT_NEAR(axis.Max() - axis.Min(), 5.0 / 24, 1e-9);
    EXPECT_TRUE(axis.CheckValid());
}

TEST_F(DateAxis, TheLimitsOfADateAxisWithoutDataActAsItsData)
{
    graph.HasData = false;
    axis.SetMin(40000);
    axis.SetMax(40010);
    axis.SetShowAsTime(true);
    EXPECT_EQ(axis.oMin, 40000);
    EXPECT_EQ(axis.oMax, 40010);
    axis.SetMax(40020);
    EXPECT_EQ(axis.oMax, 40020);
    EXPECT_NEAR(axis.GetDateStep(), 1.0 / 1440, 1e-9);
}

}  // namespace
