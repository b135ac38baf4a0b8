#include <gtest/gtest.h>

#include <algorithm>

#include "graph/control/zemplot.h"
#include "recording_canvas.h"

namespace {

TRecordingCanvas Record(TZemplot& graph)
{
    TRecordingCanvas canvas;
    graph.DrawOn(canvas, canvas, 200, 200);
    return canvas;
}

bool IsSegment(const TRecordedCall& line, TPoint from, TPoint to)
{
    return line.Points[0] == from && line.Points[1] == to;
}

bool HasSegment(const std::vector<TRecordedCall>& lines, TPoint from, TPoint to)
{
    return std::any_of(lines.begin(), lines.end(), [&](const TRecordedCall& l) { return IsSegment(l, from, to); });
}

std::vector<TRecordedCall> VerticalGridLines(const TRecordingCanvas& canvas)
{
    std::vector<TRecordedCall> vertical;
    for (const TRecordedCall& line : canvas.LinesIn(clSilver))
        if (line.Points[0].X == line.Points[1].X)
            vertical.push_back(line);
    return vertical;
}

std::vector<int32_t> StartXs(const std::vector<TRecordedCall>& calls)
{
    std::vector<int32_t> xs;
    for (const TRecordedCall& call : calls)
        xs.push_back(call.Points[0].X);
    return xs;
}

}  // namespace

TEST(GraphPaintingTest, DefaultFrameOnA200By200Control)
{
    TZemplot graph;
    const TRecordingCanvas canvas = Record(graph);

    const auto rectangles = canvas.Of("Rectangle");
    ASSERT_GE(rectangles.size(), 2u);
    EXPECT_EQ(rectangles[0].Points, (std::vector<TPoint>{{0, 0}, {200, 200}}));
    EXPECT_EQ(rectangles[1].Points, (std::vector<TPoint>{{40, 30}, {185, 160}}));

    const auto axisLines = canvas.LinesIn(clBlack);
    EXPECT_TRUE(HasSegment(axisLines, {40, 160}, {185, 160}));
    EXPECT_TRUE(HasSegment(axisLines, {40, 30}, {40, 160}));
    for (int32_t x : {40, 69, 98, 127, 156, 185})
        EXPECT_TRUE(HasSegment(axisLines, {x, 160}, {x, 164})) << x;

    // Vertical grid lines at 0.2 ... 1.0, dotted; none at 0 where the axis line is.
    const auto vertical = VerticalGridLines(canvas);
    EXPECT_EQ(StartXs(vertical), (std::vector<int32_t>{69, 98, 127, 156, 185}));
    EXPECT_EQ(vertical[0].State.PenStyle, psDot);
    EXPECT_TRUE(IsSegment(vertical[0], {69, 160}, {69, 30}));

    const TRecordedCall* first = canvas.TextCall("0.0");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Points[0].Y, 166);
    const TRecordedCall* title = canvas.TextCall("X axis");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Points[0].Y, 160 + 4 + 4 + 12); // below the labels
    EXPECT_NE(canvas.TextCall("Zemplot 3.01"), nullptr);
    const TRecordedCall* yTitle = canvas.TextCall("Y axis");
    ASSERT_NE(yTitle, nullptr);
    EXPECT_EQ(yTitle->Font.Escapement, 900);
    // The hidden second axis shows nothing.
    EXPECT_EQ(canvas.TextCall("Second Y axis"), nullptr);
}

TEST(GraphPaintingTest, HiddenAxisDrawsItsGridButKeepsItsStep)
{
    TZemplot graph;
    graph.XAxis().SetShowAxis(false);
    graph.XAxis().SetStepSize(0.001); // far too fine: the drawing steps coarser
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_EQ(VerticalGridLines(canvas).size(), 5u);
    EXPECT_EQ(canvas.TextCall("X axis"), nullptr);
    for (const TRecordedCall& text : canvas.Of("TextOut"))
        EXPECT_NE(text.Points[0].Y, 166) << text.Text; // no x labels
    EXPECT_FALSE(HasSegment(canvas.LinesIn(clBlack), {40, 160}, {185, 160}));
    EXPECT_EQ(graph.XAxis().StepSize(), 0.001);
}

TEST(GraphPaintingTest, ReversedXAxisPutsTicksAndLabelsAbove)
{
    TZemplot graph;
    graph.XAxis().SetReversed(true);
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_TRUE(HasSegment(canvas.LinesIn(clBlack), {69, 160}, {69, 156}));
    const TRecordedCall* label = canvas.TextCall("0.2");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Points[0].Y + 12, 160 - 4 - 2);
}

