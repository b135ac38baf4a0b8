#include "graph/data/data_series.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <list>
#include <map>
#include <numeric>
#include <random>
#include <vector>

namespace {

std::vector<double> XsOf(const TDataSeries& series)
{
    std::vector<double> xs;
    for (const TDataPoint& point : series.Points())
        xs.push_back(point.X);
    return xs;
}

std::vector<int32_t> IdsOf(const TDataSeries& series)
{
    std::vector<int32_t> ids;
    for (const TDataPoint& point : series.Points())
        ids.push_back(point.Id);
    return ids;
}

TEST(DataSeries, InsertsInAscendingXWithIdsInOrderOfCreation)
{
    TDataSeries series;
    series.AddPoint(1, 10);
    series.AddPoint(3, 30);
    series.AddPoint(2, 20);
    EXPECT_EQ(XsOf(series), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(IdsOf(series), (std::vector<int32_t>{1, 3, 2}));
    EXPECT_EQ(series.Count(), 3);
}

TEST(DataSeries, AddPointOverwritesEqualXAndTheBoundsFollowASinglePoint)
{
    TDataSeries series;
    series.AddPoint(2, 5);
    series.AddPoint(2, 7);
    ASSERT_EQ(series.Count(), 1);
    EXPECT_EQ(series.Points()[0].Id, 1);
    EXPECT_EQ(series.Points()[0].Y, 7);
    EXPECT_EQ(series.LastId(), 1);
    EXPECT_EQ(series.YMin(), 7);
    EXPECT_EQ(series.YMax(), 7);
    EXPECT_FALSE(series.BoundsDirty());
}

TEST(DataSeries, OverwriteWidensButNeverNarrowsTheBoundsUntilUpdateBounds)
{
    TDataSeries series;
    series.AddPoint(1, 1);
    series.AddPoint(2, 5);
    series.AddPoint(2, 3);
    ASSERT_EQ(series.Count(), 2);
    EXPECT_EQ(series.Points()[1].Y, 3);
    EXPECT_EQ(series.YMax(), 5);
    EXPECT_FALSE(series.BoundsDirty());
    series.UpdateBounds();
    EXPECT_EQ(series.YMax(), 3);
}

TEST(DataSeries, DuplicatesGoAfterTheLastOrInFrontOfTheFirstEqualX)
{
    TDataSeries series;
    series.SetDuplicatesAllowed(true);
    series.AddPoint(1, 1);
    series.AddPoint(2, 5);
    series.AddPoint(2, 3);
    EXPECT_EQ(XsOf(series), (std::vector<double>{1, 2, 2}));
    EXPECT_EQ(IdsOf(series), (std::vector<int32_t>{1, 2, 3}));

    series.AddPoint(3, 0);
    series.AddPoint(2, 9);
    EXPECT_EQ(XsOf(series), (std::vector<double>{1, 2, 2, 2, 3}));
    EXPECT_EQ(IdsOf(series), (std::vector<int32_t>{1, 5, 2, 3, 4}));
}

TEST(DataSeries, PointsWithinTheToleranceOverwriteWhetherAppendedOrInserted)
{
    TDataSeries series;
    series.SetNumericalTolerance(0.1);
    series.AddPoint(1.0, 1);
    series.AddPoint(1.05, 2);
    ASSERT_EQ(series.Count(), 1);
    EXPECT_EQ(series.Points()[0].X, 1.05);
    series.AddPoint(0.97, 3);
    ASSERT_EQ(series.Count(), 1);
    EXPECT_EQ(series.Points()[0].X, 0.97);
    EXPECT_EQ(series.Points()[0].Y, 3);
    EXPECT_EQ(series.Points()[0].Id, 1);
}

TEST(DataSeries, AutoZeroFollowsTheSmallestY)
{
    TDataSeries series;
    series.SetAutoZero(true);
    series.AddPoint(1, 5);
    EXPECT_EQ(series.ZeroValue(), 5);
    series.AddPoint(2, 3);
    EXPECT_EQ(series.ZeroValue(), 3);
    EXPECT_TRUE(series.BoundsDirty());
    series.AddPoint(3, 4);
    series.UpdateBounds();
    EXPECT_EQ(series.YMin(), 0);
    EXPECT_EQ(series.YMax(), 2);
}

TEST(DataSeries, SettingZeroValueByHandEndsAutoZeroEvenWithTheSameValue)
{
    std::vector<int32_t> kinds; // outlives the series, which reports its end to it
    TDataSeries series;
    series.SetListener(&kinds, [&](TDataSeries&, int32_t kind) { kinds.push_back(kind); });
    series.SetAutoZero(true);
    series.AddPoint(1, 5);
    kinds.clear();

    series.SetZeroValue(5);
    EXPECT_FALSE(series.AutoZero());
    EXPECT_EQ(kinds, (std::vector<int32_t>{TDataSeries::kChangeZero}));
    series.SetZeroValue(5);
    EXPECT_EQ(kinds.size(), 1u);
}

TEST(DataSeries, EveryPointBeyondTheLimitIsReportedAndKept)
{
    TDataSeries series;
    int reports = 0;
    series.SetOnPointLimit([&](TDataSeries&) { ++reports; });
    for (int i = 0; i < 30000; ++i)
        series.AddPoint(i, 0);
    EXPECT_EQ(reports, 0);
    series.AddPoint(30000, 0);
    series.AddPoint(30001, 0);
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(series.Count(), 30002);

    series.SetMaxPoints(0);
    series.AddPoint(30002, 0);
    EXPECT_EQ(reports, 2);
}

TEST(DataSeries, ClearRestartsIdsAndForgetsTheStatisticsOfThePointsThatWent)
{
    TDataSeries series;
    series.SetRegressionType(1);
    for (int i = 1; i <= 4; ++i)
        series.AddPoint(i, 2 * i);
    EXPECT_EQ(series.GetXStats().Count, 4);
    EXPECT_DOUBLE_EQ(series.GetCompStats().Slope, 2.0);

    series.Clear();
    EXPECT_EQ(series.Count(), 0);
    EXPECT_EQ(series.GetXStats().Count, 0);
    EXPECT_EQ(series.GetXStats().Sum, 0);
    EXPECT_TRUE(series.GetCompStats().Failed);
    EXPECT_TRUE(series.BoundsDirty());

    series.AddPoint(7, 1);
    EXPECT_EQ(series.Points()[0].Id, 1);
}

TEST(DataSeries, SwitchingDuplicatesOffCollapsesRunsIntoTheirFirstPoint)
{
    std::vector<int32_t> kinds; // outlives the series, which reports its end to it
    TDataSeries series;
    series.SetNumericalTolerance(0.1);
    series.SetDuplicatesAllowed(true);
    for (const double x : {1.0, 1.05, 1.08, 1.2})
        series.AddPoint(x, x);
    ASSERT_EQ(series.Count(), 4);
    EXPECT_EQ(series.GetXStats().Count, 4);
    series.SetListener(&kinds, [&](TDataSeries&, int32_t kind) { kinds.push_back(kind); });

    series.SetDuplicatesAllowed(false);
    EXPECT_EQ(XsOf(series), (std::vector<double>{1.0, 1.2}));
    EXPECT_EQ(kinds, (std::vector<int32_t>{TDataSeries::kChangePoints}));
    EXPECT_TRUE(series.RegressionDirty());
    EXPECT_EQ(series.GetXStats().Count, 2);
}

TEST(DataSeries, ListenersHearEachKindInOrderAndTheDestructionLast)
{
    std::vector<std::pair<char, int32_t>> heard;
    int owner1 = 0, owner2 = 0, owner3 = 0;
    {
        TDataSeries series;
        series.SetListener(&owner1, [&](TDataSeries&, int32_t kind) { heard.emplace_back('a', kind); });
        series.SetListener(&owner2, [&](TDataSeries&, int32_t kind) { heard.emplace_back('b', kind); });
        series.SetListener(&owner3, [&](TDataSeries&, int32_t kind) { heard.emplace_back('c', kind); });
        series.SetListener(&owner1, [&](TDataSeries&, int32_t kind) { heard.emplace_back('A', kind); });
        series.SetListener(&owner3, nullptr);

        series.AddPoint(1, 1);
        series.SetAutoZero(true);
        series.SetRegressionControlValue2(0.25);
        series.SetRegressionControlValue2(0.25);
    }
    const std::vector<std::pair<char, int32_t>> expected = {{'A', 1}, {'b', 1}, {'A', 2}, {'b', 2},
                                                            {'A', 4}, {'b', 4}, {'A', 0}, {'b', 0}};
    EXPECT_EQ(heard, expected);
}

// The store as first described: a chain walked from its first point. The real store
// bisects while its points are sorted; both must agree on every sequence of calls.
class TReferenceChain {
public:
    double Tolerance = 0.0;
    bool Duplicates = false;
    std::list<TDataPoint> Points;
    int32_t LastId = 0;

    void Add(double x, double y)
    {
        if (Points.empty()) {
            Points.push_back({++LastId, x, y, 0});
        } else if (!(x < Points.back().X)) {
            if (Duplicates || x - Tolerance > Points.back().X)
                Points.push_back({++LastId, x, y, 0});
            else
                Points.back().X = x, Points.back().Y = y;
        } else {
            auto q = Points.begin();
            while (x - Tolerance > q->X)
                ++q;
            if (Duplicates || std::fabs(q->X - x) > Tolerance)
                Points.insert(q, {++LastId, x, y, 0});
            else
                q->X = x, q->Y = y;
        }
    }
};

void ExpectSame(const TReferenceChain& reference, const TDataSeries& series)
{
    ASSERT_EQ(static_cast<std::size_t>(series.Count()), reference.Points.size());
    auto expected = reference.Points.begin();
    for (const TDataPoint& point : series.Points()) {
        ASSERT_EQ(point.Id, expected->Id);
        ASSERT_EQ(point.X, expected->X);
        ASSERT_EQ(point.Y, expected->Y);
        ++expected;
    }
}

TEST(DataSeries, ShuffledInsertsKeepOrderIdsAndCount)
{
    std::vector<int> order(5000);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    TDataSeries series;
    series.SetMaxPoints(0);
    std::map<double, int32_t> idOf;
    for (std::size_t i = 0; i < order.size(); ++i) {
        series.AddPoint(order[i] * 0.5, -order[i]);
        idOf[order[i] * 0.5] = static_cast<int32_t>(i + 1);
    }
    ASSERT_EQ(series.Count(), 5000);
    const auto points = series.Points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].X, i * 0.5);
        ASSERT_EQ(points[i].Y, -static_cast<double>(i));
        ASSERT_EQ(points[i].Id, idOf[points[i].X]);
    }
}

TEST(DataSeries, AgreesWithTheChainWalkOnRandomCallsWithToleranceAndDuplicates)
{
    std::mt19937 random(11);
    for (int round = 0; round < 60; ++round) {
        TReferenceChain reference;
        TDataSeries series;
        series.SetMaxPoints(0);
        const double tolerance = (round % 3) * 0.3;
        const bool duplicates = round % 2 == 1;
        reference.Tolerance = tolerance;
        reference.Duplicates = duplicates;
        series.SetNumericalTolerance(tolerance);
        series.SetDuplicatesAllowed(duplicates);
        std::uniform_int_distribution<int> coarse(0, 40);
        for (int i = 0; i < 400; ++i) {
            // Coarse x values so that equal and close values are common; some
            // points arrive in ascending runs, as a file would bring them.
            const double x = (i % 50 < 20) ? i * 0.25 : coarse(random) * 0.25;
            reference.Add(x, i);
            series.AddPoint(x, i);
        }
        ExpectSame(reference, series);
    }
}

}  // namespace
