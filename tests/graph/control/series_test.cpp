#include <gtest/gtest.h>

#include "counting_zemplot.h"
#include "graph/control/series.h"
#include "tests/support/rows_supplier.h"

TEST(SeriesTest, LookDependsOnTheNumber)
{
    TZemplot graph;
    const TSeries& first = graph.Series(1);
    EXPECT_EQ(first.SeriesName(), "Series 1");
    EXPECT_EQ(first.LineColor(), clGreen);
    EXPECT_EQ(first.PointShape(), kShapeSquare);
    EXPECT_TRUE(first.FillPoints());
    EXPECT_EQ(&first.Axis(), &graph.YAxis());

    const TSeries& fifth = graph.Series(5);
    EXPECT_EQ(fifth.LineColor(), 0x000080u);
    EXPECT_EQ(fifth.PointColor(), 0x000080u);
    EXPECT_EQ(fifth.PointShape(), kShapeSquare);
    EXPECT_EQ(fifth.LineStyle(), psDashDotDot);
    EXPECT_FALSE(fifth.FillPoints());

    const TSeries& seventh = graph.Series(7);
    EXPECT_EQ(seventh.LineColor(), clGreen);
    EXPECT_EQ(seventh.PointShape(), kShapeCircle);
    EXPECT_EQ(seventh.LineStyle(), psSolid);
    EXPECT_FALSE(seventh.FillPoints());
    EXPECT_TRUE(graph.Series(0).FillPoints());
}

TEST(SeriesTest, SymbolSizesStayEvenExceptForTheStepLine)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.SetPointSize(5);
    EXPECT_EQ(series.PointSize(), 6);
    series.SetPointSize(1);
    EXPECT_EQ(series.PointSize(), 2);
    series.SetPointShape(kShapeStepLine);
    series.SetPointSize(5);
    EXPECT_EQ(series.PointSize(), 5);
    series.SetPointShape(kShapeSquare);
    EXPECT_EQ(series.PointSize(), 6);
}

TEST(SeriesTest, HiddenSettingsAreStoredWithoutARepaint)
{
    TCountingZemplot graph;
    TSeries& series = graph.Series(1);
    graph.Paints = 0;
    series.SetUpperBound(3);
    series.SetRegressionLineColor(clBlack);
    EXPECT_EQ(series.UpperBound(), 3);
    EXPECT_EQ(graph.Paints, 0);
    series.SetBoundsMode(1);
    series.SetLowerBound(-1);
    EXPECT_EQ(graph.Paints, 2);
    series.SetLowerBound(-1); // unchanged
    EXPECT_EQ(graph.Paints, 2);
}

TEST(SeriesTest, UpdatingHoldsBackChangesIntoOneRepaint)
{
    TCountingZemplot graph;
    TSeries& series = graph.Series(1);
    graph.Paints = 0;
    series.SetUpdating(true);
    series.SetLineColor(1);
    series.SetPointColor(2);
    series.SetBoundLineColor(3);
    series.AddPoint(1, 1);
    EXPECT_EQ(graph.Paints, 0);
    series.SetUpdating(false);
    EXPECT_EQ(graph.Paints, 1);

    // Nothing held back, nothing to pass on.
    series.SetUpdating(true);
    series.SetUpdating(false);
    EXPECT_EQ(graph.Paints, 1);
}

TEST(SeriesTest, FillingFromTheSourceRepaintsOnce)
{
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 50; ++i)
        rows.push_back({std::to_string(i), std::to_string(i * i)});
    SetSupplierFactory([&](const TSourceSettings&) { return std::make_unique<TRowsSupplier>(rows); });
    TCountingZemplot graph;
    TSeries& series = graph.Series(1);
    series.SetDataSource(1);
    series.SetFileHasHeaders(0);
    graph.Paints = 0;
    series.LoadFromSource();
    SetSupplierFactory({});
    EXPECT_EQ(series.Count(), 50);
    EXPECT_EQ(graph.Paints, 1);
    EXPECT_FALSE(series.Updating());
}

TEST(SeriesTest, ChangesRepaintOnlyWhilePlotting)
{
    TCountingZemplot graph;
    TSeries& series = graph.Series(1);
    graph.SetPlotting(false);
    graph.Paints = 0;
    series.AddPoint(1, 2);
    series.SetActive(false);
    EXPECT_EQ(graph.Paints, 0);
}

TEST(SeriesTest, PointsBeyondTheLimitAreReportedWithTheNumber)
{
    TZemplot graph;
    TSeries& series = graph.Series(4);
    graph.SetPlotting(false);
    series.SetMaxPoints(2);
    std::vector<int32_t> reported;
    graph.SetOnTooManyPoints([&](TSeriesEventSender sender, int32_t index) {
        EXPECT_EQ(std::get<TZemplot*>(sender), &graph);
        reported.push_back(index);
    });
    for (int i = 0; i < 4; ++i)
        series.AddPoint(i, i);
    EXPECT_EQ(reported, (std::vector<int32_t>{4, 4}));
}

TEST(SeriesTest, DeletingASeriesUnlinksItAndSaysSo)
{
    std::vector<int32_t> deleted; // outlives the graph, whose end deletes the others
    TZemplot graph;
    graph.Series(1);
    TSeries& second = graph.Series(2);
    graph.Series(3);
    graph.SetOnDeleteSeries([&](TSeriesEventSender sender, int32_t index) {
        EXPECT_EQ(std::get<TSeries*>(sender)->Number(), index);
        deleted.push_back(index);
    });
    delete &second;
    EXPECT_EQ(graph.FirstSeries()->Next()->Number(), 3);
    EXPECT_EQ(deleted, std::vector<int32_t>{2});
}