TEST(GraphPaintingTest, DateAxisCoarsensItsTicksUntilFewEnough)
{
    TZemplot graph;
    graph.XAxis().SetMax(102); // two days from 9 April 1900
    graph.XAxis().SetMin(100);
    graph.XAxis().SetShowAsTime(true);
    graph.XAxis().SetDateTickType(dt_minute);
    const TRecordingCanvas canvas = Record(graph);
    // Minutes, five minutes and half hours give more than 50 steps; hours give 48.
    EXPECT_EQ(graph.XAxis().DateTickType(), dt_hourly);
    EXPECT_NE(canvas.TextCall("09-Apr"), nullptr);
    EXPECT_NE(canvas.TextCall("11-Apr"), nullptr);
}

TEST(GraphPaintingTest, PercentageOffsetPutsTheYAxisInTheMiddle)
{
    TZemplot graph;
    graph.YAxis().SetOffsetType(ao_percentage);
    graph.YAxis().SetOffset(50);
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_TRUE(HasSegment(canvas.LinesIn(clBlack), {graph.XToScreen(0.5), 30}, {graph.XToScreen(0.5), 160}));
}

TEST(GraphPaintingTest, AnInvalidAxisShowsItsCaptionAndNoData)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.AddPoint(0.5, 0.5);
    series.SetShowInLegend(1);
    graph.Legend().Setvisible(true);
    graph.YAxis().SetMin(1); // Min = Max

    const TRecordingCanvas canvas = Record(graph);
    EXPECT_FALSE(graph.ScalesValid());
    const TRecordedCall* caption = canvas.TextCall("MAX/MIN VALUES INCONSISTENT");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Font.Escapement, 900);
    EXPECT_EQ(canvas.TextCall("Y axis"), nullptr);
    EXPECT_TRUE(canvas.Of("Polyline").empty());
    EXPECT_TRUE(canvas.Of("Polygon").empty());
    EXPECT_TRUE(canvas.LinesIn(clRed).empty()); // no cross
    EXPECT_EQ(canvas.TextCall("Series 1"), nullptr);
    // With the first y axis invalid, the x axis lies on the plot's bottom edge.
    EXPECT_TRUE(HasSegment(canvas.LinesIn(clBlack), {40, 160}, {185, 160}));
}

TEST(GraphPaintingTest, HiddenSecondAxisThatCannotBeScaledStopsTheDataSilently)
{
    TZemplot graph;
    graph.Series(1).AddPoint(0.5, 0.5);
    graph.YAxis_Second().SetMin(1);
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_FALSE(graph.ScalesValid());
    EXPECT_EQ(canvas.TextCall("MAX/MIN VALUES INCONSISTENT"), nullptr);
    EXPECT_NE(canvas.TextCall("Y axis"), nullptr);
    EXPECT_TRUE(canvas.Of("Polygon").empty());
}

TEST(GraphPaintingTest, CrossAtTheOriginOnlyWhenItIsOnThePlot)
{
    TZemplot graph;
    auto cross = Record(graph).LinesIn(clRed);
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_TRUE(IsSegment(cross[0], {40, 164}, {40, 155}));
    EXPECT_TRUE(IsSegment(cross[1], {36, 160}, {45, 160}));

    graph.XAxis().SetMax(10);
    graph.XAxis().SetMin(1);
    EXPECT_TRUE(Record(graph).LinesIn(clRed).empty());
    graph.Appearance().SetPlotOffGraph(true);
    cross = Record(graph).LinesIn(clRed);
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_EQ(cross[0].Points[0].X, graph.XToScreen(0));
    EXPECT_LT(graph.XToScreen(0), 40);
}

TEST(GraphPaintingTest, LongLineIsDrawnInOverlappingChunks)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.SetMaxPoints(0);
    series.SetDrawPoints(false);
    series.SetUpdating(true);
    for (int i = 0; i < 40000; ++i)
        series.AddPoint(i / 40000.0, (i % 7) / 7.0);
    series.SetUpdating(false);

    const auto chunks = Record(graph).Of("Polyline");
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].Points.size(), 15000u);
    EXPECT_EQ(chunks[1].Points.size(), 15000u);
    EXPECT_EQ(chunks[2].Points.size(), 10002u);
    EXPECT_EQ(chunks[1].Points.front(), chunks[0].Points.back());
    EXPECT_EQ(chunks[2].Points.front(), chunks[1].Points.back());
    EXPECT_EQ(chunks[2].Points.back(), (TPoint{graph.XToScreen(39999 / 40000.0), graph.YToScreen((39999 % 7) / 7.0)}));
}

TEST(GraphPaintingTest, SeriesDrawsItsLinesInsideThePlotAndSymbolsAcrossIt)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.AddPoint(0.2, 0.2);
    series.AddPoint(1.0, 1.0);  // on the corner: drawn
    series.AddPoint(1.01, 0.5); // beyond Max: not drawn
    series.SetRegressionType(1);
    const TRecordingCanvas canvas = Record(graph);

    const auto clips = canvas.Of("ClipRect");
    ASSERT_GE(clips.size(), 2u);
    EXPECT_EQ(clips[0].Points, (std::vector<TPoint>{{40, 30}, {186, 161}}));
    EXPECT_EQ(clips[1].Points, (std::vector<TPoint>{{0, 0}, {201, 201}}));
    const auto lines = canvas.Of("Polyline");
    ASSERT_EQ(lines.size(), 2u); // regression, then the joining line
    EXPECT_EQ(lines[0].State.PenColor, 0x808080u);
    EXPECT_EQ(lines[0].State.PenStyle, psDot);
    EXPECT_EQ(lines[1].State.PenColor, clGreen);
    EXPECT_EQ(lines[1].Points.size(), 3u);

    const auto squares = canvas.Of("Polygon");
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[1].Points[0], (TPoint{185 - 2, 30 - 2}));
    EXPECT_EQ(squares[1].State.BrushColor, clGreen);
    EXPECT_EQ(squares[1].State.BrushStyle, bsSolid);

    // Off the plot too: no clipping, and the point beyond Max lands in the margin.
    graph.Appearance().SetPlotOffGraph(true);
    const TRecordingCanvas offGraph = Record(graph);
    EXPECT_TRUE(offGraph.Of("ClipRect").empty());
    EXPECT_EQ(offGraph.Of("Polygon").size(), 3u);
}

TEST(GraphPaintingTest, SingleGreyPointHasNoRegressionLine)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.AddPoint(0.5, 0.5);
    series.SetRegressionType(1);
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_EQ(canvas.Of("Polyline").size(), 1u); // the one-point joining line
    EXPECT_EQ(canvas.Of("Polygon").size(), 1u);
}

TEST(GraphPaintingTest, SymbolShapesAndTheStepLine)
{
    TZemplot graph;
    TSeries& series = graph.Series(1);
    series.SetDrawLine(false);
    series.AddPoint(0.2, 0.2);
    series.AddPoint(0.6, 0.4);
    series.SetPointShape(kShapeCircle);
    EXPECT_EQ(Record(graph).Of("Ellipse")[0].Points, (std::vector<TPoint>{{67, 132}, {71, 136}}));
    series.SetPointShape(kShapeDiamond);
    EXPECT_EQ(Record(graph).Of("Polygon")[0].Points, (std::vector<TPoint>{{69, 132}, {71, 134}, {69, 136}, {67, 134}}));
    series.SetPointShape(kShapePlus);
    auto plus = Record(graph).LinesIn(clGreen);
    EXPECT_TRUE(IsSegment(plus[0], {67, 134}, {71, 134}));
    EXPECT_TRUE(IsSegment(plus[1], {69, 132}, {69, 136}));

    series.SetPointShape(kShapeStepLine);
    series.SetPointSize(6);
    const auto steps = Record(graph).LinesIn(clGreen);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_TRUE(IsSegment(steps[0], {69, 134}, {127, 134}));
    EXPECT_TRUE(IsSegment(steps[1], {127, 108}, {185, 108})); // on to the axis's end
    EXPECT_EQ(steps[0].State.PenWidth, 3);
}

TEST(GraphPaintingTest, BoundLinesTakeTheFirstYAxisScale)
{
    TZemplot graph;
    graph.YAxis_Second().SetMax(10);
    TSeries& series = graph.Series(1);
    series.SetAxis(graph.YAxis_Second());
    series.AddPoint(0.2, 2);
    series.AddPoint(0.8, 8);
    series.SetUpperBound(0.5);
    series.SetBoundsMode(1);
    const auto bounds = Record(graph).LinesIn(clBlack);
    const TPoint from{graph.XToScreen(0.2), graph.YToScreen(0.5)};
    const TPoint to{graph.XToScreen(0.8), graph.YToScreen(0.5)};
    EXPECT_TRUE(HasSegment(bounds, from, to));
    EXPECT_EQ(graph.YToScreen(0.5), 95);
}

TEST(GraphPaintingTest, LegendEntriesShareTheWidth)
{
    TZemplot graph;
    graph.Legend().Setvisible(true);
    for (int n = 1; n <= 3; ++n)
        graph.Series(n).SetShowInLegend(1);
    TRecordingCanvas canvas = Record(graph);
    EXPECT_EQ(canvas.TextCall("Series 2")->Points[0].X - canvas.TextCall("Series 1")->Points[0].X, 53);

    graph.Series(3).SetShowInLegend(0);
    canvas = Record(graph);
    EXPECT_EQ(canvas.TextCall("Series 1")->Points[0], (TPoint{42, 15}));
    EXPECT_EQ(canvas.TextCall("Series 2")->Points[0].X, 42 + 80);
    EXPECT_EQ(canvas.TextCall("Series 3"), nullptr);
}

TEST(GraphPaintingTest, LegendEntryShowsLineAndSymbolAsAsked)
{
    TZemplot graph;
    graph.Legend().Setvisible(true);
    TSeries& series = graph.Series(1);
    series.SetShowInLegend(4);
    const TRecordingCanvas canvas = Record(graph);
    // Line sample from the entry's corner across the symbol space, at half the text height.
    EXPECT_TRUE(HasSegment(canvas.LinesIn(clGreen), {20, 21}, {40, 21}));
    EXPECT_EQ(canvas.Of("Polygon").back().Points[0], (TPoint{30 - 2, 21 - 2}));

    series.SetShowInLegend(3);
    series.SetDrawLine(false);
    EXPECT_TRUE(Record(graph).LinesIn(clGreen).empty());
}

TEST(GraphPaintingTest, UprightLineMarkHasItsCaptionTurnedAQuarter)
{
    TZemplot graph;
    graph.Appearance().SetShowMarks(true);
    graph.SetMark(1, 0.5, 0.2, 0.5, 0.8, clRed, "rising", kMarkLine, true);
    graph.SetMark(2, 0.1, 0.1, 0.9, 0.9, clRed, "slope", kMarkLine, false);
    const TRecordingCanvas canvas = Record(graph);
    const TRecordedCall* upright = canvas.TextCall("rising");
    ASSERT_NE(upright, nullptr);
    EXPECT_EQ(upright->Font.Escapement, 900);
    // The caption stands off the line by the font's size in points plus 5.
    EXPECT_EQ(upright->Points[0], (TPoint{graph.XToScreen(0.5) - 12, graph.YToScreen(0.2)}));
    EXPECT_EQ(upright->State.Font.Color, clRed);
    const TRecordedCall* slope = canvas.TextCall("slope");
    ASSERT_NE(slope, nullptr);
    EXPECT_GT(slope->Font.Escapement, 0);
    EXPECT_LT(slope->Font.Escapement, 900);
    // Marks before the series come first in the drawing.
    EXPECT_LT(slope, upright);
}

TEST(GraphPaintingTest, MarksDrawOnlyWhenShown)
{
    TZemplot graph;
    constexpr TColor lime = 0x00FF00;
    graph.SetMark(1, 0.5, 0.5, 4, 0, lime, "box", kMarkBox, false);
    EXPECT_EQ(Record(graph).TextCall("box"), nullptr);
    graph.Appearance().SetShowMarks(true);
    const TRecordingCanvas canvas = Record(graph);
    const auto boxes = canvas.Of("Rectangle");
    const TPoint centre{graph.XToScreen(0.5), graph.YToScreen(0.5)};
    EXPECT_EQ(boxes.back().Points, (std::vector<TPoint>{{centre.X - 4, centre.Y - 4}, {centre.X + 4, centre.Y + 4}}));
    EXPECT_EQ(boxes.back().State.PenColor, lime);
    EXPECT_EQ(boxes.back().State.BrushStyle, bsClear);
    EXPECT_EQ(canvas.TextCall("box")->Points[0], (TPoint{centre.X - 4, centre.Y + 4}));
}

TEST(GraphPaintingTest, LogErrorOncePerPaintAndTheSeriesIsSkipped)
{
    TZemplot graph;
    graph.XAxis().SetMax(100);
    graph.XAxis().SetMin(1);
    graph.XAxis().SetLogScale(true);
    TSeries& series = graph.Series(2);
    series.AddPoint(-1, 0.5);
    series.AddPoint(10, 0.5);
    std::vector<int32_t> errors;
    graph.SetOnLogError([&](TSeriesEventSender sender, int32_t index) {
        EXPECT_EQ(std::get<TSeries*>(sender), &series);
        errors.push_back(index);
    });
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_EQ(errors, std::vector<int32_t>{2});
    EXPECT_TRUE(canvas.Of("Polyline").empty());
    graph.Paint();
    EXPECT_EQ(errors.size(), 2u);
}

TEST(GraphPaintingTest, PlottingOffDrawsTheFrameOnly)
{
    TZemplot graph;
    graph.Series(1).AddPoint(0.5, 0.5);
    graph.SetPlotting(false);
    int paintEnds = 0;
    graph.SetOnPaintEnd([&](TZemplot&, TCanvas&) { ++paintEnds; });
    const TRecordingCanvas canvas = Record(graph);
    EXPECT_NE(canvas.TextCall("X axis"), nullptr);
    // The cross is drawn before the switch is looked at.
    EXPECT_FALSE(canvas.LinesIn(clRed).empty());
    EXPECT_TRUE(canvas.Of("Polygon").empty());
    EXPECT_EQ(paintEnds, 0);
}
